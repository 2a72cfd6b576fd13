#pragma once
// The report's one connection: tried on each host in turn, then one read-only
// snapshot for every query so that the sections agree with each other. Plain
// SELECTs under InnoDB take no locks, so the game servers' writes never wait.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Options.h"

struct st_mysql;

namespace report {

// One row while it streams; valid only inside the callback.
class Row {
 public:
  Row(char** fields, const unsigned long* lengths, unsigned count) : fields_(fields), lengths_(lengths), count_(count) {}
  bool IsNull(unsigned i) const { return i >= count_ || fields_[i] == nullptr; }
  std::string_view Text(unsigned i) const { return IsNull(i) ? std::string_view() : std::string_view(fields_[i], lengths_[i]); }
  // A whole number; nothing for NULL or text that is not one (or does not fit).
  std::optional<int64_t> Int(unsigned i) const;
  int64_t IntOr(unsigned i, int64_t fallback) const { return Int(i).value_or(fallback); }

 private:
  char** fields_;
  const unsigned long* lengths_;
  unsigned count_;
};

// Counts streamed rows on a terminal's line (nothing when standard error is not a terminal).
class Progress {
 public:
  explicit Progress(std::string label);
  ~Progress();
  void Tick();
  uint64_t Count() const { return count_; }

 private:
  std::string label_;
  uint64_t count_ = 0;
  bool terminal_;
};

class Database {
  struct Key {
    explicit Key() = default;
  };

 public:
  explicit Database(Key) {}
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // The first host that accepts; nothing and the reasons of every host otherwise.
  static std::unique_ptr<Database> Open(const Connection& connection, std::string& error);

  // Streams the rows of a query (the client keeps one row at a time).
  void Stream(const std::string& sql, const std::function<void(const Row&)>& onRow, Progress* progress = nullptr);
  // The first row only (the rest is read and dropped).
  void First(const std::string& sql, const std::function<void(const Row&)>& onRow);
  std::string Escape(std::string_view text);
  const std::string& HostUsed() const { return host_; }
  std::string ServerVersion() const;

 private:
  void Exec(const std::string& sql);
  st_mysql* handle_ = nullptr;
  std::string host_;
};

// A failed statement; the text names it.
struct QueryError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace report
