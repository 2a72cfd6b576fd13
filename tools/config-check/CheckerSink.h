#pragma once
// A log sink that prints every warning and error of the plugin's logger with
// the configuration entry it belongs to, and remembers whether the read of the
// file ended early.
#include <cstdio>
#include <mutex>
#include <string>

#include <spdlog/sinks/base_sink.h>

#include "config/CatalogueTrail.h"

class CheckerSink : public spdlog::sinks::base_sink<std::mutex> {
 public:
  explicit CheckerSink(std::FILE* out) : out_(out) {}

  int Warnings() const { return warnings_; }
  bool ReadEndedEarly() const { return endedEarly_; }

 protected:
  void sink_it_(const spdlog::details::log_msg& msg) override {
    if (msg.level < spdlog::level::warn) return;
    const std::string text(msg.payload.data(), msg.payload.size());
    const bool endsRead = text.rfind("Error in ShopConfig", 0) == 0;
    const std::string entry = endsRead ? ConfigHelper::FailedEntryTrail() : ConfigHelper::CurrentEntryTrail();
    ++warnings_;
    endedEarly_ = endedEarly_ || endsRead;
    std::fprintf(out_, "%s: %s%s%s\n", spdlog::level::to_string_view(msg.level).data(), entry.c_str(),
                 entry.empty() ? "" : ": ", text.c_str());
  }
  void flush_() override { std::fflush(out_); }

 private:
  std::FILE* out_;
  int warnings_ = 0;
  bool endedEarly_ = false;
};
