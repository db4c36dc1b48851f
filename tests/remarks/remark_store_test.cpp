#include "remarks/remark_store.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include "platform/codepage.h"
#include "remarks/literal_remark_cursor.h"

namespace tvx {
namespace {

namespace fs = std::filesystem;

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

// Paths in these tests are ASCII except where a test says otherwise, so the
// same string serves the store (code page 936) and SQLite (UTF-8).
class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    std::random_device rd;
    dir_ = fs::temp_directory_path() /
           ("tvx_remarks_" + std::to_string(rd()) + "_" + std::to_string(counter++));
    fs::create_directories(dir_);
  }
  ~TempDir() {
    std::error_code ec;
    fs::permissions(dir_ / "Corvessa.db", fs::perms::owner_all, ec);
    fs::remove_all(dir_, ec);
  }
  fs::path path() const { return dir_; }
  std::string File(const std::string& name = "Corvessa.db") const {
    return (dir_ / name).generic_string();
  }

 private:
  fs::path dir_;
};

// A second connection, as another program would hold one.
class RawDb {
 public:
  explicit RawDb(const std::string& utf8Path) {
    if (sqlite3_open_v2(utf8Path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
      ADD_FAILURE() << "cannot open " << utf8Path;
  }
  ~RawDb() { sqlite3_close_v2(db_); }
  int Exec(const std::string& sql) {
    char* err = nullptr;
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err);
    sqlite3_free(err);
    return rc;
  }
  void MustExec(const std::string& sql) { ASSERT_EQ(Exec(sql), SQLITE_OK) << sql << ": " << sqlite3_errmsg(db_); }
  // Every row of the query, its columns joined by '|'.
  std::vector<std::string> Rows(const std::string& sql) {
    std::vector<std::string> rows;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
      return rows;
    }
    while (sqlite3_step(s) == SQLITE_ROW) {
      std::string row;
      for (int i = 0; i < sqlite3_column_count(s); ++i) {
        if (i) row += '|';
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
        row += p ? std::string(p, sqlite3_column_bytes(s, i)) : "<null>";
      }
      rows.push_back(row);
    }
    sqlite3_finalize(s);
    return rows;
  }
  std::vector<std::string> Dump() {
    return Rows(U8(u8"SELECT rowid, quote(昵称), quote(备注) FROM 信息 ORDER BY rowid"));
  }

 private:
  sqlite3* db_ = nullptr;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// --- start-up: the file and its table ---

TEST(RemarkStoreOpen, CreatesTheFileWithExactlyTheTableDefinition) {
  TempDir dir;
  RemarkStore store;
  ASSERT_TRUE(store.Open(dir.File()));
  EXPECT_TRUE(store.IsBound());
  store.Close();
  RawDb raw(dir.File());
  EXPECT_EQ(raw.Rows("SELECT type, name, sql FROM sqlite_master"),
            std::vector<std::string>{U8(u8"table|信息|CREATE TABLE 信息 (昵称 TEXT, 备注 TEXT)")});
}

TEST(RemarkStoreOpen, AFileThatHasTheTableIsNotAltered) {
  TempDir dir;
  {
    RawDb raw(dir.File());
    raw.MustExec(U8(u8"CREATE TABLE 信息 (备注 TEXT, 昵称 TEXT, 时间 INTEGER);"
                    u8"INSERT INTO 信息 VALUES ('老朋友', '张三', 7);"));
  }
  const std::string before = ReadFile(dir.File());
  {
    RemarkStore store;
    ASSERT_TRUE(store.Open(dir.File()));
    EXPECT_EQ(store.LookUp("张三"), "老朋友");
    EXPECT_EQ(store.LookUp("李四"), "");
  }
  EXPECT_EQ(ReadFile(dir.File()), before);
  EXPECT_FALSE(fs::exists(dir.File("Corvessa.db-journal")));
}

TEST(RemarkStoreOpen, AFileWithoutTheTableGetsItAndKeepsTheRest) {
  TempDir dir;
  {
    RawDb raw(dir.File());
    raw.MustExec("CREATE TABLE other (x); INSERT INTO other VALUES (42);");
  }
  RemarkStore store;
  ASSERT_TRUE(store.Open(dir.File()));
  EXPECT_TRUE(store.Save("张三", "备注"));
  RawDb raw(dir.File());
  EXPECT_EQ(raw.Rows("SELECT x FROM other"), std::vector<std::string>{"42"});
  EXPECT_EQ(raw.Rows(U8(u8"SELECT sql FROM sqlite_master WHERE name='信息'")),
            std::vector<std::string>{U8(u8"CREATE TABLE 信息 (昵称 TEXT, 备注 TEXT)")});
}

TEST(RemarkStoreOpen, APathWithChineseFoldersIsConvertedForSQLite) {
  TempDir dir;
  const fs::path folder = dir.path() / fs::path(u8"好友备注");
  fs::create_directories(folder);
  RemarkStore store;
  // The store takes code page 936; the narrow literal is code page 936.
  ASSERT_TRUE(store.Open(dir.path().generic_string() + "/好友备注/Corvessa.db"));
  EXPECT_TRUE(store.Save("a", "b"));
  EXPECT_TRUE(fs::exists(folder / "Corvessa.db"));
}

TEST(RemarkStoreOpen, AMissingFolderLeavesTheStoreUnboundAndHarmless) {
  TempDir dir;
  RemarkStore store;
  EXPECT_FALSE(store.Open(dir.File("no/such/folder/Corvessa.db")));
  EXPECT_FALSE(store.IsBound());
  EXPECT_EQ(store.LookUp(""), "");
  EXPECT_FALSE(store.Save("a", "b"));
  RemarkStore never;
  EXPECT_EQ(never.LookUp("a"), "");
  EXPECT_FALSE(never.Save("a", "b"));
}

// --- lookup and save ---

class RemarkStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(store.Open(dir.File())); }
  TempDir dir;
  RemarkStore store;
};

