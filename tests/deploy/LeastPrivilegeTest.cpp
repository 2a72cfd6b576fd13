// The shop on a database account made with exactly the statements of the
// deployment guide: start-up, a purchase, a trade, a redeem, the reset of held
// packets and a reload work, and the account reaches nothing else.
#include <mysql.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

#include "ShopOpsFixture.h"
#include "sim/companions/ClientMod.h"

namespace {

// The admin account of the private server: the operating-system user over the
// server's socket, as the database was installed (the test account cannot grant).
class AdminSql {
 public:
  AdminSql() {
    const char* socket = std::getenv("TANDORSHOP_DB_SOCKET");
    if (socket == nullptr) {
      ADD_FAILURE() << "TANDORSHOP_DB_SOCKET is not set (eval \"$(scripts/db env)\")";
      return;
    }
    handle_ = mysql_init(nullptr);
    const std::string user = OsUser();
    if (mysql_real_connect(handle_, "localhost", user.c_str(), nullptr, nullptr, 0, socket, 0) == nullptr)
      ADD_FAILURE() << "admin connection as " << user << ": " << mysql_error(handle_);
  }
  ~AdminSql() {
    if (handle_ != nullptr) mysql_close(handle_);
  }
  AdminSql(const AdminSql&) = delete;
  AdminSql& operator=(const AdminSql&) = delete;

  bool Exec(const std::string& statement) {
    if (mysql_query(handle_, statement.c_str()) != 0) {
      ADD_FAILURE() << statement << ": " << mysql_error(handle_);
      return false;
    }
    return true;
  }

 private:
  static std::string OsUser() {
    if (const char* name = std::getenv("USER")) return name;
    char buffer[256] = {};
    return ::getlogin_r(buffer, sizeof(buffer)) == 0 ? buffer : "root";
  }
  MYSQL* handle_ = nullptr;
};

// The guide's statements that make the shop's account: the sql block that
// starts with CREATE USER.
std::string GuideAccountStatements() {
  std::ifstream in(std::string(TANDORSHOP_SOURCE_DIR) + "/docs/deploying.md");
  std::stringstream text;
  text << in.rdbuf();
  const std::string all = text.str();
  const std::string opening = "```sql\nCREATE USER";
  const std::size_t start = all.find(opening);
  if (start == std::string::npos) return {};
  const std::size_t body = start + opening.size() - std::string("CREATE USER").size();
  const std::size_t end = all.find("\n```", body);
  if (end == std::string::npos) return {};
  return all.substr(body, end - body + 1);
}

// Replaces every occurrence; false when there was none (the guide changed shape).
bool ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  bool found = false;
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
    found = true;
  }
  return found;
}

class LeastPrivilege : public shopops::ShopOps {
 protected:
  void SetUp() override {
    ShopOps::SetUp();
    const auto settings = testsupport::DatabaseFromEnvironment();
    user_ = "lp_" + prefix_;
    if (user_.size() > 80) user_.resize(80);
    std::string statements = GuideAccountStatements();
    ASSERT_FALSE(statements.empty()) << "docs/deploying.md has no sql block starting with CREATE USER";
    // The guide's names stand for the admin's own: account, password, database.
    ASSERT_TRUE(ReplaceAll(statements, "'tandorshop'@'%'", "'" + user_ + "'@'127.0.0.1'"));
    ASSERT_TRUE(ReplaceAll(statements, "'a-long-random-password'", "'" + password_ + "'"));
    ASSERT_TRUE(ReplaceAll(statements, "`tandorshop`.", "`" + settings.Database + "`."));
    std::stringstream each(statements);
    for (std::string statement; std::getline(each, statement, ';');) {
      if (statement.find_first_not_of(" \n") == std::string::npos) continue;
      ASSERT_TRUE(admin_.Exec(statement));
    }
    created_ = true;
    config_["Mysql"]["username"] = user_;
    config_["Mysql"]["password"] = password_;
  }
  void TearDown() override {
    if (created_) admin_.Exec("DROP USER '" + user_ + "'@'127.0.0.1'");
    ShopOps::TearDown();
  }

  // A statement on the shop's account; the server's error text, empty on success.
  std::string AsShopAccount(const std::string& statement) {
    const auto settings = testsupport::DatabaseFromEnvironment();
    MYSQL* handle = mysql_init(nullptr);
    std::string error;
    if (mysql_real_connect(handle, settings.Host.c_str(), user_.c_str(), password_.c_str(), settings.Database.c_str(),
                           settings.Port, nullptr, 0) == nullptr ||
        mysql_query(handle, statement.c_str()) != 0) {
      error = mysql_error(handle);
    } else if (MYSQL_RES* rows = mysql_store_result(handle)) {
      mysql_free_result(rows);
    }
    mysql_close(handle);
    return error;
  }

