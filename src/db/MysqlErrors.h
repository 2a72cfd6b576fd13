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