TEST_F(RemarkStoreTest, SavesInsertThenUpdateTheFirstRowOnly) {
  EXPECT_EQ(store.LookUp("张三"), "");
  EXPECT_TRUE(store.Save("张三", "同事"));
  EXPECT_EQ(store.LookUp("张三"), "同事");
  EXPECT_TRUE(store.Save("张三", "老同事"));
  EXPECT_EQ(store.LookUp("张三"), "老同事");
  // Letter case and a trailing space make other nicknames.
  EXPECT_TRUE(store.Save("Tom", "1"));
  EXPECT_TRUE(store.Save("tom", "2"));
  EXPECT_TRUE(store.Save("Tom ", "3"));
  EXPECT_EQ(store.LookUp("Tom"), "1");
  EXPECT_EQ(store.LookUp("tom"), "2");
  EXPECT_EQ(store.LookUp("Tom "), "3");
  EXPECT_EQ(store.LookUp("TOM"), "");
  RawDb raw(dir.File());
  EXPECT_EQ(raw.Dump(), (std::vector<std::string>{U8(u8"1|'张三'|'老同事'"), "2|'Tom'|'1'", "3|'tom'|'2'",
                                                  "4|'Tom '|'3'"}));
}

TEST_F(RemarkStoreTest, EmptyTextsAreStoredAsTextNeverNull) {
  EXPECT_TRUE(store.Save("", "无名"));
  EXPECT_EQ(store.LookUp(""), "无名");
  EXPECT_TRUE(store.Save("张三", ""));
  EXPECT_EQ(store.LookUp("张三"), "");
  RawDb raw(dir.File());
  EXPECT_EQ(raw.Rows(U8(u8"SELECT typeof(昵称), typeof(备注) FROM 信息 ORDER BY rowid")),
            (std::vector<std::string>{"text|text", "text|text"}));
}

TEST_F(RemarkStoreTest, DuplicateRowsMadeElsewhereShowAndUpdateTheLowestRowid) {
  {
    RawDb raw(dir.File());
    raw.MustExec(U8(u8"INSERT INTO 信息 VALUES ('张三', '一'), ('李四', 'x'), ('张三', '二')"));
  }
  EXPECT_EQ(store.LookUp("张三"), "一");
  EXPECT_TRUE(store.Save("张三", "改"));
  RawDb raw(dir.File());
  EXPECT_EQ(raw.Dump(), (std::vector<std::string>{U8(u8"1|'张三'|'改'"), U8(u8"2|'李四'|'x'"),
                                                  U8(u8"3|'张三'|'二'")}));
}

