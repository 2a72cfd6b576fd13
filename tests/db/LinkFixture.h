#pragma once
// A scratch table on the test server and a faulty link in front of the server,
// with clients of the plugin's MySQL layer that connect through it.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include <mysql.h>

#include "DbTestSupport.h"
#include "db/MysqlConnection.h"
#include "testsupport/Database.h"
#include "testsupport/FaultyLink.h"

namespace dbtest {

class LinkFixture : public ::testing::Test {
 protected:
  LinkFixture()
      : settings_(testsupport::DatabaseFromEnvironment()),
        table_(testsupport::UniquePrefix("link") + "_rows"),
        direct_(settings_, settings_.Database),
        link_(testsupport::LinkInFrontOf(settings_)) {
    direct_.Exec("CREATE TABLE `" + table_ + "` (id INT PRIMARY KEY, v INT NOT NULL) ENGINE=InnoDB");
  }
  ~LinkFixture() override {
    try {
      direct_.Exec("DROP TABLE IF EXISTS `" + table_ + "`");
    } catch (...) {
    }
  }

  // The options the plugin connects with, through the link.
  mysql::connect_options ThroughLink(unsigned int readTimeout = 0, bool autoreconnect = false) const {
    mysql::connect_options options;
    options.server = testsupport::FaultyLink::Host();
    options.port = link_.Port();
    options.username = settings_.User;
    options.password = settings_.Password;
    options.dbname = settings_.Database;
    options.timeout = 10;
    options.read_timeout = readTimeout;
    options.write_timeout = readTimeout;
    options.autoreconnect = autoreconnect;
    options.charset = "utf8mb4";
    options.flags = CLIENT_FOUND_ROWS | CLIENT_MULTI_STATEMENTS;
    return options;
  }

  std::shared_ptr<mysql::connection> Connect(unsigned int readTimeout = 0, bool autoreconnect = false) {
    auto connection = std::make_shared<mysql::connection>();
    EXPECT_TRUE(connection->open(ThroughLink(readTimeout, autoreconnect)));
    return connection;
  }

  std::string Insert(int id, int value) const {
    return "INSERT INTO `" + table_ + "` (id, v) VALUES (" + std::to_string(id) + "," + std::to_string(value) + ")";
  }
  // The row's value as the server has it, read past the link; -1 without the row.
  int64_t Stored(int id) {
    const std::string value = direct_.Scalar("SELECT v FROM `" + table_ + "` WHERE id=" + std::to_string(id));
    return value == "<none>" ? -1 : std::stoll(value);
  }
  // Waits (up to ten seconds) until the server has the row: a statement the link
  // held may still arrive.
  bool ArrivesEventually(int id) {
    for (int i = 0; i < 1000; ++i) {
      if (Stored(id) != -1) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  testsupport::DatabaseSettings settings_;
  std::string table_;
  RawSql direct_;
  testsupport::FaultyLink link_;
};

}  // namespace dbtest
