#include "sim/page/ShopPage.h"

#include <chrono>
#include <cstdint>
#include <fstream>
#include <future>
#include <map>
#include <sstream>

#include "sim/server/LoopbackHttpServer.h"
#include "sim/server/GameServer.h"

namespace sim {
namespace {

using nlohmann::json;

constexpr auto kGameThreadWait = std::chrono::seconds(5);
// A request the page sends is a few hundred bytes; nothing larger is read.
constexpr std::size_t kMaxBody = 16 * 1024;
// A client that stops sending or reading in the middle of a request is let go.
constexpr auto kReadTimeout = std::chrono::seconds(5);
constexpr auto kWriteTimeout = std::chrono::seconds(5);

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
  // Text from the game or the request may hold broken UTF-8: shown replaced, never thrown on.
  response.set_content(body.dump(-1, ' ', false, json::error_handler_t::replace), "application/json");
}

void ReplyError(httplib::Response& response, int status, const std::string& error) {
  Reply(response, status, json{{"error", error}});
}

// A refusal of the request's body, in words of our own (never a library's exception text).
struct BadRequest {
  std::string Reason;
};

int32_t IntField(const json& body, const char* name) {
  const auto found = body.find(name);
  if (found == body.end() || found->is_null()) return 0;
  if (!found->is_number_integer()) throw BadRequest{std::string(name) + " is not a whole number"};
  const bool fits = found->is_number_unsigned() ? found->get<uint64_t>() <= static_cast<uint64_t>(INT32_MAX)
                                                 : found->get<int64_t>() >= INT32_MIN && found->get<int64_t>() <= INT32_MAX;
  if (!fits) throw BadRequest{std::string(name) + " is out of range"};
  return static_cast<int32_t>(found->get<int64_t>());
}

std::string TextField(const json& body, const char* name, bool required) {
  const auto found = body.find(name);
  if (found == body.end() || found->is_null()) {
    if (required) throw BadRequest{std::string("missing ") + name};
    return {};
  }
  if (!found->is_string()) throw BadRequest{std::string(name) + " is not text"};
  return found->get<std::string>();
}

bool ValidUtf8(const std::string& text) {
  try {
    (void)json(text).dump();
    return true;
  } catch (const json::exception&) {
    return false;
  }
}

}  // namespace

ShopPage::ShopPage(GameServer& server, ClientMod& mod, uint16_t port)
    : server_(server), mod_(mod), http_(std::make_unique<LoopbackHttpServer>(port, 8)) {
  httplib::Server& http = http_->Http();
  http.set_keep_alive_timeout(1);
  http.set_payload_max_length(kMaxBody);
  http.set_read_timeout(kReadTimeout);
  http.set_write_timeout(kWriteTimeout);
  // What a handler did not foresee is answered without its text.
  http.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
    ReplyError(response, 500, "the page could not answer");
  });
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
  GameServer& server = server_;
  ClientMod& mod = mod_;
  http.Get("/api/players", [this, &server](const httplib::Request&, httplib::Response& response) {
    try {
      Reply(response, 200, OnGameThread([&server] { return shoppage::PlayersOnline(server); }));
    } catch (const std::exception& e) {
      ReplyError(response, 503, e.what());
    }
  });
  http.Get("/api/view", [this, &server, &mod](const httplib::Request& request, httplib::Response& response) {
    const std::string eosId = request.get_param_value("player");
    if (!ValidUtf8(eosId)) return ReplyError(response, 400, "bad request: the player is not valid UTF-8");
    try {
      json page = OnGameThread([&server, &mod, eosId] { return shoppage::PageOf(server, mod, eosId); });
      if (page.is_null()) return ReplyError(response, 404, "player " + eosId + " is not online");
      Reply(response, 200, page);
    } catch (const std::exception& e) {
      ReplyError(response, 503, e.what());
    }
  });
  http.Post("/api/send", [this, &server, &mod](const httplib::Request& request, httplib::Response& response) {
    std::string eosId, action, text;
    int32_t intParam1 = 0, intParam2 = 0;
    const json body = json::parse(request.body, nullptr, false);
    if (!body.is_object()) return ReplyError(response, 400, "bad request: the body is not a JSON object");
    try {
      eosId = TextField(body, "player", true);
      action = TextField(body, "action", true);
      text = TextField(body, "text", false);
      intParam1 = IntField(body, "int1");
      intParam2 = IntField(body, "int2");
    } catch (const BadRequest& bad) {
      return ReplyError(response, 400, "bad request: " + bad.Reason);
    }
    try {
      const json error = OnGameThread([&server, &mod, eosId, action, intParam1, intParam2, text] {
        return json(shoppage::Send(server, mod, eosId, action, intParam1, intParam2, text));
      });
      if (!error.get<std::string>().empty()) return ReplyError(response, 400, error.get<std::string>());
      Reply(response, 200, json{{"sent", action}});
    } catch (const std::exception& e) {
      ReplyError(response, 503, e.what());
    }
  });
}

}  // namespace sim
