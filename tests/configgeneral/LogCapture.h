#pragma once
#include <spdlog/sinks/ringbuffer_sink.h>

#include <algorithm>
#include <memory>
#include <string>

#include "core/Log.h"

// Captures what the plugin logs while it lives.
class LogCapture {
 public:
  LogCapture() : sink_(std::make_shared<spdlog::sinks::ringbuffer_sink_mt>(256)) {
    sink_->set_pattern("[%l] %v");
    TandorShop::Log().sinks().push_back(sink_);
  }
  ~LogCapture() {
    auto& sinks = TandorShop::Log().sinks();
    sinks.erase(std::remove(sinks.begin(), sinks.end(), sink_), sinks.end());
  }
  std::size_t Count(const std::string& text) const {
    const auto lines = sink_->last_formatted();
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; }));
  }
  std::size_t Lines() const { return sink_->last_formatted().size(); }

 private:
  std::shared_ptr<spdlog::sinks::ringbuffer_sink_mt> sink_;
};
