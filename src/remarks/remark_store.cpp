#include "remarks/remark_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/codepage.h"

namespace tvx {
namespace {

// Fixed SQL is written in UTF-8 directly; only user texts go through the code page.
const char* U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

const char8_t kTableName[] = u8"信息";
const char8_t kNicknameColumn[] = u8"昵称";
const char8_t kRemarkColumn[] = u8"备注";
const char8_t kCreateTable[] = u8"CREATE TABLE 信息 (昵称 TEXT, 备注 TEXT)";
const char8_t kTableExists[] =
    u8"SELECT 1 FROM sqlite_master WHERE name LIKE ?1 AND type IN ('table','view')";
const char8_t kAllColumns[] = u8"SELECT * FROM 信息 LIMIT 0";

// A text ends at its first 0 byte.
std::string_view Cut(std::string_view text) {
  const void* zero = text.empty() ? nullptr : std::memchr(text.data(), 0, text.size());
  return zero ? text.substr(0, static_cast<const char*>(zero) - text.data()) : text;
}

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// A stored text as the system reads it: up to its first 0 byte, converted
// from UTF-8 to code page 936. Equality between nicknames is decided on
// exactly this, so rows written by other programs compare the way they read.
Text ReadBack(std::string_view utf8) {
  utf8 = Cut(utf8);
  if (IsAscii(utf8)) return Text(utf8);  // code page 936 and UTF-8 agree on ASCII
  return Utf8ToCp936(utf8);
}

// A column as text: NULL gives nothing, numbers their decimal form, blobs
// their bytes.
Text ReadBack(sqlite3_stmt* stmt, int column) {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
  if (p == nullptr) return {};
  return ReadBack({p, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column))});
}

std::uint64_t HashOf(std::string_view text) { return std::hash<std::string_view>{}(text); }

class Statement {
 public:
  Statement() = default;
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool Prepare(sqlite3* db, const char* sql) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    return sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) ==
               SQLITE_OK &&
           stmt_ != nullptr;
  }
  void Finalize() {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// Resets a cached statement when the operation using it ends, so that it
// never keeps a read lock or a bound 64 KiB text alive.
class Use {
 public:
  explicit Use(const Statement& s) : stmt_(s.get()) {}
  ~Use() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  Use(const Use&) = delete;
  Use& operator=(const Use&) = delete;
  sqlite3_stmt* operator->() const { return stmt_; }
  operator sqlite3_stmt*() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_;
};

bool BindText(sqlite3_stmt* stmt, int index, const std::string& utf8) {
  // A non-null pointer with length 0 binds the empty text, never NULL.
  return sqlite3_bind_text(stmt, index, utf8.c_str(), static_cast<int>(utf8.size()),
                           SQLITE_STATIC) == SQLITE_OK;
}

// Errors that say the file or the table is not what it was bound as; locks,
// a read-only file or a full disk leave the binding as good as it was.
bool BindingLost(int rc) {
  switch (rc & 0xff) {
    case SQLITE_ERROR:
    case SQLITE_SCHEMA:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_MISUSE:
      return true;
    default:
      return false;
  }
}

}  // namespace

struct RemarkStore::Impl {
  sqlite3* db = nullptr;
  bool bound = false;

  Statement begin, beginWrite, commit, rollback, dataVersion;
  Statement scanNicknames, readRow, update, insert;

  // Every row as (hash of its nickname as read back, rowid), sorted: the rows
  // that may carry a nickname, in rowid order. A candidate counts only once
  // its row has been read and compared, so a hash collision costs one more
  // query and never a wrong row. Rebuilt whenever another connection has
  // committed (data_version moves), followed by hand for our own writes.
  using Entry = std::pair<std::uint64_t, sqlite3_int64>;
  std::vector<Entry> index;
  bool indexFresh = false;
  sqlite3_int64 indexVersion = -1;

  ~Impl() { Close(); }

  void Unbind() {
    for (Statement* s : {&begin, &beginWrite, &commit, &rollback, &dataVersion, &scanNicknames,
                         &readRow, &update, &insert})
      s->Finalize();
    index.clear();
    indexFresh = false;
    bound = false;
  }

  void Close() {
    Unbind();
    if (db) sqlite3_close_v2(db);
    db = nullptr;
  }

