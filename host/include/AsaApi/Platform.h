#pragma once
// What the operating system tells a process: its command line and the time.
#include <cstdint>
#include <string>

namespace host {
// The process command line as one text, as the platform hands it out.
std::u16string GetProcessCommandLine();
// Unix time in seconds: the system clock plus what the host moved it forward by.
int64_t NowUnixSeconds();
// The same clock in milliseconds.
int64_t NowUnixMillis();
}  // namespace host
