#pragma once
// A thin client over MariaDB Connector/C: one handle, guarded by a mutex.
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "db/MysqlErrors.h"
#include "db/MysqlResult.h"

struct st_mysql;

namespace mysql {

struct connect_options {
  std::string server;
  std::string username;
  std::string password;
  std::string dbname;
  unsigned int port = 0;
  unsigned int timeout = 0;  // seconds; 0 keeps the library's default
  // Seconds one read or write on the socket may wait; 0 waits without limit. A
  // statement whose answer does not come in time fails as a lost connection.
  unsigned int read_timeout = 0;
  unsigned int write_timeout = 0;
  bool autoreconnect = false;
  std::string initcmd;
  std::string charset;
  unsigned long flags = 0;
};

// Which node of the host list a connection went to.
struct node_placement {
  std::size_t rank = 0;  // its place in the list; 0 is the first
  bool galera = false;
  std::chrono::steady_clock::time_point since{};  // when the connection was opened there
};

class connection : public std::enable_shared_from_this<connection> {
 public:
  connection() = default;
  connection(const connection&) = delete;
  connection& operator=(const connection&) = delete;
  ~connection();

  // Opens a fresh handle with these options; false (and no handle) when it fails.
  bool open(const connect_options& options);
  // The handle is set and the server answers a ping (which reconnects when allowed).
  bool is_open();
  void close();
  bool has_handle();
  // A statement on this handle failed since it was opened or last cleared.
  bool had_error();
  // Forgets the failure, and an unknown commit outcome with it (a new operation).
  void clear_error();
  // The last failure was a commit_unknown: the connection was lost after a
  // statement that commits went out, so the server may have committed it. Set
  // until the next open or clear_error.
  bool commit_outcome_unknown();
  // The server closed the connection or sent something unasked (checked without
  // waiting): the next statement would fail.
  bool peer_closed();

  // Outside a transaction a statement commits on its own: when the connection is
  // lost after it was sent, exec and query throw commit_unknown.
  // Runs a statement that returns no rows wanted; returns the affected row count.
  uint64_t exec(std::string_view statement);
  // Runs a statement whose rows are wanted; they are read on first access of the result.
  result query(std::string_view statement);

  // Inside a transaction, a statement whose answer can wait: it is sent with the
  // next statement (or the commit) in one round trip, and its outcome is filled
  // in then (`fetched` set). A failure is reported by the statement that carried
  // it, naming this one by `name`, and fails the transaction. Outside a
  // transaction it runs at once. Needs CLIENT_MULTI_STATEMENTS.
  // On a Galera node it runs at once too: another node's write may abort the
  // transaction between two statements of one text, and the server then runs the
  // rest of the text (the COMMIT included) outside it, each statement on its own,
  // answering OK. Sent alone, the next statement is refused with 1213.
  std::shared_ptr<const pending_rows> exec_later(std::string_view name, std::string statement);

  // Runs a session setting now and again after every automatic reconnection,
  // so the session never goes on without it.
  void set_session(const std::string& statement);
  void set_placement(const node_placement& placement);
  node_placement placement();

  // The text escaped for use between quotes in a statement on this connection.
  std::string escape(std::string_view text);

  // Explicit transactions. While one is open, automatic reconnection is off, so a
  // lost connection fails the transaction instead of continuing in a new session.
  // The start goes out with the transaction's first statement; a transaction
  // that sent nothing costs no round trip to roll back.
  void begin_transaction();
  // Throws commit_unknown when the connection is lost after the COMMIT went out
  // (the server may have committed), mysql_exception when the transaction failed
  // before (nothing of it was kept); rolled back in both cases.
  void commit();
  void rollback() noexcept;

  // Reads the rows of a result that has not been accessed yet.
  void fetch(pending_rows& rows);

 private:
  struct handle_closer {
    void operator()(st_mysql* handle) const;
  };
  using handle_ptr = std::unique_ptr<st_mysql, handle_closer>;

  st_mysql& require_handle();
  [[noreturn]] void throw_error();
  // The error of a statement sent in one text with others, named.
  [[noreturn]] void throw_error_of(std::string_view name);
  void end_transaction() noexcept;
  void send(std::string_view statement, std::string_view name = {});
  // Inside a transaction, after one of its statements failed: throws that failure
  // again (number, text, statement), and nothing more is sent. The server may have rolled the whole
  // transaction back (a deadlock, another node's write); a further statement
  // would run outside it and keep what it wrote, a COMMIT would answer OK.
  void refuse_after_failure();
  void send_with_later(std::string_view statement, bool commits, std::string_view name = {});
  // Sends the text and reads its first answer; a failure is named by name (empty:
  // the caller's statement). When commits, a lost connection from the moment the
  // text went out until awaiting_commit_ is cleared is a commit_unknown.
  void run_text(std::string_view text, bool commits, std::string_view name);
  void read_later_outcomes(std::string_view carrier);
  void forget_later() noexcept;
  void drain_pending();
  void store_rows(pending_rows& rows);
  void set_reconnect(bool on);

  std::mutex mutex_;
  handle_ptr handle_;
  bool autoreconnect_ = false;
  bool failed_ = false;
  bool awaiting_commit_ = false;  // a text that commits went out; its answers are being read
  bool commit_unknown_ = false;
  std::shared_ptr<pending_rows> pending_;
  node_placement placement_;

  struct later_statement {
    std::string name;
    std::string text;
    std::shared_ptr<pending_rows> outcome;
  };
  std::vector<later_statement> later_;
  bool in_transaction_ = false;
  bool transaction_sent_ = false;  // the start of the open transaction went out
  // The first failure of the open transaction (number 0: none).
  struct transaction_failure {
    unsigned int number = 0;
    std::string text, statement;
  } transaction_failure_;
  void note_transaction_failure(unsigned int number, std::string text, std::string_view statement);
};

}  // namespace mysql
