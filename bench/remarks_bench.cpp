// Remark lookups and saves at 1 000, 10 000 and 100 000 rows: RemarkStore
// beside the row-by-row walk (one single-row query per row until the first
// match). Run by hand: build with the bench preset, then
//   build/<dir>/bin/remarks_bench [--benchmark_filter=...]
// The database lives in a temporary folder on disk; saves include the sync
// to disk that SQLite does at every commit.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <string>

#include "platform/codepage.h"
#include "remarks/literal_remark_cursor.h"
#include "remarks/remark_store.h"

namespace {

namespace fs = std::filesystem;

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

// One database file per row count, made once: nicknames 好友000001..., short remarks.
std::string Database(int rows) {
  static std::map<int, std::string> made;
  auto it = made.find(rows);
  if (it != made.end()) return it->second;
  const fs::path dir = fs::temp_directory_path() / "tvx_remarks_bench";
  fs::create_directories(dir);
  const std::string path = (dir / ("Corvessa_" + std::to_string(rows) + ".db")).generic_string();
  fs::remove(path);
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  const std::string sql =
      U8(u8"CREATE TABLE 信息 (昵称 TEXT, 备注 TEXT);"
         u8"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<") +
      std::to_string(rows) +
      U8(u8") INSERT INTO 信息 SELECT printf('好友%06d', i), printf('第 %d 位好友的备注', i) FROM n;");
  sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return made[rows] = path;
}

tvx::Text Nickname(int i) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06d", i);
  return tvx::Utf8ToCp936(U8(u8"好友")) + buf;
}

// The last row: the walk visits every row before it.
void LookUpLastRow_Store(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  tvx::RemarkStore store;
  store.Open(Database(rows));
  const tvx::Text nick = Nickname(rows);
  for (auto _ : state) benchmark::DoNotOptimize(store.LookUp(nick));
  if (store.LookUp(nick).empty()) state.SkipWithError("not found");
}

void LookUpLastRow_Walk(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  tvx::testing::LiteralRemarkCursor walk(Database(rows));
  const tvx::Text nick = Nickname(rows);
  for (auto _ : state) benchmark::DoNotOptimize(walk.LookUp(nick));
  if (walk.LookUp(nick).empty()) state.SkipWithError("not found");
}

// A nickname with no row, the commonest lookup while the user types.
void LookUpMissing_Store(benchmark::State& state) {
  tvx::RemarkStore store;
  store.Open(Database(static_cast<int>(state.range(0))));
  const tvx::Text nick = tvx::Utf8ToCp936(U8(u8"陌生人"));
  for (auto _ : state) benchmark::DoNotOptimize(store.LookUp(nick));
}

void LookUpMissing_Walk(benchmark::State& state) {
  tvx::testing::LiteralRemarkCursor walk(Database(static_cast<int>(state.range(0))));
  const tvx::Text nick = tvx::Utf8ToCp936(U8(u8"陌生人"));
  for (auto _ : state) benchmark::DoNotOptimize(walk.LookUp(nick));
}

// Start-up: opening the file and reading every nickname once.
void Open_Store(benchmark::State& state) {
  const std::string path = Database(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    tvx::RemarkStore store;
    benchmark::DoNotOptimize(store.Open(path));
  }
}

// A lookup right after another program committed: the nicknames are read again.
void LookUpAfterOutsideChange_Store(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  const std::string path = Database(rows);
  tvx::RemarkStore store;
  store.Open(path);
  sqlite3* other = nullptr;
  sqlite3_open(path.c_str(), &other);
  const tvx::Text nick = Nickname(rows);
  for (auto _ : state) {
    state.PauseTiming();
    // A real change: SQLite leaves the file alone when a row is rewritten unchanged.
    sqlite3_exec(other, U8(u8"UPDATE 信息 SET 备注 = 备注 || '+' WHERE rowid = 1").c_str(), nullptr,
                 nullptr, nullptr);
    state.ResumeTiming();
    benchmark::DoNotOptimize(store.LookUp(nick));
  }
  sqlite3_close(other);
}

// Updating the last row, the walk's worst case; each save is a commit to disk.
void SaveLastRow_Store(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  tvx::RemarkStore store;
  store.Open(Database(rows));
  const tvx::Text nick = Nickname(rows);
  int i = 0;
  for (auto _ : state)
    if (!store.Save(nick, "r" + std::to_string(i++))) state.SkipWithError("save failed");
}

void SaveLastRow_Walk(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  tvx::testing::LiteralRemarkCursor walk(Database(rows));
  const tvx::Text nick = Nickname(rows);
  int i = 0;
  for (auto _ : state)
    if (!walk.Save(nick, "r" + std::to_string(i++))) state.SkipWithError("save failed");
}

}  // namespace

// Registered row count by row count, the store beside the walk, so that one
// run prints the figures to compare next to each other.
int main(int argc, char** argv) {
  using Fn = void (*)(benchmark::State&);
  const std::pair<const char*, Fn> pairs[][2] = {
      {{"LookUpLastRow/store", LookUpLastRow_Store}, {"LookUpLastRow/walk", LookUpLastRow_Walk}},
      {{"LookUpMissing/store", LookUpMissing_Store}, {"LookUpMissing/walk", LookUpMissing_Walk}},
      {{"SaveLastRow/store", SaveLastRow_Store}, {"SaveLastRow/walk", SaveLastRow_Walk}},
      {{"Open/store", Open_Store}, {"LookUpAfterOutsideChange/store", LookUpAfterOutsideChange_Store}},
  };
  for (const auto& pair : pairs)
    for (int rows : {1000, 10000, 100000})
      for (const auto& [name, fn] : pair)
        benchmark::RegisterBenchmark(name, fn)->Arg(rows)->Unit(benchmark::kMicrosecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
