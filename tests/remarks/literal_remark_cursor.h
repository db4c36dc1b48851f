#pragma once
// A reference remark store that walks table 信息 the slow, obvious way: a
// snapshot of the rowids, then one single-row query per row and column, in
// rowid order, until the first row whose nickname reads back equal. The tests
// hold RemarkStore to its answers on odd tables; the benchmark measures
// against it. Its statements are prepared once, which is the kindest form of
// the walk.
#include <sqlite3.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/text.h"

namespace tvx::testing {

class LiteralRemarkCursor {
 public:
  explicit LiteralRemarkCursor(const std::string& utf8Path) {
    if (sqlite3_open_v2(utf8Path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
      sqlite3_close_v2(db_);
      db_ = nullptr;
    }
    Requery();
  }
  ~LiteralRemarkCursor() {
    Finalize();
    sqlite3_close_v2(db_);
  }
  LiteralRemarkCursor(const LiteralRemarkCursor&) = delete;
  LiteralRemarkCursor& operator=(const LiteralRemarkCursor&) = delete;

  bool Requery() {
    Finalize();
    columns_.clear();
    rowids_.clear();
    if (!db_) return false;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, reinterpret_cast<const char*>(u8"SELECT * FROM 信息 LIMIT 0"), -1,
                           &s, nullptr) != SQLITE_OK)
      return false;
    for (int i = 0; i < sqlite3_column_count(s); ++i) columns_.push_back(sqlite3_column_name(s, i));
    sqlite3_finalize(s);
    if (sqlite3_prepare_v2(db_, reinterpret_cast<const char*>(u8"SELECT rowid FROM 信息 ORDER BY rowid"),
                           -1, &s, nullptr) != SQLITE_OK)
      return false;
    while (sqlite3_step(s) == SQLITE_ROW) rowids_.push_back(sqlite3_column_int64(s, 0));
    sqlite3_finalize(s);
    for (const char* col : {reinterpret_cast<const char*>(u8"昵称"), reinterpret_cast<const char*>(u8"备注")}) {
      sqlite3_stmt* r = nullptr;
      if (HasColumn(col))
        sqlite3_prepare_v2(db_, (std::string("SELECT ") + col + reinterpret_cast<const char*>(u8" FROM 信息 WHERE rowid=?")).c_str(), -1, &r, nullptr);
      reads_.push_back(r);
    }
    return true;
  }

  std::size_t RecordCount() const { return rowids_.size(); }

  Text LookUp(const Text& nickname) {
    for (std::size_t k = 0; k < rowids_.size(); ++k)
      if (ReadText(k, 0) == nickname) return ReadText(k, 1);
    return {};
  }

  bool Save(const Text& nickname, const Text& remark) {
    std::size_t k = 0;
    while (k < rowids_.size() && ReadText(k, 0) != nickname) ++k;
    std::string names, assigns, marks;
    std::vector<std::string> values;
    const char* cols[] = {reinterpret_cast<const char*>(u8"昵称"), reinterpret_cast<const char*>(u8"备注")};
    const Text* texts[] = {&nickname, &remark};
    for (int c = 0; c < 2; ++c) {
      if (!HasColumn(cols[c])) continue;
      names += std::string(cols[c]) + ",";
      assigns += std::string(cols[c]) + "=?,";
      marks += "?,";
      values.push_back(Cp936ToUtf8(*texts[c]));
    }
    if (values.empty()) return false;
    names.pop_back();
    assigns.pop_back();
    marks.pop_back();
    const std::string table = reinterpret_cast<const char*>(u8"信息");
    const std::string sql =
        k < rowids_.size()
            ? "UPDATE " + table + " SET " + assigns + " WHERE _ROWID_=" + std::to_string(rowids_[k])
            : "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")";
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr) != SQLITE_OK) return false;
    for (std::size_t i = 0; i < values.size(); ++i)
      sqlite3_bind_text(s, static_cast<int>(i + 1), values[i].c_str(), static_cast<int>(values[i].size()),
                        SQLITE_TRANSIENT);
    const bool done = sqlite3_step(s) == SQLITE_DONE;
    sqlite3_finalize(s);
    Requery();
    return done;
  }

 private:
  bool HasColumn(const char* name) const {
    for (const auto& c : columns_)
      if (sqlite3_stricmp(c.c_str(), name) == 0) return true;
    return false;
  }

  // column 0 = 昵称, 1 = 备注; the value as text, up to its first 0 byte.
  Text ReadText(std::size_t k, int column) {
    sqlite3_stmt* s = reads_.size() > static_cast<std::size_t>(column) ? reads_[column] : nullptr;
    if (!s) return {};
    sqlite3_bind_int64(s, 1, rowids_[k]);
    Text out;
    if (sqlite3_step(s) == SQLITE_ROW) {
      const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
      if (p) out = Utf8ToCp936(std::string_view(p, std::strlen(p)));
    }
    sqlite3_reset(s);
    return out;
  }

  void Finalize() {
    for (auto* s : reads_) sqlite3_finalize(s);
    reads_.clear();
  }

  sqlite3* db_ = nullptr;
  std::vector<std::string> columns_;
  std::vector<sqlite3_int64> rowids_;
  std::vector<sqlite3_stmt*> reads_;
};

}  // namespace tvx::testing