TEST_F(RemarkStoreTest, LongAndMultiLineTextsComeBackByteForByte) {
  Text nickname, remark;
  while (nickname.size() < 64 * 1024) nickname += "昵";  // two bytes each
  for (int i = 0; remark.size() < 64 * 1024; ++i) remark += "第" + std::to_string(i) + "行\r\n";
  remark += "\r\n\r\n最后一行 ";
  ASSERT_TRUE(store.Save(nickname, remark));
  EXPECT_EQ(store.LookUp(nickname), remark);
  EXPECT_EQ(store.LookUp(nickname.substr(2)), "");
  store.Close();
  RemarkStore again;
  ASSERT_TRUE(again.Open(dir.File()));
  EXPECT_EQ(again.LookUp(nickname), remark);
  RawDb raw(dir.File());
  EXPECT_EQ(raw.Rows(U8(u8"SELECT length(CAST(备注 AS BLOB)) FROM 信息")),
            std::vector<std::string>{std::to_string(Cp936ToUtf8(remark).size())});
}

TEST_F(RemarkStoreTest, ATextEndsAtItsFirstZeroByte) {
  EXPECT_TRUE(store.Save(std::string("ab\0cd", 5), std::string("x\0y", 3)));
  EXPECT_EQ(store.LookUp("ab"), "x");
  RawDb raw(dir.File());
  EXPECT_EQ(raw.Dump(), std::vector<std::string>{"1|'ab'|'x'"});
}

TEST_F(RemarkStoreTest, ASavedRowIsOnDiskAtOnce) {
  ASSERT_TRUE(store.Save("张三", "第一行\r\n第二行"));
  {
    RawDb other(dir.File());  // another program, while the store is still open
    EXPECT_EQ(other.Dump(), std::vector<std::string>{U8(u8"1|'张三'|'第一行\r\n第二行'")});
  }
  store.Close();
  RemarkStore next;
  ASSERT_TRUE(next.Open(dir.File()));
  EXPECT_EQ(next.LookUp("张三"), "第一行\r\n第二行");
}

TEST_F(RemarkStoreTest, ChangesByAnotherProgramAreSeenAtTheNextLookup) {
  ASSERT_TRUE(store.Save("甲", "1"));
  EXPECT_EQ(store.LookUp("乙"), "");
  RawDb other(dir.File());
  other.MustExec(U8(u8"INSERT INTO 信息 VALUES ('乙', '2')"));
  EXPECT_EQ(store.LookUp("乙"), "2");
  other.MustExec(U8(u8"UPDATE 信息 SET 昵称 = '丙' WHERE 昵称 = '甲'"));
  EXPECT_EQ(store.LookUp("甲"), "");
  EXPECT_EQ(store.LookUp("丙"), "1");
  // A row put before all others by its rowid wins from then on.
  other.MustExec(U8(u8"INSERT INTO 信息 (rowid, 昵称, 备注) VALUES (-5, '乙', '前')"));
  EXPECT_EQ(store.LookUp("乙"), "前");
  EXPECT_TRUE(store.Save("乙", "改"));
  EXPECT_EQ(other.Rows(U8(u8"SELECT rowid, 备注 FROM 信息 WHERE 昵称='乙' ORDER BY rowid")),
            (std::vector<std::string>{U8(u8"-5|改"), "2|2"}));
  other.MustExec(U8(u8"DELETE FROM 信息 WHERE rowid = -5"));
  EXPECT_EQ(store.LookUp("乙"), "2");
  // The table replaced by one without the columns, then by a proper one again.
  other.MustExec(U8(u8"DROP TABLE 信息; CREATE TABLE 信息 (a, b); INSERT INTO 信息 VALUES ('乙', '2');"));
  EXPECT_EQ(store.LookUp("乙"), "");
  EXPECT_FALSE(store.Save("乙", "x"));
  other.MustExec(U8(u8"DROP TABLE 信息; CREATE TABLE 信息 (昵称 TEXT, 备注 TEXT);"));
  EXPECT_TRUE(store.Save("乙", "新"));
  EXPECT_EQ(store.LookUp("乙"), "新");
  EXPECT_EQ(other.Dump(), std::vector<std::string>{U8(u8"1|'乙'|'新'")});
}

// --- exactness against the row-by-row walk, on values other programs wrote ---

