#pragma once
// What the plugin needs from the operating system, behind one small interface.
// Platform.cpp is the only file of the plugin that includes an operating-system
// header; it has a POSIX branch and a Windows branch.
#include <ctime>
#include <filesystem>
#include <string>

namespace TandorShop::Platform {

#ifdef _WIN32
using SocketHandle = unsigned long long;  // SOCKET
#else
using SocketHandle = int;  // a file descriptor
#endif

// The address of a function exported under this (decorated) name by any module
// already loaded into the process; null when none exports it.
void* FindLoadedExport(const char* exportName);

// The file path of the module (shared library or DLL) this code is part of;
// empty when it cannot be told. UTF-8.
std::string OwnModulePath();

// True when the socket has something to read, was closed by its peer, is in
// error or is not a socket: anything but a quiet, open connection.
bool SocketReadableOrClosed(SocketHandle socket);

// Puts `replacement` in place of `target` in one step: a reader sees the old
// content or the new, never a part. Works while another program holds `target`
// open, as long as it shares deletion (backup and copy tools do); `target` need
// not exist. False when it cannot be done; `replacement` is then left as it was.
bool ReplaceFileWith(const std::filesystem::path& target, const std::filesystem::path& replacement);

// The local calendar time of a moment, in the server's time zone; false when
// the moment cannot be converted. Safe on any thread.
bool LocalTime(std::time_t moment, std::tm& out);

}  // namespace TandorShop::Platform
