// What an operation learns of its commit when the connection fails, how it gets
// a fresh connection to ask the database, and how long a connection waits.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>
#include <tuple>

#include "LinkFixture.h"
#include "db/DBConnection.h"
#include "db/KeptConnection.h"
#include "db/QueryFrame.h"
#include "db/Transaction.h"

namespace {

using dbtest::LogCapture;
using namespace std::chrono_literals;
using DBHelper::CommitOutcome;
using DBHelper::DBConnection;

class CommitOutcomeTest : public dbtest::LinkFixture {
 protected:
  DBHelper::DBSettings ThroughLinkSettings(bool keep = false) const {
    DBHelper::DBSettings settings;
    settings.server = testsupport::FaultyLink::Host();
    settings.port = link_.Port();
    settings.username = settings_.User;
    settings.password = settings_.Password;
    settings.database = settings_.Database;
    settings.keepConnections = keep;
    return settings;
  }

  // Runs work on a thread of its own that counts as a worker of the pool.
  template <typename Work>
  static auto OnWorkerThread(Work work) {
    return std::async(std::launch::async, [work] {
             DBHelper::WorkerConnectionScope scope;
             return work();
           })
        .get();
  }
};

TEST_F(CommitOutcomeTest, TheCommitOutcomeSaysCommittedNotCommittedOrUnknown) {
  LogCapture log;
  DBConnection db(ThroughLinkSettings());
  {
    DBHelper::Transaction transaction(db);
    db.Later("DBHelper::first", Insert(1, 10));
    EXPECT_EQ(DBHelper::CommitOperationOutcome(transaction, "DBHelper::test"), CommitOutcome::Committed);
  }
  {
    // A statement of the batch refused (a duplicate key): the COMMIT behind it never ran.
    DBHelper::Transaction transaction(db);
    db.Later("DBHelper::second", Insert(2, 20));
    try {
      db.Later("DBHelper::duplicate", Insert(1, 11));
    } catch (const mysql::mysql_exception&) {
      // a cluster node takes each statement of a transaction at once, and refuses this one there
    }
    EXPECT_EQ(DBHelper::CommitOperationOutcome(transaction, "DBHelper::test"), CommitOutcome::NotCommitted);
    EXPECT_FALSE(db.CommitOutcomeUnknown());
  }
  EXPECT_EQ(Stored(2), -1);
  EXPECT_TRUE(log.Contains("DBHelper::duplicate"));
  EXPECT_EQ(log.Count("nothing of the operation was kept"), 1u);
  ASSERT_TRUE(db.Reopen());
  {
    DBHelper::Transaction transaction(db);
    db.Later("DBHelper::third", Insert(3, 30));
    link_.DropAfterNextCommit();
    EXPECT_EQ(DBHelper::CommitOperationOutcome(transaction, "DBHelper::test"), CommitOutcome::Unknown);
  }
  EXPECT_TRUE(db.CommitOutcomeUnknown());
  EXPECT_EQ(Stored(3), 30);
  EXPECT_EQ(log.Count("the server may have kept the operation"), 1u);
  EXPECT_EQ(log.Count("nothing of the operation was kept"), 1u) << "an unknown outcome is not told as a failure";
}

// The function existing callers use answers false for an unknown outcome, and
// logs it as unknown.
// One failed statement ends the transaction: after a deadlock (or, on a cluster,
// another node's write) the server has rolled all of it back, and a statement
// sent next would run on its own and be kept; a COMMIT would answer OK for nothing.
TEST_F(CommitOutcomeTest, NothingMoreOfATransactionIsSentAfterOneOfItsStatementsFailed) {
  DBConnection db(ThroughLinkSettings());
  {
    DBHelper::Transaction transaction(db);
    db.Connection().exec(Insert(1, 10));
    EXPECT_THROW(db.Connection().exec(Insert(1, 11)), mysql::mysql_exception) << "a duplicate key";
    try {
      db.Connection().exec(Insert(2, 20));
      ADD_FAILURE() << "a statement after the failed one was sent";
    } catch (const mysql::mysql_exception& e) {
      EXPECT_EQ(e.error_number(), 1062u) << "the first failure, again";
    }
    EXPECT_THROW(db.Later("DBHelper::later", Insert(3, 30)), mysql::mysql_exception);
    EXPECT_EQ(DBHelper::CommitOperationOutcome(transaction, "DBHelper::test"), CommitOutcome::NotCommitted);
  }
  EXPECT_EQ(Stored(1), -1);
  EXPECT_EQ(Stored(2), -1);
  EXPECT_EQ(Stored(3), -1);
  DBHelper::Transaction next(db);  // the connection goes on with the next transaction
  db.Later("DBHelper::fourth", Insert(4, 40));
  EXPECT_EQ(DBHelper::CommitOperationOutcome(next, "DBHelper::test"), CommitOutcome::Committed);
  EXPECT_EQ(Stored(4), 40);
}

TEST_F(CommitOutcomeTest, TheBooleanCommitAnswersFalseForAnUnknownOutcome) {
  LogCapture log;
  DBConnection db(ThroughLinkSettings());
  DBHelper::Transaction transaction(db);
  db.Connection().exec(Insert(1, 10));
  link_.DropAfterNextCommit();
  EXPECT_FALSE(DBHelper::CommitOperation(transaction, "DBHelper::test"));
  EXPECT_EQ(Stored(1), 10);
  EXPECT_TRUE(log.Contains("the server may have kept the operation"));
  EXPECT_FALSE(log.Contains("nothing of the operation was kept"));
}

// After the loss the operation reopens its connection and asks what was kept;
// a kept connection is reopened in place and stays the thread's.
TEST_F(CommitOutcomeTest, AConnectionReopenedAfterAnUnknownOutcomeAsksTheDatabase) {
  const auto askAfterLoss = [this](DBConnection& db) {
    {
      DBHelper::Transaction transaction(db);
      db.Connection().exec(Insert(1, 10));
      link_.DropAfterNextCommit();
      EXPECT_EQ(DBHelper::CommitOperationOutcome(transaction, "DBHelper::test"), CommitOutcome::Unknown);
    }
    EXPECT_TRUE(db.Reopen());
    EXPECT_FALSE(db.CommitOutcomeUnknown());
    EXPECT_TRUE(db.NoQueryFailed());
    const int64_t stored = DBHelper::RunQuery(db, "DBHelper::lookup", int64_t{-2}, [&] {
      mysql::result rows = db.Connection().query("SELECT v FROM `" + table_ + "` WHERE id=1");
      int64_t value = -1;
      if (rows.has_rows()) rows[0].get(0, value);
      return value;
    });
    db.Finish();
    return stored;
  };

  DBConnection single(ThroughLinkSettings());
  EXPECT_EQ(askAfterLoss(single), 10);
  direct_.Exec("DELETE FROM `" + table_ + "`");

  const auto [stored, opensAfterReopen, opensOfNextOperation] = OnWorkerThread([&] {
    int64_t value = 0;
    {
      DBConnection kept(ThroughLinkSettings(true));
      value = askAfterLoss(kept);
    }
    const uint64_t opens = DBHelper::KeptConnectionOpens();
    DBConnection next(ThroughLinkSettings(true));
    EXPECT_EQ(next.Connection().exec(Insert(2, 20)), 1u);
    next.Finish();
    return std::tuple{value, opens, DBHelper::KeptConnectionOpens()};
  });
  EXPECT_EQ(stored, 10);
  EXPECT_EQ(opensOfNextOperation, opensAfterReopen) << "the next operation takes the reopened connection";
  EXPECT_EQ(Stored(2), 20);
}

// A statement outside a transaction commits on its own; when its answer is lost
// the query frame logs the error, and the connection keeps the fact.
TEST_F(CommitOutcomeTest, AStatementOutsideATransactionWhoseAnswerTimedOutIsUnknown) {
  DBHelper::DBSettings settings = ThroughLinkSettings();
  settings.gameThreadTimeoutSeconds = 1;
  DBConnection db(settings);
  link_.Stall(60s);
  const uint64_t rows =
      DBHelper::RunQuery(db, "DBHelper::insert", uint64_t{0}, [&] { return db.Connection().exec(Insert(1, 10)); });
  link_.Resume();
  EXPECT_EQ(rows, 0u);
  EXPECT_FALSE(db.NoQueryFailed());
  EXPECT_TRUE(db.CommitOutcomeUnknown());
  EXPECT_TRUE(ArrivesEventually(1)) << "the link delivered the insert after the client gave up on it";
}

// The game thread waits a few seconds for an answer, a worker longer: a stall
// that outlasts the one and not the other.
TEST_F(CommitOutcomeTest, TheGameThreadGivesUpOnAStalledServerSoonerThanAWorker) {
  DBHelper::DBSettings settings = ThroughLinkSettings();
  settings.gameThreadTimeoutSeconds = 1;
  settings.workerTimeoutSeconds = 60;
  {
    DBConnection db(settings);
    link_.Stall(60s);
    EXPECT_THROW(db.Connection().query("SELECT 1"), mysql::mysql_exception);
    link_.Resume();
  }
  const bool workerAnswered = OnWorkerThread([&] {
    DBConnection db(settings);
    link_.Stall(3s);
    mysql::result rows = db.Connection().query("SELECT 1");
    return rows.row_count() == 1;
  });
  EXPECT_TRUE(workerAnswered);
}

}  // namespace