// Nicknames and remarks of every kind SQLite can hold, in a table whose
// columns have no type (so nothing is converted on the way in) and a
// case-blind collation, with the columns in another order.
const char8_t kOddTable[] =
    u8"CREATE TABLE 信息 (备注, 序号 INTEGER, 昵称 COLLATE NOCASE);"
    u8"INSERT INTO 信息 (昵称, 备注) VALUES"
    u8" (NULL, 'null nickname'), ('', 'empty nickname'),"
    u8" (123, 456), (1.5, NULL), (1e20, 'big'), ('0123', 'text digits'),"
    u8" (x'6100626364', x'e5a5bd'), ('a', 'second a'), ('A', 'capital'), ('a ', 'space'),"
    u8" (CAST(x'62006364' AS TEXT), 'b with zero'), (x'ff', 'bad utf8'), ('😀', 'emoji'),"
    u8" ('?', 'question'), ('张三', 'line1' || char(13,10) || 'line2'), ('张三', 'second'),"
    u8" (x'e5bca0e4b889', 'blob zhang'), ('Ab', CAST(x'78007a' AS TEXT)), (x'', 'empty blob'),"
    u8" ('好友', x'ffe5a5bd');";

std::vector<Text> OddQueries() {
  return {"", "a", "A", "a ", "b", "bcd", "123", "456", "1.5", "1.0e+20", "100000000000000000000",
          "0123", "?", "张三", "好", "Ab", "ab", "好友", "nope", "\x81", "null nickname"};
}

TEST(RemarkStoreExactness, LookUpAgreesWithTheRowByRowWalkOnOddValues) {
  TempDir dir;
  {
    RawDb raw(dir.File());
    raw.MustExec(U8(kOddTable));
  }
  RemarkStore store;
  ASSERT_TRUE(store.Open(dir.File()));
  testing::LiteralRemarkCursor literal(dir.File());
  ASSERT_EQ(literal.RecordCount(), 20u);
  for (const Text& q : OddQueries())
    EXPECT_EQ(store.LookUp(q), literal.LookUp(q)) << "nickname '" << Cp936ToUtf8(q) << "'";
  // Spot checks that the walk itself reads as intended.
  EXPECT_EQ(store.LookUp(""), "null nickname");
  EXPECT_EQ(store.LookUp("a"), "好");
  EXPECT_EQ(store.LookUp("123"), "456");
  EXPECT_EQ(store.LookUp("1.5"), "");
  EXPECT_EQ(store.LookUp("b"), "b with zero");
  EXPECT_EQ(store.LookUp("张三"), "line1\r\nline2");
  EXPECT_EQ(store.LookUp("Ab"), "x");
}

TEST(RemarkStoreExactness, SavesWriteWhatTheRowByRowWalkWrites) {
  TempDir dir;
  const std::string mine = dir.File("mine.db"), walk = dir.File("walk.db");
  {
    RawDb raw(mine);
    raw.MustExec(U8(kOddTable));
  }
  fs::copy_file(mine, walk);
  {
    RemarkStore store;
    ASSERT_TRUE(store.Open(mine));
    testing::LiteralRemarkCursor literal(walk);
    int i = 0;
    for (const Text& q : OddQueries()) {
      const Text remark = "r" + std::to_string(i++) + "\r\n" + q;
      EXPECT_EQ(store.Save(q, remark), literal.Save(q, remark)) << Cp936ToUtf8(q);
    }
    for (const Text& q : OddQueries()) EXPECT_EQ(store.LookUp(q), literal.LookUp(q)) << Cp936ToUtf8(q);
  }
  RawDb a(mine), b(walk);
  EXPECT_EQ(a.Rows(U8(u8"SELECT rowid, quote(昵称), quote(备注), quote(序号) FROM 信息 ORDER BY rowid")),
            b.Rows(U8(u8"SELECT rowid, quote(昵称), quote(备注), quote(序号) FROM 信息 ORDER BY rowid")));
  EXPECT_EQ(a.Rows(U8(u8"SELECT count(*) FROM 信息 WHERE 昵称 IS NULL OR 备注 IS NULL")),
            std::vector<std::string>{"0"});  // the saves of "" and "1.5" replaced both NULLs
}

// --- tables that cannot hold remarks ---

