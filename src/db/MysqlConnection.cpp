#include "db/MysqlConnection.h"

#include <errmsg.h>
#include <mysql.h>
#include <mysqld_error.h>

#include <vector>

#include "core/Platform.h"

namespace mysql {
namespace {

// The client library must be initialised once before handles are made on several threads.
void InitialiseLibraryOnce() {
  static std::once_flag once;
  std::call_once(once, [] { mysql_library_init(0, nullptr, nullptr); });
}

// Statements are joined with ';' when sent together; an empty statement between
// two would be an error.
std::string_view WithoutFinalSemicolon(std::string_view statement) {
  while (!statement.empty() && (statement.back() == ';' || statement.back() == ' ')) statement.remove_suffix(1);
  return statement;
}

}  // namespace

bool is_connection_lost(unsigned int number) noexcept {
  switch (number) {
    case CR_SERVER_GONE_ERROR:
    case CR_SERVER_LOST:
    case CR_SERVER_LOST_EXTENDED:
    case CR_ERR_NET_READ:
    case CR_ERR_NET_WRITE:
    case ER_CONNECTION_KILLED:
    case ER_SERVER_SHUTDOWN:
      return true;
    default:
      return false;
  }
}

void connection::handle_closer::operator()(st_mysql* handle) const { mysql_close(handle); }

connection::~connection() { close(); }

bool connection::open(const connect_options& options) {
  if (has_handle() && is_open()) close();
  InitialiseLibraryOnce();

  std::lock_guard lock(mutex_);
  handle_.reset();
  pending_.reset();
  forget_later();
  in_transaction_ = false;
  transaction_sent_ = false;
  handle_ptr fresh(mysql_init(nullptr));
  if (!fresh) return false;
  MYSQL* raw = fresh.get();
  if (options.autoreconnect) {
    my_bool on = 1;
    mysql_optionsv(raw, MYSQL_OPT_RECONNECT, &on);
  }
  if (!options.charset.empty()) mysql_optionsv(raw, MYSQL_SET_CHARSET_NAME, options.charset.c_str());
  if (!options.initcmd.empty()) mysql_optionsv(raw, MYSQL_INIT_COMMAND, options.initcmd.c_str());
  if (options.timeout != 0) mysql_optionsv(raw, MYSQL_OPT_CONNECT_TIMEOUT, &options.timeout);
  if (options.read_timeout != 0) mysql_optionsv(raw, MYSQL_OPT_READ_TIMEOUT, &options.read_timeout);
  if (options.write_timeout != 0) mysql_optionsv(raw, MYSQL_OPT_WRITE_TIMEOUT, &options.write_timeout);
  if (mysql_real_connect(raw, options.server.c_str(), options.username.c_str(), options.password.c_str(),
                         options.dbname.c_str(), options.port, nullptr, options.flags) == nullptr) {
    return false;  // `fresh` closes the handle
  }
  autoreconnect_ = options.autoreconnect;
  placement_ = node_placement{};
  failed_ = false;
  awaiting_commit_ = false;
  commit_unknown_ = false;
  handle_ = std::move(fresh);
  return true;
}

bool connection::is_open() {
  std::lock_guard lock(mutex_);
  if (!handle_) return false;
  drain_pending();
  return mysql_ping(handle_.get()) == 0;
}

bool connection::has_handle() {
  std::lock_guard lock(mutex_);
  return handle_ != nullptr;
}

bool connection::had_error() {
  std::lock_guard lock(mutex_);
  return failed_;
}

void connection::clear_error() {
  std::lock_guard lock(mutex_);
  failed_ = false;
  commit_unknown_ = false;
}

bool connection::commit_outcome_unknown() {
  std::lock_guard lock(mutex_);
  return commit_unknown_;
}

bool connection::peer_closed() {
  std::lock_guard lock(mutex_);
  if (!handle_) return true;
  if (pending_) return false;  // rows of our own are waiting to be read
  return TandorShop::Platform::SocketReadableOrClosed(
      static_cast<TandorShop::Platform::SocketHandle>(mysql_get_socket(handle_.get())));
}

void connection::close() {
  std::lock_guard lock(mutex_);
  pending_.reset();
  forget_later();
  in_transaction_ = false;
  transaction_sent_ = false;
  handle_.reset();
}

st_mysql& connection::require_handle() {
  if (!handle_) {
    failed_ = true;
    throw mysqlpp_exception(kNotConnected);
  }
  return *handle_;
}

void connection::throw_error() { throw_error_of({}); }

void connection::throw_error_of(std::string_view name) {
  failed_ = true;
  MYSQL* raw = handle_.get();
  const unsigned int number = mysql_errno(raw);
  const bool unknown = awaiting_commit_ && is_connection_lost(number);
  awaiting_commit_ = false;
  if (unknown) {
    commit_unknown_ = true;
    throw commit_unknown(number, mysql_error(raw));  // the whole text's outcome, not one statement's
  }
  note_transaction_failure(number, mysql_error(raw), name);
  throw mysql_exception(number, mysql_error(raw), std::string(name));
}

void connection::run_text(std::string_view text, bool commits, std::string_view name) {
  MYSQL& raw = *handle_;
  // A text that could not be sent whole never ran: the server executes a packet
  // only once all of it arrived.
  if (mysql_send_query(&raw, text.data(), static_cast<unsigned long>(text.size())) != 0) throw_error_of(name);
  awaiting_commit_ = commits;
  if (mysql_read_query_result(&raw) != 0) throw_error_of(name);
}

void connection::send(std::string_view statement, std::string_view name) {
  require_handle();
  refuse_after_failure();
  drain_pending();
  if (!later_.empty()) return send_with_later(statement, false, name);
  if (in_transaction_) transaction_sent_ = true;
  run_text(statement, !in_transaction_, name);
  awaiting_commit_ = false;
}

void connection::note_transaction_failure(unsigned int number, std::string text, std::string_view statement) {
  if (in_transaction_ && transaction_failure_.number == 0)
    transaction_failure_ = {number, std::move(text), std::string(statement)};
}

void connection::refuse_after_failure() {
  if (in_transaction_ && transaction_failure_.number != 0)
    throw mysql_exception(transaction_failure_.number, transaction_failure_.text, transaction_failure_.statement);
}

// The statements waiting, then this one, in one text and one round trip. The
// waiting ones' outcomes are read here; this one's result is left current.
void connection::send_with_later(std::string_view statement, bool commits, std::string_view name) {
  std::string text;
  for (const later_statement& waiting : later_) {
    text += WithoutFinalSemicolon(waiting.text);
    text += ';';
  }
  text += WithoutFinalSemicolon(statement);
  if (in_transaction_) transaction_sent_ = true;
  run_text(text, commits, later_.front().name);
  read_later_outcomes(name);
  awaiting_commit_ = false;
}

void connection::read_later_outcomes(std::string_view carrier) {
  MYSQL& raw = *handle_;
  const std::vector<later_statement> sent = std::move(later_);
  later_.clear();
  for (std::size_t i = 0; i < sent.size(); ++i) {
    store_rows(*sent[i].outcome);
    const int next = mysql_next_result(&raw);
    if (next > 0) {
      if (i + 1 < sent.size()) throw_error_of(sent[i + 1].name);
      throw_error_of(carrier);  // the statement that carried them (unnamed: its caller names it)
    }
    if (next < 0) {
      failed_ = true;
      awaiting_commit_ = false;
      note_transaction_failure(CR_COMMANDS_OUT_OF_SYNC, "the server answered fewer statements than were sent", {});
      throw mysql_exception(CR_COMMANDS_OUT_OF_SYNC, "the server answered fewer statements than were sent");
    }
  }
}

void connection::forget_later() noexcept { later_.clear(); }

std::shared_ptr<const pending_rows> connection::exec_later(std::string_view name, std::string statement) {
  std::lock_guard lock(mutex_);
  require_handle();
  auto outcome = std::make_shared<pending_rows>();
  // On a Galera node each statement of a transaction goes alone (see the header).
  if (!in_transaction_ || placement_.galera) {
    send(statement, name);
    store_rows(*outcome);
    return outcome;
  }
  refuse_after_failure();
  later_.push_back({std::string(name), std::move(statement), outcome});
  return outcome;
}

uint64_t connection::exec(std::string_view statement) {
  std::lock_guard lock(mutex_);
  send(statement);
  const my_ulonglong affected = mysql_affected_rows(handle_.get());
  if (MYSQL_RES* rows = mysql_store_result(handle_.get())) {
    mysql_free_result(rows);
    return 0;
  }
  if (mysql_field_count(handle_.get()) != 0) throw_error();
  return affected == static_cast<my_ulonglong>(-1) ? 0 : affected;
}

result connection::query(std::string_view statement) {
  std::lock_guard lock(mutex_);
  send(statement);
  auto rows = std::make_shared<pending_rows>();
  std::shared_ptr<connection> self = weak_from_this().lock();
  if (!self) {
    store_rows(*rows);  // nobody can keep this connection alive for a later read
    return result(nullptr, rows);
  }
  pending_ = rows;
  return result(std::move(self), std::move(rows));
}

void connection::fetch(pending_rows& rows) {
  std::lock_guard lock(mutex_);
  if (rows.fetched) return;
  if (pending_.get() != &rows || !handle_) {
    rows.fetched = true;  // the connection went away: the rows are lost
    return;
  }
  store_rows(rows);
  pending_.reset();
}

void connection::drain_pending() {
  if (!pending_) return;
  std::shared_ptr<pending_rows> rows = std::move(pending_);
  if (!rows->fetched) store_rows(*rows);
}

void connection::store_rows(pending_rows& target) {
  target.fetched = true;
  MYSQL* raw = handle_.get();
  MYSQL_RES* rows = mysql_store_result(raw);
  if (rows == nullptr) {
    if (mysql_field_count(raw) != 0) throw_error();
    const my_ulonglong affected = mysql_affected_rows(raw);
    target.affected = affected == static_cast<my_ulonglong>(-1) ? 0 : affected;
    return;
  }
  const unsigned int columns = mysql_num_fields(rows);
  target.rows.reserve(static_cast<std::size_t>(mysql_num_rows(rows)));
  while (MYSQL_ROW fields = mysql_fetch_row(rows)) {
    const unsigned long* lengths = mysql_fetch_lengths(rows);
    row& out = target.rows.emplace_back();
    out.reserve(columns);
    for (unsigned int i = 0; i < columns; ++i)
      out.emplace_back(fields[i] == nullptr ? std::string() : std::string(fields[i], lengths[i]));
  }
  mysql_free_result(rows);
}

void connection::set_session(const std::string& statement) {
  std::lock_guard lock(mutex_);
  send(statement);
  if (MYSQL_RES* rows = mysql_store_result(handle_.get())) mysql_free_result(rows);
  mysql_optionsv(handle_.get(), MYSQL_INIT_COMMAND, statement.c_str());
}

void connection::set_placement(const node_placement& placement) {
  std::lock_guard lock(mutex_);
  placement_ = placement;
}

node_placement connection::placement() {
  std::lock_guard lock(mutex_);
  return placement_;
}

std::string connection::escape(std::string_view text) {
  std::lock_guard lock(mutex_);
  MYSQL& raw = require_handle();
  std::string escaped(text.size() * 2 + 1, '\0');
  const unsigned long length =
      mysql_real_escape_string(&raw, escaped.data(), text.data(), static_cast<unsigned long>(text.size()));
  if (length == static_cast<unsigned long>(-1)) throw_error();
  escaped.resize(length);
  return escaped;
}

void connection::set_reconnect(bool on) {
  if (!handle_) return;
  my_bool value = on ? 1 : 0;
  mysql_optionsv(handle_.get(), MYSQL_OPT_RECONNECT, &value);
}

void connection::begin_transaction() {
  std::lock_guard lock(mutex_);
  require_handle();
  drain_pending();
  forget_later();
  set_reconnect(false);
  in_transaction_ = true;
  transaction_sent_ = false;
  transaction_failure_ = {};
  later_.push_back({"START TRANSACTION", "START TRANSACTION", std::make_shared<pending_rows>()});
}

void connection::end_transaction() noexcept {
  forget_later();
  in_transaction_ = false;
  transaction_sent_ = false;
  transaction_failure_ = {};
  set_reconnect(autoreconnect_);
}

void connection::commit() {
  std::lock_guard lock(mutex_);
  MYSQL& raw = require_handle();
  try {
    refuse_after_failure();  // the server may have rolled it back already: a COMMIT would answer OK for nothing
    drain_pending();
    const bool nothing_written = !transaction_sent_ && later_.size() <= 1;  // only its start waits
    if (nothing_written) {
      forget_later();
    } else if (!later_.empty()) {
      send_with_later("COMMIT", true);
    } else {
      run_text("COMMIT", true, {});
      awaiting_commit_ = false;
    }
  } catch (...) {
    failed_ = true;
    if (transaction_sent_) mysql_rollback(&raw);
    end_transaction();
    throw;
  }
  end_transaction();
}

void connection::rollback() noexcept {
  std::lock_guard lock(mutex_);
  if (!handle_) {
    end_transaction();
    return;
  }
  try {
    drain_pending();
  } catch (...) {
  }
  // A transaction whose start never went out has nothing on the server to undo.
  if (!in_transaction_ || transaction_sent_) mysql_rollback(handle_.get());
  end_transaction();
}

}  // namespace mysql
