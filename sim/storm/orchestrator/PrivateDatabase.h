#pragma once
// The storm's own MariaDB server, started through scripts/db in a folder of its
// own, so that killing it touches nobody else; and a plain client for reading
// the books.
#include <cstdint>
#include <string>
#include <vector>

namespace storm {

struct DatabaseAddress {
  std::string Host = "127.0.0.1";
  uint16_t Port = 0;
  std::string User;
  std::string Password;
  std::string Name;
};

class PrivateDatabase {
 public:
  PrivateDatabase(std::string script, std::string dir);

  // Starts the server (a new one on a free port, or again on the port it had).
  void Start();
  // kill -9 of the server process; returns once it is gone.
  void Kill();
  void Stop();
  const DatabaseAddress& Address() const { return address_; }

 private:
  void RunScript(const std::string& command, bool samePort);

  std::string script_;
  std::string dir_;
  DatabaseAddress address_;
};

using Rows = std::vector<std::vector<std::string>>;

// One statement on a fresh connection; throws when the server refuses it.
Rows Query(const DatabaseAddress& address, const std::string& statement);
int64_t Number(const std::string& text);

}  // namespace storm
