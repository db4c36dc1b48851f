// The remark box of the real Tovanix.exe: a nickname typed or written into
// 编辑框_好友昵称 shows its remark, 保存 stores one with its feedback in
// 透明标签1, and the next start of the program shows it again.
#include <windows.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <random>
#include <string>
#include <vector>

#include "shell/ui_driver.h"

namespace tvx {
namespace {

using ui::TovanixApp;

std::string Utf8(const std::wstring& wide) {
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

// The database as another program sees it, beside the running Tovanix.
class Database {
 public:
  explicit Database(const TovanixApp& app) {
    sqlite3_open_v2(Utf8(app.PathOf(L"Corvessa.db")).c_str(), &db_,
                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  }
  ~Database() { sqlite3_close_v2(db_); }
  bool Exec(const std::string& sql) {
    return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  std::vector<std::string> Rows(const std::string& sql) {
    std::vector<std::string> rows;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr) != SQLITE_OK) return {"<error>"};
    while (sqlite3_step(s) == SQLITE_ROW) {
      std::string row;
      for (int i = 0; i < sqlite3_column_count(s); ++i) {
        if (i) row += '|';
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
        row += p ? p : "<null>";
      }
      rows.push_back(row);
    }
    sqlite3_finalize(s);
    return rows;
  }
  std::vector<std::string> Remarks() {
    return Rows(U8(u8"SELECT 昵称, 备注 FROM 信息 ORDER BY rowid"));
  }

 private:
  sqlite3* db_ = nullptr;
};

constexpr ControlId kNickname = ControlId::编辑框_好友昵称;
constexpr ControlId kRemark = ControlId::编辑框_备注;
constexpr ControlId kSave = ControlId::按钮1;
constexpr ControlId kFeedback = ControlId::透明标签1;

TEST(RemarkUi, ARemarkIsShownSavedAndShownAgainAfterARestart) {
  TovanixApp app;
  ASSERT_TRUE(app.Start()) << app.LastError();
  ASSERT_TRUE(app.FileExists(L"Corvessa.db"));
  {
    Database db(app);
    EXPECT_EQ(db.Rows("SELECT sql FROM sqlite_master"),
              std::vector<std::string>{U8(u8"CREATE TABLE 信息 (昵称 TEXT, 备注 TEXT)")});
  }
  EXPECT_EQ(app.GetText(kFeedback), "");

  app.SetText(kNickname, "张三");
  EXPECT_EQ(app.GetText(kRemark), "");
  app.SetText(kRemark, "同事\r\n第二行");
  app.Click(kSave);  // returns when the handler, its 300 ms wait included, is done
  EXPECT_EQ(app.GetText(kFeedback), "已保存");
  EXPECT_FALSE(app.IsVisible(kFeedback));
  {
    Database db(app);
    EXPECT_EQ(db.Remarks(), std::vector<std::string>{U8(u8"张三|同事\r\n第二行")});
  }

  app.SetText(kNickname, "李四");
  EXPECT_EQ(app.GetText(kRemark), "");
  app.SetText(kNickname, "张三");
  EXPECT_EQ(app.GetText(kRemark), "同事\r\n第二行");

  // Another program holding the database: the save fails at once, and works
  // again when the lock is gone.
  {
    Database other(app);
    ASSERT_TRUE(other.Exec("BEGIN EXCLUSIVE"));
    app.SetText(kRemark, "改了");
    app.Click(kSave);
    EXPECT_EQ(app.GetText(kFeedback), "保存失败");
    ASSERT_TRUE(other.Exec("ROLLBACK"));
  }
  app.Click(kSave);
  EXPECT_EQ(app.GetText(kFeedback), "已保存");

  app.PressEsc();
  EXPECT_EQ(app.WaitForExit(), 0u);

  ASSERT_TRUE(app.Start()) << app.LastError();
  EXPECT_EQ(app.GetText(kNickname), "");
  app.Type(kNickname, "张三");  // one change per character, as typed
  EXPECT_EQ(app.GetText(kRemark), "改了");
  app.Type(kNickname, " ");
  EXPECT_EQ(app.GetText(kRemark), "");
  app.PressEsc();
  EXPECT_EQ(app.WaitForExit(), 0u);
  Database db(app);
  EXPECT_EQ(db.Remarks(), std::vector<std::string>{U8(u8"张三|改了")});
}

TEST(RemarkUi, WindowEventsGoOnDuringTheFeedbackANestedClickIncluded) {
  TovanixApp app;
  {
    Database db(app);
    ASSERT_TRUE(db.Exec(U8(u8"CREATE TABLE 信息 (昵称 TEXT, 备注 TEXT);"
                           u8"INSERT INTO 信息 VALUES ('张三', '老朋友');")));
  }
  ASSERT_TRUE(app.Start()) << app.LastError();

  app.SetText(kNickname, "王五");
  app.SetText(kRemark, "新朋友");
  app.PostClick(kSave);
  // The label starts out visible and empty; the feedback is its text.
  ASSERT_TRUE(ui::WaitUntil(
      [&] { return app.IsVisible(kFeedback) && app.GetText(kFeedback) == "已保存"; }, 3000));
  // The lookup runs while the feedback still shows.
  app.SetText(kNickname, "张三");
  EXPECT_EQ(app.GetText(kRemark), "老朋友");
  EXPECT_TRUE(ui::WaitUntil([&] { return !app.IsVisible(kFeedback); }, 3000));

  // A second click during the first one's wait saves again, inside it. The
  // label was hidden by the first save and shows again now.
  app.SetText(kNickname, "赵六");
  app.SetText(kRemark, "两次");
  app.PostClick(kSave);
  app.PostClick(kSave);
  ASSERT_TRUE(ui::WaitUntil([&] { return app.IsVisible(kFeedback); }, 3000));
  EXPECT_TRUE(ui::WaitUntil([&] { return !app.IsVisible(kFeedback); }, 3000));
  EXPECT_EQ(app.GetText(kFeedback), "已保存");
  EXPECT_TRUE(app.IsRunning());

  Database db(app);
  EXPECT_EQ(db.Remarks(), (std::vector<std::string>{U8(u8"张三|老朋友"), U8(u8"王五|新朋友"),
                                                    U8(u8"赵六|两次")}));
}

TEST(RemarkUi, AFileThatIsNoDatabaseShowsSaveFailedAndIsKept) {
  TovanixApp app;
  std::mt19937 rng(936);
  std::string noise(4096, '\0');
  for (char& c : noise) c = static_cast<char>(rng());
  ASSERT_TRUE(app.Seed(L"Corvessa.db", noise));
  ASSERT_TRUE(app.Start()) << app.LastError();

  app.SetText(kNickname, "张三");
  EXPECT_EQ(app.GetText(kRemark), "");
  app.SetText(kRemark, "备注");
  app.Click(kSave);
  EXPECT_EQ(app.GetText(kFeedback), "保存失败");
  EXPECT_FALSE(app.IsVisible(kFeedback));
  app.PressEsc();
  EXPECT_EQ(app.WaitForExit(), 0u);
  EXPECT_EQ(app.ReadFile(L"Corvessa.db"), noise);
}

}  // namespace
}  // namespace tvx
