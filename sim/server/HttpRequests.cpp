#include "HttpRequests.h"

#include <httplib.h>

#include <algorithm>
#include <iterator>
#include <regex>
#include <unordered_map>

#include "sim/server/GameServer.h"

namespace sim {
namespace {

struct ParsedUrl {
  std::string Scheme;
  std::string Host;
  int Port = 0;
  std::string Path;
};

bool ParseUrl(const std::string& url, ParsedUrl& out) {
  static const std::regex pattern(R"(^(https?)://([^/:]+)(?::(\d+))?(/.*)?$)");
  std::smatch match;
  if (!std::regex_match(url, match, pattern)) return false;
  out.Scheme = match[1];
  out.Host = match[2];
  out.Port = match[3].matched ? std::stoi(match[3]) : (out.Scheme == "https" ? 443 : 80);
  out.Path = match[4].matched ? std::string(match[4]) : "/";
  return true;
}

httplib::Headers ToHeaders(const std::vector<std::string>& lines) {
  httplib::Headers headers;
  for (const std::string& line : lines) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string value = line.substr(colon + 1);
    value.erase(0, value.find_first_not_of(' '));
    headers.emplace(line.substr(0, colon), value);
  }
  return headers;
}

}  // namespace

HttpRequests::~HttpRequests() {
  std::vector<Request> requests;
  {
    std::lock_guard lock(mutex_);
    requests.swap(requests_);
  }
  for (Request& request : requests) request.Thread.join();
}

void HttpRequests::ReapFinished() {
  std::vector<Request> finished;
  {
    std::lock_guard lock(mutex_);
    auto done = std::partition(requests_.begin(), requests_.end(), [](const Request& r) { return !r.Done->load(); });
    std::move(done, requests_.end(), std::back_inserter(finished));
    requests_.erase(done, requests_.end());
  }
  for (Request& request : finished) request.Thread.join();
}

std::size_t HttpRequests::InFlight() {
  std::lock_guard lock(mutex_);
  return static_cast<std::size_t>(
      std::count_if(requests_.begin(), requests_.end(), [](const Request& r) { return !r.Done->load(); }));
}

void HttpRequests::Route(const std::string& host, const std::string& address) {
  std::lock_guard lock(mutex_);
  routes_[host] = address;
}

bool HttpRequests::CreatePostRequest(const std::string& url, const API::RequestCallback& callback,
                                     const std::string& body, const std::string& contentType,
                                     const std::vector<std::string>& headers) {
  ParsedUrl parsed;
  if (!ParseUrl(url, parsed)) return false;
  std::string target = parsed.Host + ":" + std::to_string(parsed.Port);
  bool routed = false;
  {
    std::lock_guard lock(mutex_);
    auto route = routes_.find(parsed.Host);
    if (route != routes_.end()) {
      target = route->second;
      routed = true;
    }
  }
  ReapFinished();
  GameServer* server = &server_;
  auto done = std::make_shared<std::atomic<bool>>(false);
  auto run = [server, target, routed, parsed, callback, body, contentType, headers, done] {
    bool success = false;
    std::string responseBody;
    std::unordered_map<std::string, std::string> responseHeaders;
    // No TLS here: an https address works only when routed to a local server.
    if (parsed.Scheme == "http" || routed) {
      httplib::Client client("http://" + target);
      client.set_connection_timeout(5);
      client.set_read_timeout(10);
      if (auto response = client.Post(parsed.Path, ToHeaders(headers), body, contentType)) {
        success = response->status >= 200 && response->status < 300;
        responseBody = response->body;
        for (const auto& [name, value] : response->headers) responseHeaders[name] = value;
      }
    }
    server->PostToGameThread([callback, success, responseBody, responseHeaders] {
      if (callback) callback(success, responseBody, responseHeaders);
    });
    *done = true;
  };
  std::lock_guard lock(mutex_);
  requests_.push_back({std::thread(std::move(run)), done});
  return true;
}

}  // namespace sim