  bool Exec(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

  bool TableExists() {
    Statement s;
    if (!s.Prepare(db, U8(kTableExists))) return false;
    sqlite3_bind_text(s.get(), 1, U8(kTableName), -1, SQLITE_STATIC);
    return sqlite3_step(s.get()) == SQLITE_ROW;
  }

  // Finds the table (creating it when missing), checks that it has both
  // columns and prepares every statement the store runs. A table without one
  // of the columns cannot hold a remark per nickname: it stays unbound.
  bool Bind() {
    Unbind();
    if (!db) return false;
    if (!TableExists()) Exec(U8(kCreateTable));  // fails harmlessly on a file that is no database

    Statement all;
    if (!all.Prepare(db, U8(kAllColumns))) return false;
    bool hasNickname = false, hasRemark = false;
    // The rowid is named by a spelling that no column of the table takes over.
    const char* rowidNames[] = {"rowid", "_rowid_", "oid"};
    bool rowidTaken[3] = {false, false, false};
    for (int i = 0, n = sqlite3_column_count(all.get()); i < n; ++i) {
      const char* name = sqlite3_column_name(all.get(), i);
      if (!name) continue;
      if (sqlite3_stricmp(name, U8(kNicknameColumn)) == 0) hasNickname = true;
      if (sqlite3_stricmp(name, U8(kRemarkColumn)) == 0) hasRemark = true;
      for (int k = 0; k < 3; ++k)
        if (sqlite3_stricmp(name, rowidNames[k]) == 0) rowidTaken[k] = true;
    }
    const char* rowid = nullptr;
    for (int k = 0; k < 3 && !rowid; ++k)
      if (!rowidTaken[k]) rowid = rowidNames[k];
    if (!hasNickname || !hasRemark || !rowid) return false;

    const std::string r = rowid;
    const std::string t = U8(kTableName), nick = U8(kNicknameColumn), rem = U8(kRemarkColumn);
    bool ok = begin.Prepare(db, "BEGIN") && beginWrite.Prepare(db, "BEGIN IMMEDIATE") &&
              commit.Prepare(db, "COMMIT") && rollback.Prepare(db, "ROLLBACK") &&
              dataVersion.Prepare(db, "PRAGMA data_version") &&
              scanNicknames.Prepare(
                  db, ("SELECT " + r + ", " + nick + " FROM " + t + " ORDER BY " + r).c_str()) &&
              readRow.Prepare(db, ("SELECT " + nick + ", " + rem + " FROM " + t + " WHERE " + r + "=?1")
                                      .c_str()) &&
              update.Prepare(db, ("UPDATE " + t + " SET " + nick + "=?1," + rem + "=?2 WHERE " + r +
                                  "=?3").c_str()) &&
              insert.Prepare(db, ("INSERT INTO " + t + " (" + nick + "," + rem + ") VALUES (?1,?2)")
                                     .c_str());
    if (!ok) {
      Unbind();
      return false;
    }
    bound = true;
    return true;
  }

  // A store whose binding failed tries again on its next use: a lock held by
  // another program at start-up must not cost the whole session.
  bool EnsureBound() { return bound || Bind(); }

  // Inside a transaction: brings the nickname index up to date.
  bool EnsureIndex() {
    sqlite3_int64 version;
    {
      Use s(dataVersion);
      if (sqlite3_step(s) != SQLITE_ROW) return false;
      version = sqlite3_column_int64(s, 0);
    }
    if (indexFresh && version == indexVersion) return true;
    index.clear();
    indexFresh = false;
    Use s(scanNicknames);
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW)
      index.emplace_back(HashOf(ReadBack(s, 1)), sqlite3_column_int64(s, 0));
    if (rc != SQLITE_DONE) {
      index.clear();
      return false;
    }
    std::sort(index.begin(), index.end());
    indexFresh = true;
    indexVersion = version;
    return true;
  }

  // The first row in rowid order whose nickname reads back as nickname: 1 and
  // its rowid and remark, 0 when there is none, -1 with rc on a read error.
  int Find(const Text& nickname, sqlite3_int64& row, Text* remark, int& rc) {
    const std::uint64_t h = HashOf(nickname);
    auto it = std::lower_bound(index.begin(), index.end(), Entry{h, INT64_MIN});
    for (; it != index.end() && it->first == h; ++it) {
      Use s(readRow);
      sqlite3_bind_int64(s, 1, it->second);
      rc = sqlite3_step(s);
      if (rc == SQLITE_DONE) continue;
      if (rc != SQLITE_ROW) return -1;
      if (ReadBack(s, 0) != nickname) continue;
      row = it->second;
      if (remark) *remark = ReadBack(s, 1);
      return 1;
    }
    rc = SQLITE_OK;
    return 0;
  }

