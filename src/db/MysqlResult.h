#pragma once
// The rows of one query, read whole into memory on first access.
#include <charconv>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mysql {

class connection;

using row = std::vector<std::string>;

// One row with typed access. A conversion that cannot be made (no such column,
// empty text, not a number, out of range) reports false and leaves the target as it was.
class row_view {
 public:
  explicit row_view(const row& fields) : fields_(&fields) {}

  std::size_t size() const { return fields_->size(); }
  const std::string& text(std::size_t column) const;

  bool get(std::size_t column, int32_t& target) const { return convert(column, target); }
  bool get(std::size_t column, uint32_t& target) const { return convert(column, target); }
  bool get(std::size_t column, int64_t& target) const { return convert(column, target); }

 private:
  template <typename T>
  bool convert(std::size_t column, T& target) const {
    if (column >= fields_->size()) return false;
    const std::string& field = (*fields_)[column];
    if (field.empty()) return false;
    T value{};
    const char* first = field.data();
    const char* last = field.data() + field.size();
    if (*first == '+') ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) return false;
    target = value;
    return true;
  }

  const row* fields_;
};

// Shared between a result and the connection that produced it, so that the
// connection can read the rows off the wire before it sends the next statement.
// A statement sent later (connection::exec_later) keeps its outcome here too.
struct pending_rows {
  bool fetched = false;
  std::vector<row> rows;
  uint64_t affected = 0;  // rows a statement without a result set matched
};

class result {
 public:
  result() = default;
  result(std::shared_ptr<connection> owner, std::shared_ptr<pending_rows> rows)
      : owner_(std::move(owner)), rows_(std::move(rows)) {}

  bool has_rows() { return !rows().empty(); }
  std::size_t row_count() { return rows().size(); }
  row_view operator[](std::size_t index) { return row_view(rows().at(index)); }

  // Iteration over the rows, from the first.
  class iterator {
   public:
    explicit iterator(std::vector<row>::const_iterator at) : at_(at) {}
    row_view operator*() const { return row_view(*at_); }
    iterator& operator++() {
      ++at_;
      return *this;
    }
    bool operator==(const iterator& other) const = default;

   private:
    std::vector<row>::const_iterator at_;
  };
  iterator begin() { return iterator(rows().cbegin()); }
  iterator end() { return iterator(rows().cend()); }

 private:
  const std::vector<row>& rows();

  std::shared_ptr<connection> owner_;
  std::shared_ptr<pending_rows> rows_;
};

}  // namespace mysql
