// The faulty link's reading of the MySQL packet stream.
#include <gtest/gtest.h>

#include <string>

#include "testsupport/MysqlWire.h"

namespace {

using testsupport::wire::AnswerTracker;
using testsupport::wire::IsCommitQuery;
using testsupport::wire::PacketSplitter;
using testsupport::wire::PacketView;

std::string Packet(uint8_t sequence, const std::string& payload) {
  std::string bytes;
  bytes += static_cast<char>(payload.size() & 0xFF);
  bytes += static_cast<char>((payload.size() >> 8) & 0xFF);
  bytes += static_cast<char>((payload.size() >> 16) & 0xFF);
  bytes += static_cast<char>(sequence);
  return bytes + payload;
}

PacketView Whole(const std::string& bytes) {
  PacketSplitter splitter;
  PacketView packet;
  bool completed = false;
  EXPECT_EQ(splitter.Feed(bytes, packet, completed), bytes.size());
  EXPECT_TRUE(completed);
  return packet;
}

PacketView Query(const std::string& text, uint8_t sequence = 0) { return Whole(Packet(sequence, "\x03" + text)); }

TEST(MysqlWire, PacketsAreCutOutOfAStreamHoweverItArrives) {
  const std::string stream = Packet(0, "\x03SELECT 1") + Packet(0, "\x03" + std::string(70000, 'x') + ";COMMIT");
  PacketSplitter splitter;
  std::vector<PacketView> packets;
  std::size_t offsetOfFirstEnd = 0;
  for (std::size_t at = 0; at < stream.size();) {
    std::string_view piece = std::string_view(stream).substr(at, 7);  // odd-sized pieces
    while (!piece.empty()) {
      PacketView packet;
      bool completed = false;
      const std::size_t used = splitter.Feed(piece, packet, completed);
      piece.remove_prefix(used);
      at += used;
      if (completed) {
        if (packets.empty()) offsetOfFirstEnd = at;
        packets.push_back(packet);
      }
    }
  }
  ASSERT_EQ(packets.size(), 2u);
  EXPECT_EQ(offsetOfFirstEnd, 13u) << "the first packet ends where its bytes end";
  EXPECT_EQ(packets[0].size, 9u);
  EXPECT_FALSE(IsCommitQuery(packets[0]));
  EXPECT_EQ(packets[1].size, 70008u);
  EXPECT_TRUE(IsCommitQuery(packets[1])) << "a long text whose last statement is COMMIT";
}

TEST(MysqlWire, ACommitIsAQueryWhoseLastStatementIsCommit) {
  for (const char* text : {"COMMIT", "commit", " Commit ; ", "INSERT INTO t VALUES (1);COMMIT",
                           "START TRANSACTION;UPDATE t SET v=1;\ncommit;", "COMMIT WORK"})
    EXPECT_TRUE(IsCommitQuery(Query(text))) << text;
  for (const char* text : {"SELECT 1", "COMMIT;SELECT 1", "SELECT 'COMMIT'", "COMMITTED", "ROLLBACK", ""})
    EXPECT_FALSE(IsCommitQuery(Query(text))) << text;
  EXPECT_FALSE(IsCommitQuery(Query("COMMIT", 1))) << "not the first packet of a command";
  EXPECT_FALSE(IsCommitQuery(Whole(Packet(0, "\x16" "COMMIT")))) << "not a COM_QUERY";
  EXPECT_FALSE(IsCommitQuery(Query(std::string(2000, 'x')))) << "a long text without a statement break";
}

TEST(MysqlWire, TheAnswersEndWithAnOkWithoutMoreResultsOrAnError) {
  const std::string okMore("\x00\x01\x00\x08\x00\x00\x00", 7);  // 1 row, more results exist
  const std::string okLast("\x00\x00\x00\x02\x00\x00\x00", 7);  // autocommit status only
  AnswerTracker batch;
  EXPECT_EQ(batch.Feed(Whole(Packet(1, okMore))), AnswerTracker::State::Waiting);
  EXPECT_EQ(batch.Feed(Whole(Packet(1, okMore))), AnswerTracker::State::Waiting);
  EXPECT_EQ(batch.Feed(Whole(Packet(1, okLast))), AnswerTracker::State::Done);

  AnswerTracker refused;
  EXPECT_EQ(refused.Feed(Whole(Packet(1, okMore))), AnswerTracker::State::Waiting);
  EXPECT_EQ(refused.Feed(Whole(Packet(1, "\xFF\x26\x04#23000Duplicate"))), AnswerTracker::State::Done);

  AnswerTracker rows;
  EXPECT_EQ(rows.Feed(Whole(Packet(1, "\x01"))), AnswerTracker::State::Unclear) << "a result set's column count";
  const std::string bigAffected("\x00\xFC\x10\x27\x00\x00\x00", 7);  // 10000 rows: a 3-byte count
  AnswerTracker wide;
  EXPECT_EQ(wide.Feed(Whole(Packet(1, bigAffected))), AnswerTracker::State::Done);
}

}  // namespace
