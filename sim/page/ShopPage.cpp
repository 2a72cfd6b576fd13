#include "sim/page/ShopPage.h"

#include <chrono>
#include <cstdint>
#include <fstream>
#include <future>
#include <map>
#include <sstream>

#include "sim/server/LoopbackHttpServer.h"
#include "sim/server/Server.h"

namespace sim {
namespace {

using nlohmann::json;

constexpr auto kGameThreadWait = std::chrono::seconds(5);

// The page's files, read from the source tree at each request.
struct StaticFile {
  const char* Name;
  const char* ContentType;
};
const std::map<std::string, StaticFile>& Files() {
  static const std::map<std::string, StaticFile> files{{"/", {"index.html", "text/html; charset=utf-8"}},
                                                       {"/index.html", {"index.html", "text/html; charset=utf-8"}},
                                                       {"/shop.css", {"shop.css", "text/css; charset=utf-8"}},
                                                       {"/shop.js", {"shop.js", "text/javascript; charset=utf-8"}}};
  return files;
}

void Reply(httplib::Response& response, int status, const json& body) {
  response.status = status;
  response.set_header("Cache-Control", "no-store");
  response.set_content(body.dump(), "application/json");
}

void ReplyError(httplib::Response& response, int status, const std::string& error) {
  Reply(response, status, json{{"error", error}});
}

int32_t IntField(const json& body, const char* name) {
  const auto found = body.find(name);
  if (found == body.end() || found->is_null()) return 0;
  if (!found->is_number_integer()) throw std::invalid_argument(std::string(name) + " is not a whole number");
  const int64_t value = found->get<int64_t>();
  if (value < INT32_MIN || value > INT32_MAX) throw std::invalid_argument(std::string(name) + " is out of range");
  return static_cast<int32_t>(value);
}

}  // namespace

ShopPage::ShopPage(Server& server, uint16_t port)
    : server_(server), http_(std::make_unique<LoopbackHttpServer>(port, 8)) {
  http_->Http().set_keep_alive_timeout(1);
  Route();
  http_->Start();
}

ShopPage::~ShopPage() {
  stopping_ = true;
  http_.reset();
}

uint16_t ShopPage::Port() const { return http_->Port(); }

json ShopPage::OnGameThread(std::function<json()> work) {
  auto promise = std::make_shared<std::promise<json>>();
  std::future<json> result = promise->get_future();
  server_.PostToGameThread([promise, work = std::move(work)] {
    try {
      promise->set_value(work());
    } catch (...) {
      promise->set_exception(std::current_exception());
    }
  });
  const auto deadline = std::chrono::steady_clock::now() + kGameThreadWait;
  while (result.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
    if (stopping_ || std::chrono::steady_clock::now() > deadline)
      throw std::runtime_error("the game loop did not answer");
  return result.get();
}

void ShopPage::Route() {
  httplib::Server& http = http_->Http();
  for (const auto& [path, file] : Files()) {
    http.Get(path, [file = file](const httplib::Request&, httplib::Response& response) {
      std::ifstream in(std::string(TANDORSHOP_WEB_DIR) + "/" + file.Name, std::ios::binary);
      if (!in) return ReplyError(response, 500, std::string("missing page file ") + file.Name);
      std::ostringstream content;
      content << in.rdbuf();
      response.set_header("Cache-Control", "no-store");
      response.set_content(content.str(), file.ContentType);
    });
  }
  Server& server = server_;
  http.Get("/api/players", [this, &server](const httplib::Request&, httplib::Response& response) {
    try {
      Reply(response, 200, OnGameThread([&server] { return shoppage::PlayersOnline(server); }));
    } catch (const std::exception& e) {
      ReplyError(response, 503, e.what());
    }
  });
  http.Get("/api/view", [this, &server](const httplib::Request& request, httplib::Response& response) {
    const std::string eosId = request.get_param_value("player");
    try {
      json page = OnGameThread([&server, eosId] { return shoppage::PageOf(server, eosId); });
      if (page.is_null()) return ReplyError(response, 404, "player " + eosId + " is not online");
      Reply(response, 200, page);
    } catch (const std::exception& e) {
      ReplyError(response, 503, e.what());
    }
  });
  http.Post("/api/send", [this, &server](const httplib::Request& request, httplib::Response& response) {
    std::string eosId, action, text;
    int32_t intParam1 = 0, intParam2 = 0;
    try {
      const json body = json::parse(request.body);
      eosId = body.at("player").get<std::string>();
      action = body.at("action").get<std::string>();
      text = body.value("text", "");
      intParam1 = IntField(body, "int1");
      intParam2 = IntField(body, "int2");
    } catch (const std::exception& e) {
      return ReplyError(response, 400, std::string("bad request: ") + e.what());
    }
    try {
      const json error = OnGameThread([&server, eosId, action, intParam1, intParam2, text] {
        return json(shoppage::Send(server, eosId, action, intParam1, intParam2, text));
      });
      if (!error.get<std::string>().empty()) return ReplyError(response, 400, error.get<std::string>());
      Reply(response, 200, json{{"sent", action}});
    } catch (const std::exception& e) {
      ReplyError(response, 503, e.what());
    }
  });
}

}  // namespace sim