  void Forget(std::uint64_t h, sqlite3_int64 row) {
    auto it = std::lower_bound(index.begin(), index.end(), Entry{h, row});
    if (it != index.end() && *it == Entry{h, row}) index.erase(it);
  }
  void Remember(std::uint64_t h, sqlite3_int64 row) {
    const Entry e{h, row};
    index.insert(std::lower_bound(index.begin(), index.end(), e), e);
  }

  // Starts the transaction of one lookup or save. A transaction that an
  // earlier failure left open is rolled back first.
  bool Begin(const Statement& how) {
    if (!sqlite3_get_autocommit(db)) {
      Use r(rollback);
      sqlite3_step(r);
    }
    Use b(how);
    return sqlite3_step(b) == SQLITE_DONE;
  }

  void End(bool ok) {
    if (ok) {
      Use s(commit);
      if (sqlite3_step(s) == SQLITE_DONE) return;
    }
    Use s(rollback);
    sqlite3_step(s);
  }

  // The table may have changed under us: bind afresh at the next use.
  void Failed(int rc) {
    if (BindingLost(rc)) Unbind();
  }
};

RemarkStore::RemarkStore() : impl_(new Impl) {}
RemarkStore::~RemarkStore() { delete impl_; }

bool RemarkStore::Open(std::string_view path) {
  impl_->Close();
  sqlite3* db = nullptr;
  const std::string utf8 = Cp936ToUtf8(Cut(path));
  if (sqlite3_open_v2(utf8.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    sqlite3_close_v2(db);
    return false;
  }
  sqlite3_extended_result_codes(db, 1);
  impl_->db = db;
  if (!impl_->Bind()) return false;
  // Reading the nicknames now makes the first lookup as quick as the others.
  if (impl_->Begin(impl_->begin)) impl_->End(impl_->EnsureIndex());
  return true;
}

void RemarkStore::Close() { impl_->Close(); }

bool RemarkStore::IsBound() const { return impl_->bound; }

Text RemarkStore::LookUp(std::string_view nickname) {
  Impl& m = *impl_;
  if (!m.EnsureBound()) return {};
  if (!m.Begin(m.begin)) return {};
  Text remark;
  sqlite3_int64 row = 0;
  int rc = SQLITE_OK;
  bool ok = m.EnsureIndex();
  if (ok)
    ok = m.Find(Text(Cut(nickname)), row, &remark, rc) >= 0;
  else
    rc = sqlite3_errcode(m.db);
  m.End(ok);
  if (!ok) m.Failed(rc);
  return ok ? remark : Text();
}

bool RemarkStore::Save(std::string_view nickname, std::string_view remark) {
  Impl& m = *impl_;
  if (!m.EnsureBound()) return false;
  // Takes the write lock at once: a table locked by another program fails
  // here, without waiting, before anything is searched.
  if (!m.Begin(m.beginWrite)) return false;
  const Text nick(Cut(nickname));
  const std::string nickUtf8 = Cp936ToUtf8(nick);
  const std::string remarkUtf8 = Cp936ToUtf8(Cut(remark));

  bool ok = m.EnsureIndex();
  int rc = ok ? SQLITE_OK : sqlite3_errcode(m.db);
  sqlite3_int64 row = 0;
  bool found = false;
  if (ok) {
    const int f = m.Find(nick, row, nullptr, rc);
    ok = f >= 0;
    found = f == 1;
  }
  if (ok) {
    Use s(found ? m.update : m.insert);
    ok = BindText(s, 1, nickUtf8) && BindText(s, 2, remarkUtf8) &&
         (!found || sqlite3_bind_int64(s, 3, row) == SQLITE_OK);
    rc = ok ? sqlite3_step(s) : SQLITE_MISUSE;
    ok = rc == SQLITE_DONE && sqlite3_changes(m.db) == 1;
    if (!found) row = sqlite3_last_insert_rowid(m.db);
  }
  if (ok) {
    Use c(m.commit);
    rc = sqlite3_step(c);
    ok = rc == SQLITE_DONE;
  }
  if (!ok) {
    {
      Use r(m.rollback);
      sqlite3_step(r);
    }
    m.indexFresh = false;
    m.Failed(rc);
    return false;
  }

  // Our own commits leave data_version where it was: follow them here. The
  // row reads back as what was written, which differs from nick only for a
  // nickname that code page 936 and UTF-8 do not carry alike.
  const std::uint64_t stored = HashOf(ReadBack(nickUtf8));
  if (found && stored == HashOf(nick)) return true;
  if (found) m.Forget(HashOf(nick), row);
  m.Remember(stored, row);
  return true;
}

}  // namespace tvx
