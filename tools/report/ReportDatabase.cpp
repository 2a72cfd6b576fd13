#include "ReportDatabase.h"

#include <mysql.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>

namespace report {

std::optional<int64_t> Row::Int(unsigned i) const {
  if (IsNull(i)) return std::nullopt;
  const char* begin = fields_[i];
  const char* end = begin + lengths_[i];
  int64_t value = 0;
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || stop != end || begin == end) {
    // Sums of whole numbers come back as DECIMAL text ("12.0000") from some expressions.
    const std::string_view text(begin, lengths_[i]);
    const auto dot = text.find('.');
    if (dot == std::string_view::npos || text.find_first_not_of('0', dot + 1) != std::string_view::npos)
      return std::nullopt;
    const auto [stop2, error2] = std::from_chars(begin, begin + dot, value);
    if (error2 != std::errc() || stop2 != begin + dot || dot == 0) return std::nullopt;
  }
  return value;
}

Progress::Progress(std::string label) : label_(std::move(label)), terminal_(::isatty(STDERR_FILENO) == 1) {}

Progress::~Progress() {
  if (terminal_ && count_ >= 100000) std::fprintf(stderr, "\r%-60s\r", "");
}

void Progress::Tick() {
  ++count_;
  if (terminal_ && count_ % 100000 == 0) {
    std::fprintf(stderr, "\rreading %s: %llu rows", label_.c_str(), static_cast<unsigned long long>(count_));
    std::fflush(stderr);
  }
}

Database::~Database() {
  if (handle_ != nullptr) mysql_close(handle_);
}

std::unique_ptr<Database> Database::Open(const Connection& connection, std::string& error) {
  error.clear();
  for (const Endpoint& endpoint : connection.Hosts) {
    auto db = std::make_unique<Database>(Key{});
    db->handle_ = mysql_init(nullptr);
    if (db->handle_ == nullptr) {
      error = "the client library could not start";
      return nullptr;
    }
    const unsigned timeout = 10;
    mysql_optionsv(db->handle_, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
    mysql_optionsv(db->handle_, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    if (mysql_real_connect(db->handle_, endpoint.Host.c_str(), connection.User.c_str(), connection.Password.c_str(),
                           connection.Database.c_str(), endpoint.Port, nullptr, 0) == nullptr) {
      if (!error.empty()) error += "; ";
      error += endpoint.Host + ":" + std::to_string(endpoint.Port) + ": " + mysql_error(db->handle_);
      continue;
    }
    db->host_ = endpoint.Host + ":" + std::to_string(endpoint.Port);
    try {
      // One snapshot for all sections; READ ONLY refuses any write by mistake.
      db->Exec("SET SESSION TRANSACTION ISOLATION LEVEL REPEATABLE READ");
      db->Exec("START TRANSACTION WITH CONSISTENT SNAPSHOT, READ ONLY");
    } catch (const QueryError& e) {
      if (!error.empty()) error += "; ";
      error += db->host_ + ": " + e.what();
      continue;
    }
    error.clear();
    return db;
  }
  if (connection.Hosts.empty()) error = "no database server named";
  return nullptr;
}

void Database::Exec(const std::string& sql) {
  if (mysql_real_query(handle_, sql.data(), sql.size()) != 0) throw QueryError(mysql_error(handle_));
  if (MYSQL_RES* result = mysql_store_result(handle_)) mysql_free_result(result);
}

void Database::Stream(const std::string& sql, const std::function<void(const Row&)>& onRow, Progress* progress) {
  if (mysql_real_query(handle_, sql.data(), sql.size()) != 0) throw QueryError(mysql_error(handle_));
  MYSQL_RES* result = mysql_use_result(handle_);
  if (result == nullptr) {
    if (mysql_errno(handle_) != 0) throw QueryError(mysql_error(handle_));
    return;
  }
  const unsigned count = mysql_num_fields(result);
  std::string failure;
  while (MYSQL_ROW fields = mysql_fetch_row(result)) {
    if (!failure.empty()) continue;  // the rest must be read before the next query
    try {
      onRow(Row(fields, mysql_fetch_lengths(result), count));
    } catch (const std::exception& e) {
      failure = e.what();
    }
    if (progress != nullptr) progress->Tick();
  }
  const bool broken = mysql_errno(handle_) != 0;
  const std::string text = broken ? mysql_error(handle_) : "";
  mysql_free_result(result);
  if (broken) throw QueryError(text);
  if (!failure.empty()) throw QueryError(failure);
}

void Database::First(const std::string& sql, const std::function<void(const Row&)>& onRow) {
  bool first = true;
  Stream(sql, [&](const Row& row) {
    if (first) onRow(row);
    first = false;
  });
}

std::string Database::Escape(std::string_view text) {
  std::string out(text.size() * 2 + 1, '\0');
  out.resize(mysql_real_escape_string(handle_, out.data(), text.data(), text.size()));
  return out;
}

std::string Database::ServerVersion() const { return mysql_get_server_info(handle_); }

}  // namespace report
