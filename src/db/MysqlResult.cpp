#include "db/MysqlResult.h"

#include "db/MysqlConnection.h"

namespace mysql {

const std::string& row_view::text(std::size_t column) const {
  static const std::string empty;
  return column < fields_->size() ? (*fields_)[column] : empty;
}

const std::vector<row>& result::rows() {
  static const std::vector<row> none;
  if (!rows_) return none;
  if (!rows_->fetched && owner_) owner_->fetch(*rows_);
  return rows_->rows;
}

}  // namespace mysql
