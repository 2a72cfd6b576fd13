#pragma once
// Collects what the plugin's logger writes while it lives: one string per line,
// as "[level] text".
#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <spdlog/sinks/ostream_sink.h>

#include "core/Log.h"

class LogCapture {
 public:
  LogCapture() : sink_(std::make_shared<spdlog::sinks::ostream_sink_st>(stream_)) {
    sink_->set_pattern("[%l] %v");
    TandorShop::Log().sinks().push_back(sink_);
  }
  ~LogCapture() {
    auto& sinks = TandorShop::Log().sinks();
    sinks.erase(std::remove(sinks.begin(), sinks.end(), sink_), sinks.end());
  }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(stream_.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

 private:
  std::ostringstream stream_;
  std::shared_ptr<spdlog::sinks::ostream_sink_st> sink_;
};