TEST(RemarkStoreSchema, TablesWithoutBothColumnsReadEmptyAndRefuseSaves) {
  const char8_t* cases[] = {
      u8"CREATE TABLE 信息 (a, b); INSERT INTO 信息 VALUES ('张三', 'x');",
      // Without a nickname column every row would read as the empty nickname.
      u8"CREATE TABLE 信息 (名字 TEXT, 备注 TEXT); INSERT INTO 信息 VALUES ('张三', 'x');",
      u8"CREATE TABLE 信息 (昵称 TEXT, 其他 TEXT); INSERT INTO 信息 VALUES ('', 'x');",
      u8"CREATE TABLE t (昵称, 备注); INSERT INTO t VALUES ('', 'x'); CREATE VIEW 信息 AS SELECT * FROM t;",
      u8"CREATE TABLE 信息 (昵称 TEXT PRIMARY KEY, 备注 TEXT) WITHOUT ROWID;",
  };
  for (const char8_t* sql : cases) {
    SCOPED_TRACE(U8(sql));
    TempDir dir;
    {
      RawDb raw(dir.File());
      raw.MustExec(U8(sql));
    }
    const std::string before = ReadFile(dir.File());
    RemarkStore store;
    EXPECT_FALSE(store.Open(dir.File()));
    EXPECT_EQ(store.LookUp(""), "");
    EXPECT_EQ(store.LookUp("张三"), "");
    EXPECT_FALSE(store.Save("", "y"));
    EXPECT_FALSE(store.Save("张三", "y"));
    store.Close();
    EXPECT_EQ(ReadFile(dir.File()), before);
  }
}

TEST(RemarkStoreSchema, AColumnNamedRowidDoesNotHideTheRowid) {
  TempDir dir;
  {
    RawDb raw(dir.File());
    raw.MustExec(U8(u8"CREATE TABLE 信息 (rowid TEXT, 昵称 TEXT, 备注 TEXT);"
                    u8"INSERT INTO 信息 VALUES ('7', '张三', 'x'), ('1', '李四', 'y');"));
  }
  RemarkStore store;
  ASSERT_TRUE(store.Open(dir.File()));
  EXPECT_TRUE(store.Save("张三", "改"));
  EXPECT_EQ(store.LookUp("张三"), "改");
  EXPECT_EQ(store.LookUp("李四"), "y");
  RawDb raw(dir.File());
  EXPECT_EQ(raw.Rows(U8(u8"SELECT _rowid_, rowid, 昵称, 备注 FROM 信息 ORDER BY _rowid_")),
            (std::vector<std::string>{U8(u8"1|7|张三|改"), U8(u8"2|1|李四|y")}));
}

// --- damaged, locked and read-only files ---

TEST(RemarkStoreFaults, AFileThatIsNoDatabaseIsNeverWritten) {
  std::mt19937 rng(936);
  std::string noise(8192, '\0');
  for (char& c : noise) c = static_cast<char>(rng());
  std::string truncated;
  {
    TempDir dir;
    RawDb raw(dir.File());
    raw.MustExec(U8(u8"CREATE TABLE 信息 (昵称 TEXT, 备注 TEXT);"
                    u8"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<3000)"
                    u8" INSERT INTO 信息 SELECT '好友' || i, printf('%.200c', '*') FROM n;"));
    truncated = ReadFile(dir.File());
    truncated.resize(truncated.size() / 2);
  }
  const std::pair<const char*, std::string> cases[] = {
      {"random bytes", noise},
      {"text", "not a database\r\n"},
      {"truncated database", truncated},
      {"truncated header", truncated.substr(0, 60)},
  };
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    TempDir dir;
    WriteFile(dir.File(), bytes);
    {
      RemarkStore store;
      EXPECT_FALSE(store.Open(dir.File()));
      EXPECT_EQ(store.LookUp("好友5"), "");
      EXPECT_FALSE(store.Save("好友5", "x"));
      EXPECT_FALSE(store.Save("新朋友", "x"));
    }
    EXPECT_EQ(ReadFile(dir.File()), bytes);
    EXPECT_FALSE(fs::exists(dir.File("Corvessa.db-journal")));
  }
}

