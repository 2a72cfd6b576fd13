#include "sim/companions/WebServices.h"

#include <chrono>
#include <thread>

#include <nlohmann/json.hpp>

#include "sim/server/LoopbackHttpServer.h"

namespace sim {

VersionService::VersionService() : http_(std::make_unique<LoopbackHttpServer>(0)) {
  SetVersions(1.01, 1.0);
  http_->Http().Post(".*", [this](const httplib::Request&, httplib::Response& response) {
    std::lock_guard lock(mutex_);
    ++requests_;
    response.status = status_;
    response.set_content(body_, "application/json");
  });
  http_->Start();
}

VersionService::~VersionService() { http_.reset(); }

std::string VersionService::Address() const { return http_->Address(); }

void VersionService::SetAnswer(int status, std::string body) {
  std::lock_guard lock(mutex_);
  status_ = status;
  body_ = std::move(body);
}

void VersionService::SetVersions(double version, double minVersion) {
  SetAnswer(200, nlohmann::json{{"version", version}, {"min_version", minVersion}}.dump());
}

std::size_t VersionService::RequestCount() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

DiscordReceiver::DiscordReceiver(uint16_t port) : http_(std::make_unique<LoopbackHttpServer>(port)) {
  http_->Http().Post(".*", [this](const httplib::Request& request, httplib::Response& response) {
    {
      std::lock_guard lock(mutex_);
      received_.push_back({request.path, request.get_header_value("Content-Type"), request.body});
    }
    response.status = 204;
  });
  http_->Start();
}

DiscordReceiver::~DiscordReceiver() { http_.reset(); }

std::string DiscordReceiver::Address() const { return http_->Address(); }

std::vector<ReceivedWebhook> DiscordReceiver::Received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

bool DiscordReceiver::WaitFor(std::size_t count, int timeoutMs) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    if (Received().size() >= count) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return Received().size() >= count;
}

}  // namespace sim
