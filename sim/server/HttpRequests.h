#pragma once
// HTTP POST requests with cpp-httplib. A routing table can send a host name to a
// local address. Completions run on the game thread.
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "AsaApi/Requests.h"

namespace sim {

class GameServer;

class HttpRequests final : public API::IRequestsImpl {
 public:
  explicit HttpRequests(GameServer& server) : server_(server) {}
  ~HttpRequests() override;

  bool CreatePostRequest(const std::string& url, const API::RequestCallback& callback, const std::string& body,
                         const std::string& contentType, const std::vector<std::string>& headers) override;
  void Route(const std::string& host, const std::string& address);
  // Requests sent whose answer has not come yet.
  std::size_t InFlight();

 private:
  GameServer& server_;
  std::mutex mutex_;
  std::map<std::string, std::string> routes_;
  struct Request {
    std::thread Thread;
    std::shared_ptr<std::atomic<bool>> Done;
  };
  // Joins the threads of requests that completed.
  void ReapFinished();
  std::vector<Request> requests_;
};

}  // namespace sim
