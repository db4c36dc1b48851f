// The quick-reply list of the real Tovanix.exe: a file beside the program shows
// its rows at start-up, and a first run creates the file empty.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/ui_driver.h"

namespace tvx {
namespace {

using ui::TovanixApp;

TEST(QuickReplyListUi, FileShowsItsRowsAtStartUp) {
  TovanixApp app;
  // The last record lacks its CR LF, one line has no separator, one has two.
  ASSERT_TRUE(app.Seed(L"快捷回复.txt",
                       "你好[.*?]无图片\r\n看图[.*?]C:\\p\\a.jpg\r\nhello\r\na[.*?]b[.*?]c"));
  ASSERT_TRUE(app.Start()) << app.LastError();
  const ui::ListContent list = app.ReadList();
  ASSERT_EQ(list.columns.size(), 3u);
  EXPECT_EQ(list.columns[0], (ui::ListColumn{"序号", 40}));
  EXPECT_EQ(list.columns[1], (ui::ListColumn{"内容", 240}));
  EXPECT_EQ(list.columns[2], (ui::ListColumn{"图片", 50}));
  const std::vector<std::vector<Text>> rows = {{"1", "你好", "无图片"},
                                               {"2", "看图", "C:\\p\\a.jpg"},
                                               {"3", "", "无图片"},
                                               {"4", "a", "c"}};
  EXPECT_EQ(list.rows, rows);
  EXPECT_EQ(list.selected, 0);
  // Loading reads; the file is as it was.
  EXPECT_EQ(app.ReadFile(L"快捷回复.txt"),
            "你好[.*?]无图片\r\n看图[.*?]C:\\p\\a.jpg\r\nhello\r\na[.*?]b[.*?]c");
  app.PressEsc();
  EXPECT_EQ(app.WaitForExit(), 0u);
}

TEST(QuickReplyListUi, FirstRunCreatesAnEmptyFileBesideTheDatabase) {
  TovanixApp app;
  ASSERT_FALSE(app.FileExists(L"快捷回复.txt"));
  ASSERT_FALSE(app.FileExists(L"Corvessa.db"));
  ASSERT_TRUE(app.Start()) << app.LastError();
  EXPECT_TRUE(app.FileExists(L"Corvessa.db"));
  EXPECT_EQ(app.ReadFile(L"快捷回复.txt"), "");
  const ui::ListContent list = app.ReadList();
  EXPECT_TRUE(list.rows.empty());
  EXPECT_EQ(list.selected, -1);
  app.PressEsc();
  EXPECT_EQ(app.WaitForExit(), 0u);
  // Nothing else was made in the run directory.
  EXPECT_FALSE(app.FileExists(L"快捷回复.txt.tmp"));
  EXPECT_EQ(app.ReadFile(L"快捷回复.txt"), "");
}

}  // namespace
}  // namespace tvx
