#pragma once
// DBHelper's own copy of the database settings.
#include <cstdint>
#include <string>

namespace ConfigHelper {
struct ConfigMysql;
}

namespace DBHelper {

struct DBSettings {
  std::string server;
  std::string username;
  std::string password;
  std::string database;
  std::string tablePrefix;
  uint32_t port = 0;
  // Worker threads keep their connection between operations.
  bool keepConnections = false;
  // Seconds a connection waits for the server, to connect and for each read or
  // write, by the thread it is opened on: short on the game thread (the game
  // waits meanwhile: admin commands, the exported points functions), longer on
  // the workers. A statement that gets no answer in time fails as a lost
  // connection. Not read from the configuration.
  unsigned int gameThreadTimeoutSeconds = 5;
  unsigned int workerTimeoutSeconds = 30;
  // A kept connection on a later node of the server list is opened again (on the
  // first ready node) when taken after this long. Not read from the configuration.
  unsigned int backToFirstNodeSeconds = 30;
  // Grows whenever a reload changes where or how to connect, so kept connections
  // opened with older settings are replaced.
  uint64_t generation = 0;
};

// Copies the Mysql section; runs at start and at every reload, on the game
// thread, while worker threads may be connecting.
void setConfig(const ConfigHelper::ConfigMysql& config);
// A copy of the settings every operation connects with, taken under a lock so a
// reload never changes them in the middle of a read.
DBSettings Settings();

}  // namespace DBHelper
