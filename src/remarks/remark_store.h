#pragma once
// The remark store: one table 信息 (昵称 TEXT, 备注 TEXT) in Corvessa.db, keyed by
// nickname, first row in rowid order wins. Texts cross as code page 936; each
// ends at its first 0 byte. A stored value is compared the way it reads back
// as text: NULL reads as the empty text, a number as its decimal form, a blob
// as its bytes, all converted from UTF-8.
//
// No call waits for a lock: a database that another program holds gives an
// empty lookup or a failed save at once. A store that could not bind its
// table (locked or missing at start-up) tries again at its next use; changes
// committed by other programs are seen at the next call.
#include <string_view>

#include "platform/text.h"

namespace tvx {

// The database file: the run directory followed by this.
inline constexpr char kRemarkDatabaseSuffix[] = "/Corvessa.db";
// The save feedback in 透明标签1, and how long it shows.
inline constexpr char kRemarkSavedText[] = "已保存";
inline constexpr char kRemarkSaveFailedText[] = "保存失败";
inline constexpr int kSaveFeedbackMs = 300;

class RemarkStore {
 public:
  RemarkStore();
  ~RemarkStore();
  RemarkStore(const RemarkStore&) = delete;
  RemarkStore& operator=(const RemarkStore&) = delete;

  // Opens or creates the database at path (code page 936) and creates table 信息
  // when missing. False leaves the store unbound: lookups find nothing, saves fail.
  bool Open(std::string_view path);
  void Close();
  bool IsBound() const;

  // The remark of the first row whose 昵称 equals nickname; empty when none.
  Text LookUp(std::string_view nickname);
  // Updates the first matching row (both columns) or inserts one. True when written.
  bool Save(std::string_view nickname, std::string_view remark);

 private:
  struct Impl;
  Impl* impl_;
};

}  // namespace tvx