TEST_F(RemarkStoreTest, ALockedDatabaseFailsAtOnceAndWorksAgainAfterwards) {
  ASSERT_TRUE(store.Save("甲", "1"));
  RawDb other(dir.File());

  // Another program writing: reads go on, saves fail.
  other.MustExec(U8(u8"BEGIN IMMEDIATE; INSERT INTO 信息 VALUES ('乙', '2');"));
  EXPECT_EQ(store.LookUp("甲"), "1");
  EXPECT_FALSE(store.Save("甲", "x"));
  EXPECT_FALSE(store.Save("丙", "x"));
  other.MustExec("COMMIT");
  EXPECT_EQ(store.LookUp("乙"), "2");

  // Another program holding the file exclusively: nothing can be read either.
  other.MustExec(U8(u8"BEGIN EXCLUSIVE; UPDATE 信息 SET 备注 = '1b' WHERE 昵称 = '甲';"));
  EXPECT_EQ(store.LookUp("甲"), "");
  EXPECT_FALSE(store.Save("甲", "x"));
  other.MustExec("ROLLBACK");

  // Another program reading: the write is done but cannot be committed, and
  // nothing of it stays behind.
  other.MustExec(U8(u8"BEGIN; SELECT count(*) FROM 信息;"));
  EXPECT_FALSE(store.Save("丙", "3"));
  EXPECT_FALSE(store.Save("甲", "x"));
  EXPECT_EQ(store.LookUp("丙"), "");
  other.MustExec("COMMIT");

  EXPECT_TRUE(store.Save("丙", "3"));
  EXPECT_TRUE(store.Save("甲", "4"));
  EXPECT_EQ(store.LookUp("甲"), "4");
  EXPECT_EQ(other.Dump(), (std::vector<std::string>{U8(u8"1|'甲'|'4'"), U8(u8"2|'乙'|'2'"),
                                                    U8(u8"3|'丙'|'3'")}));
}

TEST(RemarkStoreFaults, ALockAtStartUpDoesNotCostTheSession) {
  TempDir dir;
  RawDb other(dir.File());
  other.MustExec(U8(u8"CREATE TABLE x (a); BEGIN EXCLUSIVE; INSERT INTO x VALUES (1);"));
  RemarkStore store;
  EXPECT_FALSE(store.Open(dir.File()));
  EXPECT_FALSE(store.Save("甲", "1"));
  other.MustExec("COMMIT");
  EXPECT_TRUE(store.Save("甲", "1"));
  EXPECT_EQ(store.LookUp("甲"), "1");
}

// Makes a file read-only for this process, as far as the system lets it:
// the read-only permission first; for root on Linux, which writes read-only
// files anyway, the immutable flag. Undone when it goes.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(std::string path) : path_(std::move(path)) {
    fs::permissions(path_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
#ifdef __linux__
    if (Writable()) immutable_ = SetImmutable(true);
#endif
  }
  ~ReadOnlyFile() {
#ifdef __linux__
    if (immutable_) SetImmutable(false);
#endif
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_write, fs::perm_options::add, ec);
  }
  bool Writable() const {
    FILE* f = std::fopen(path_.c_str(), "r+b");
    if (f) std::fclose(f);
    return f != nullptr;
  }

 private:
#ifdef __linux__
  bool SetImmutable(bool on) {
    int fd = ::open(path_.c_str(), O_RDONLY);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return ok;
  }
  bool immutable_ = false;
#endif
  std::string path_;
};

TEST(RemarkStoreFaults, AReadOnlyFileRefusesSavesButStillReads) {
  TempDir dir;
  {
    RawDb raw(dir.File());
    raw.MustExec(U8(u8"CREATE TABLE 信息 (昵称 TEXT, 备注 TEXT); INSERT INTO 信息 VALUES ('甲', '1');"));
  }
  const std::string before = ReadFile(dir.File());
  ReadOnlyFile readOnly(dir.File());
  if (readOnly.Writable()) GTEST_SKIP() << "no way here to make a file read-only for this user";
  RemarkStore store;
  EXPECT_TRUE(store.Open(dir.File()));
  EXPECT_EQ(store.LookUp("甲"), "1");
  EXPECT_FALSE(store.Save("甲", "2"));
  EXPECT_FALSE(store.Save("乙", "2"));
  EXPECT_EQ(store.LookUp("甲"), "1");
  EXPECT_EQ(store.LookUp("乙"), "");
  store.Close();
  EXPECT_EQ(ReadFile(dir.File()), before);
}

}  // namespace
}  // namespace tvx
