#pragma once
// An httplib server on 127.0.0.1 running on its own thread (the web services and
// the shop page).
#include <httplib.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

namespace sim {

class LoopbackHttpServer {
 public:
  // threads: connections served at once (a browser keeps several open).
  explicit LoopbackHttpServer(uint16_t port, std::size_t threads = 2) {
    server_.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    port_ = port == 0 ? server_.bind_to_any_port("127.0.0.1") : (server_.bind_to_port("127.0.0.1", port) ? port : -1);
    if (port_ <= 0) throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
  }
  ~LoopbackHttpServer() {
    server_.stop();
    if (thread_.joinable()) thread_.join();
  }
  httplib::Server& Http() { return server_; }
  void Start() {
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
  uint16_t Port() const { return static_cast<uint16_t>(port_); }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
};

}  // namespace sim
