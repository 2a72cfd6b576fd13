#pragma once
// HTTP requests. The callback runs once per request, on a thread from which game
// functions may be called.
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace API {

using RequestCallback =
    std::function<void(bool success, std::string body, std::unordered_map<std::string, std::string> headers)>;

class IRequestsImpl {
 public:
  virtual ~IRequestsImpl() = default;
  virtual bool CreatePostRequest(const std::string& url, const RequestCallback& callback, const std::string& body,
                                 const std::string& contentType, const std::vector<std::string>& headers) = 0;
};

class Requests {
 public:
  static Requests& Get();
  bool CreatePostRequest(const std::string& url, const RequestCallback& callback, const std::string& body,
                         const std::string& contentType = "text/plain", std::vector<std::string> headers = {});
};

}  // namespace API