  std::vector<std::string> FailureLines() {
    std::vector<std::string> lines;
    for (const auto& line : Server().LogLines())
      if (line.find("[error]") != std::string::npos || line.find("[critical]") != std::string::npos ||
          line.find("denied") != std::string::npos)
        lines.push_back(line);
    return lines;
  }

  AdminSql admin_;
  std::string user_;
  const std::string password_ = "least-privilege-pw";
  bool created_ = false;
};

TEST_F(LeastPrivilege, TheShopRunsOnTheGuidesGrantsAlone) {
  Start();
  EXPECT_EQ(testsupport::TablesWithPrefix(prefix_).size(), 9u)
      << "start-up creates the six tables of the shop, its operation ids, its settlements and its form version";

  auto& ann = JoinWith("AnnEos", 11, 500);
  auto& bob = JoinWith("BobEos", 12, 0);
  const std::string stone = std::to_string(VariantId(ann, "Stone Kit"));
  ASSERT_TRUE(Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, "Stone Kit,1;" + stone + ";;"));
  EXPECT_TRUE(fixture_.TickUntil([&] { return ItemsOf(ann, stone_) == 5; }))
      << ::testing::PrintToString(Chat("AnnEos"));
  EXPECT_TRUE(fixture_.TickUntil([&] { return Points("AnnEos") == 450 && Count("shoplog", "isBuy") == 1; }));

  PastThrottle();
  Mod().Send(ann, TandorShopMod::MsgTradeTargets);
  ASSERT_TRUE(WaitForEvents("AnnEos", "a_init_trade", 1));
  Mod().Send(ann, TandorShopMod::MsgTrade, 40, 0, "BobEos Char BobEos");
  ASSERT_TRUE(WaitForEvents("BobEos", "a_updatepoints", 1));
  EXPECT_TRUE(fixture_.TickUntil([&] { return Points("BobEos") == 40 && Count("tradelog") == 1; }));
  EXPECT_EQ(Points("AnnEos"), 410);

  Hold("BobEos", "Stone Kit,1;Stone;;", 2);
  Mod().Send(bob, TandorShopMod::MsgRedeem, -1, 0, "Stone Kit,1;Stone;;");
  ASSERT_TRUE(WaitForEvents("BobEos", "a_update_redeem", 1));
  EXPECT_TRUE(fixture_.TickUntil([&] { return ItemsOf(bob, stone_) == 5; }));
  EXPECT_TRUE(fixture_.TickUntil([&] { return Held("BobEos", "Stone Kit,1;Stone;;") == 1; }));

  EXPECT_EQ(fixture_.Rcon("ResetKits"), std::optional<std::string>("Reset redeems for all players."));
  EXPECT_EQ(Count("player_redeems"), 0) << "the reset empties the held packets without DROP";
  EXPECT_EQ(fixture_.Rcon("TandorShop.reload"), std::optional<std::string>("TandorShop config reloaded.\n"));
  EXPECT_TRUE(Server().LogContains("Shop is up to date."));

  EXPECT_TRUE(FailureLines().empty()) << ::testing::PrintToString(FailureLines());
  EXPECT_TRUE(Mod().Errors().empty());
}

// Least means least: nothing outside the shop's tables, no change to their shape.
TEST_F(LeastPrivilege, TheAccountCannotReachBeyondTheShopsTables) {
  Start();
  EXPECT_NE(AsShopAccount("DROP TABLE " + prefix_ + "_shoplog"), "");
  EXPECT_NE(AsShopAccount("ALTER TABLE " + prefix_ + "_player_points ADD COLUMN x INT"), "");
  EXPECT_NE(AsShopAccount("TRUNCATE " + prefix_ + "_player_points"), "");
  EXPECT_NE(AsShopAccount("TRUNCATE " + prefix_ + "_player_redeems"), "");
  EXPECT_NE(AsShopAccount("SELECT User FROM mysql.user"), "");
  EXPECT_NE(AsShopAccount("CREATE DATABASE " + prefix_ + "x"), "");
  EXPECT_NE(AsShopAccount("GRANT SELECT ON *.* TO '" + user_ + "'@'127.0.0.1'"), "");
  EXPECT_EQ(AsShopAccount("SELECT COUNT(*) FROM " + prefix_ + "_player_points"), "");
}

}  // namespace
