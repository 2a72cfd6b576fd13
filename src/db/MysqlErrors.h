#pragma once
// Errors of the thin MySQL client layer.
#include <exception>
#include <string>

#include <fmt/format.h>

namespace mysql {

// A statement or call the server or the client library rejected.
class mysql_exception : public std::exception {
 public:
  mysql_exception(unsigned int number, std::string text, std::string statement = {})
      : number_(number), text_(std::move(text)), statement_(std::move(statement)) {}
  unsigned int error_number() const noexcept { return number_; }
  const char* what() const noexcept override { return text_.c_str(); }
  // The name of the statement that failed when it was sent together with others
  // (connection::exec_later); empty when it is the statement the caller sent.
  const std::string& statement() const noexcept { return statement_; }

 private:
  unsigned int number_;
  std::string text_;
  std::string statement_;
};

// The connection was lost, or an answer did not come within the read timeout,
// after a statement that commits went to the server: a COMMIT, or any statement
// outside an explicit transaction (it commits on its own). The server may have
// committed it or not, and this session cannot tell any more: the answer is on a
// new connection, in the database itself. A failure before the commit was sent is
// an ordinary mysql_exception: nothing of the transaction was kept.
class commit_unknown : public mysql_exception {
 public:
  using mysql_exception::mysql_exception;
};

// Errors that mean the session is gone (or no answer came in time) rather than
// that the server refused a statement: the client library's lost and gone
// connections, read and write failures, and the server ending the session
// (a kill, a shutdown).
bool is_connection_lost(unsigned int number) noexcept;

// An error of the layer itself, such as using a closed connection.
class mysqlpp_exception : public std::exception {
 public:
  explicit mysqlpp_exception(int code) : code_(code), text_(fmt::format("Error: {}", code)) {}
  int code() const noexcept { return code_; }
  const char* what() const noexcept override { return text_.c_str(); }

 private:
  int code_;
  std::string text_;
};

// Codes of mysqlpp_exception.
inline constexpr int kNotConnected = 1;

}  // namespace mysql
