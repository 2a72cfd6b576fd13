// Hostile text in every text parameter is stored as the conversions say and never executed.
#include <gtest/gtest.h>

#include <string>

#include "DbTestSupport.h"
#include "db/DBHelper.h"

namespace {

using dbtest::ShopTables;

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string hex;
  for (const unsigned char c : bytes) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

struct Hostile {
  std::u16string text;
  std::string narrow;  // ToNarrow
  std::string utf8;    // ToUtf8
};

std::vector<Hostile> Corpus() {
  std::vector<Hostile> corpus = {
      {u"'", "'", "'"},
      {u"\"", "\"", "\""},
      {u"\\", "\\", "\\"},
      {u"\\'", "\\'", "\\'"},
      {u"x'); DROP TABLE tables; --", "x'); DROP TABLE tables; --", "x'); DROP TABLE tables; --"},
      {u"\" OR \"1\"=\"1", "\" OR \"1\"=\"1", "\" OR \"1\"=\"1"},
      {u"a/* c */b # d -- e", "a/* c */b # d -- e", "a/* c */b # d -- e"},
      {u"%_{}{0}", "%_{}{0}", "%_{}{0}"},
      {u"Ünï 🦖", "?n? ??", "Ünï 🦖"},
      {std::u16string(u"nul\0byte", 8), std::string("nul\0byte", 8), std::string("nul\0byte", 8)},
      {u"line\nbreak\r\x1a", "line\nbreak\r\x1a", "line\nbreak\r\x1a"},
  };
  std::u16string longText;
  for (int i = 0; i < 400; ++i) longText += u"'\"\\;";
  corpus.push_back({longText, std::string(longText.begin(), longText.end()), std::string(longText.begin(), longText.end())});
  return corpus;
}

std::string WithoutSemicolons(std::string text) {
  std::erase(text, ';');
  return text;
}

std::string Fit(const std::string& utf8, std::size_t chars) {
  std::size_t seen = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) continue;
    if (seen++ == chars) return utf8.substr(0, i);
  }
  return utf8;
}

int64_t CountHex(ShopTables& db, const std::string& table, const std::string& column, const std::string& value) {
  return db.Sql().Number("SELECT COUNT(*) FROM " + db.Table(table) + " WHERE HEX(" + column + ")='" + Hex(value) + "'");
}

TEST(HostileText, EveryTextParameterIsStoredAsConvertedAndNeverExecuted) {
  ShopTables db;
  db.Sql().Exec("CREATE TABLE " + db.Prefix() + "_tables (x INT PRIMARY KEY)");
  int index = 0;
  for (const Hostile& hostile : Corpus()) {
    SCOPED_TRACE(index);
    const FString text(hostile.text);
    const std::string suffix = std::to_string(index++);
    const FString eosId = FString(u"e") + text;
    const std::string storedId = "e" + hostile.narrow;
    const bool idFits = storedId.size() <= 47;

    EXPECT_EQ(DBHelper::loadPlayerPoints(eosId).points, 0);
    EXPECT_EQ(DBHelper::changePoints(eosId, 100), idFits);
    EXPECT_EQ(CountHex(db, "player_points", "eosId", storedId), idFits ? 1 : 0);

    // Names: ";" removed, UTF-8, shortened to the column.
    const FString name = text + FString(suffix);
    const std::string storedName = WithoutSemicolons(hostile.utf8 + suffix);
    DBHelper::recordLogin({u"login" + FString(suffix), name, name, 1000, 1});
    EXPECT_EQ(CountHex(db, "player_chars", "charName", Fit(storedName, 127)), 1);
    EXPECT_EQ(CountHex(db, "player_chars", "tribeName", Fit(storedName, 127)), 1);

    // Packet strings and cooldown names: UTF-8, kept whole (they are keys).
    const FString packet = text + FString(",0;" + suffix);
    const std::string storedPacket = hostile.utf8 + ",0;" + suffix;
    const bool packetFits = Fit(storedPacket, 511) == storedPacket;
    DBHelper::changeRedeemAmount(u"holder", packet, 2, false);
    EXPECT_EQ(CountHex(db, "player_redeems", "packetStr", storedPacket), packetFits ? 1 : 0);
    const int64_t redeemed = DBHelper::redeemPacket({u"holder", name, name}, packet, text, 1, text);
    EXPECT_EQ(redeemed, packetFits ? (int64_t{1} << 32) + 1 : -1);
    if (packetFits) {
      EXPECT_EQ(CountHex(db, "player_cooldowns", "packetName", hostile.utf8), Fit(hostile.utf8, 255) == hostile.utf8 ? 1 : 0);
      // Shop log texts: ASCII with "?", shortened to the column.
      EXPECT_EQ(CountHex(db, "shoplog", "descr", Fit(hostile.narrow, 255)), 1);
    }

    // Trade names and shop log texts of a purchase.
    db.SetPoints("sender", 10);
    db.SetPoints("receiver", 0);
    EXPECT_EQ(DBHelper::tradePoints(u"sender", name, u"receiver", name, 1), 0);
    EXPECT_EQ(CountHex(db, "tradelog", "from_name", Fit(storedName, 255)), 1);
    DBHelper::buyPacket({u"sender", name, name}, -1, text, text, 1, text, false);
    EXPECT_EQ(CountHex(db, "shoplog", "packet", Fit(hostile.narrow, 255)), 1);
    db.Sql().Exec("DELETE FROM " + db.Table("tradelog"));
    db.Sql().Exec("DELETE FROM " + db.Table("shoplog"));
  }
  EXPECT_EQ(db.Sql().Number("SELECT COUNT(*) FROM " + db.Prefix() + "_tables"), 0);
  EXPECT_EQ(db.Sql().Number("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA=DATABASE() AND "
                            "TABLE_NAME LIKE '" + db.Prefix() + "\\_%'"),
            10)
      << "the shop's nine tables and the one the hostile names spoke of";
  EXPECT_EQ(db.Points("receiver"), 1);
  db.Sql().Exec("DROP TABLE " + db.Prefix() + "_tables");
}

}  // namespace
