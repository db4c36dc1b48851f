// The main window in the test's own process, with events that count: the edit
// box event rule, the timer's period, the places relative to the group boxes,
// fonts, colours, the combo box's open list and the popup menus.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>

#include "platform/events.h"
#include "shell/main_window.h"

namespace tvx {
namespace {

struct CountingEvents : MainWindowEvents {
  void OnTextChanged(MainWindow& w, ControlId edit) override {
    ++changed[edit];
    seenText[edit] = w.GetText(edit);
  }
  void OnTick(MainWindow&) override { ++ticks; }
  std::map<ControlId, int> changed;
  std::map<ControlId, Text> seenText;
  int ticks = 0;
};

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    ASSERT_TRUE(window_.Create(GetModuleHandleW(nullptr), events_));
  }
  void TearDown() override { window_.Destroy(); }

  CountingEvents events_;
  MainWindow window_;
};

TEST_F(MainWindowTest, WritingAnEditBoxRaisesItsChangeExactlyOnceEvenWithTheSameText) {
  for (ControlId edit : {ControlId::编辑框_好友昵称, ControlId::编辑框_备注, ControlId::编辑框1,
                         ControlId::编辑框_图片}) {
    SCOPED_TRACE(Id(edit));
    events_.changed.clear();
    window_.SetText(edit, "abc");
    EXPECT_EQ(events_.changed[edit], 1);
    EXPECT_EQ(events_.seenText[edit], "abc") << "raised after the write, before it returns";
    window_.SetText(edit, "abc");
    EXPECT_EQ(events_.changed[edit], 2) << "the same text again";
    window_.SetText(edit, "");
    EXPECT_EQ(events_.changed[edit], 3);
    EXPECT_EQ(events_.changed.size(), 1u) << "no other box heard of it";
  }
}

TEST_F(MainWindowTest, TypingRaisesTheChangeOncePerKeystroke) {
  HWND edit = window_.Control(ControlId::编辑框_好友昵称);
  for (wchar_t c : std::wstring(L"张三x")) SendMessageW(edit, WM_CHAR, c, 1);
  EXPECT_EQ(events_.changed[ControlId::编辑框_好友昵称], 3);
  EXPECT_EQ(window_.GetText(ControlId::编辑框_好友昵称), "张三x");
  SendMessageW(edit, WM_CHAR, VK_BACK, 1);
  EXPECT_EQ(events_.changed[ControlId::编辑框_好友昵称], 4);
  EXPECT_EQ(window_.GetText(ControlId::编辑框_好友昵称), "张三");
}

TEST_F(MainWindowTest, LabelAndButtonTextsRaiseNoChange) {
  window_.SetText(ControlId::透明标签1, "已保存");
  window_.SetText(ControlId::按钮_新增, "修改");
  EXPECT_TRUE(events_.changed.empty());
  EXPECT_EQ(window_.GetText(ControlId::透明标签1), "已保存");
  EXPECT_EQ(window_.GetText(ControlId::按钮_新增), "修改");
}

TEST_F(MainWindowTest, TransparentLabelCoversOnlyItsText) {
  HWND label = window_.Control(ControlId::透明标签1);
  EXPECT_TRUE(window_.IsVisible(ControlId::透明标签1));
  RECT box{};
  // Empty: it covers nothing of the remark box beneath it.
  EXPECT_EQ(GetWindowRgnBox(label, &box), NULLREGION);
  window_.SetText(ControlId::透明标签1, "保存失败");
  ASSERT_EQ(GetWindowRgnBox(label, &box), SIMPLEREGION);
  EXPECT_GT(box.right, 20);
  EXPECT_LE(box.right, 63);
  EXPECT_GT(box.bottom, 8);
  EXPECT_LE(box.bottom, 24);
  window_.SetText(ControlId::透明标签1, "");
  EXPECT_EQ(GetWindowRgnBox(label, &box), NULLREGION);
}

TEST_F(MainWindowTest, TextsKeepLineBreaksAndTwoByteCharacters) {
  const Text remark = "第一行\r\n第二行 ←↑\r\n";
  window_.SetText(ControlId::编辑框_备注, remark);
  EXPECT_EQ(window_.GetText(ControlId::编辑框_备注), remark);
  // Longer than an edit box's default limit of 30000 characters.
  Text longRemark;
  while (longRemark.size() < 33000) longRemark += "123456789\r\n";
  window_.SetText(ControlId::编辑框_备注, longRemark);
  EXPECT_EQ(window_.GetText(ControlId::编辑框_备注), longRemark);
}

TEST_F(MainWindowTest, TimerPeriodZeroStopsAndTheSameValueKeepsThePhase) {
  EXPECT_EQ(window_.Period(), 0);
  window_.SetPeriod(20);
  EXPECT_EQ(window_.Period(), 20);
  DWORD start = GetTickCount();
  while (events_.ticks < 3 && GetTickCount() - start < 5000) {
    ProcessEvents();
    Sleep(1);
  }
  EXPECT_GE(events_.ticks, 3);

  window_.SetPeriod(0);
  EXPECT_EQ(window_.Period(), 0);
  const int stoppedAt = events_.ticks;
  DelayProcessingEvents(200);
  EXPECT_EQ(events_.ticks, stoppedAt);

  // A long period written again and again: each rewrite would restart the
  // timer, and no tick would ever come; the same value must leave it running.
  window_.SetPeriod(150);
  start = GetTickCount();
  while (events_.ticks == stoppedAt && GetTickCount() - start < 5000) {
    window_.SetPeriod(150);
    ProcessEvents();
    Sleep(5);
  }
  EXPECT_GT(events_.ticks, stoppedAt);
  window_.SetPeriod(0);
}

TEST_F(MainWindowTest, PlacesAreRelativeToTheGroupBox) {
  EXPECT_EQ(window_.GetPlace(ControlId::编辑框_图片), (Place{3, 71, 333, 24}));
  EXPECT_EQ(window_.GetPlace(ControlId::分组框2).top, 304);
  EXPECT_EQ(window_.GetPlace(ControlId::组合框1), (Place{77, 18, 131, 20}));
  window_.SetHeight(ControlId::编辑框_图片, 30);
  EXPECT_EQ(window_.GetPlace(ControlId::编辑框_图片), (Place{3, 71, 333, 30}));
  window_.SetPlace(ControlId::按钮_新增, {280, 20, 50, 40});
  EXPECT_EQ(window_.GetPlace(ControlId::按钮_新增), (Place{280, 20, 50, 40}));
  RECT r{};
  GetWindowRect(window_.Control(ControlId::按钮_新增), &r);
  MapWindowPoints(HWND_DESKTOP, window_.Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.top, 304 + 20) << "placed at the group box's offset in the client area";
}

TEST_F(MainWindowTest, WindowGeometrySettersKeepTheOtherValues) {
  const Place start = window_.WindowPlace();
  window_.SetWindowLeft(100);
  window_.SetWindowTop(50);
  window_.SetWindowHeight(801);
  EXPECT_EQ(window_.WindowPlace(), (Place{100, 50, start.width, 801}));
  EXPECT_EQ(window_.GetPlace(ControlId::分组框2).height, 456);
  EXPECT_EQ(window_.GetPlace(ControlId::超级列表框1).height, 400);
}

TEST_F(MainWindowTest, TrayIconComesAndGoes) {
  EXPECT_TRUE(window_.ShowTrayIcon());
  EXPECT_TRUE(window_.ShowTrayIcon()) << "shown once";
  window_.RemoveTrayIcon();
  EXPECT_TRUE(window_.ShowTrayIcon());
  window_.RemoveTrayIcon();
}

TEST_F(MainWindowTest, RadioPairIsExclusive) {
  EXPECT_TRUE(window_.IsChecked(ControlId::单选框_右));
  window_.SetChecked(ControlId::单选框_左, true);
  EXPECT_TRUE(window_.IsChecked(ControlId::单选框_左));
  EXPECT_FALSE(window_.IsChecked(ControlId::单选框_右));
  window_.SetChecked(ControlId::单选框_左, false);
  EXPECT_FALSE(window_.IsChecked(ControlId::单选框_左));
  EXPECT_FALSE(window_.IsChecked(ControlId::单选框_右));
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf;
}

TEST_F(MainWindowTest, FontsAndColours) {
  LOGFONTW gui{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
  for (ControlId id : {ControlId::标签3, ControlId::标签4, ControlId::标签1, ControlId::编辑框_好友昵称,
                       ControlId::标签2, ControlId::编辑框_备注}) {
    SCOPED_TRACE(Id(id));
    const LOGFONTW lf = FontOf(window_.Control(id));
    EXPECT_EQ(lf.lfHeight, -14);
    EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
  }
  for (ControlId id : {ControlId::标签5, ControlId::按钮1, ControlId::编辑框1, ControlId::编辑框_图片}) {
    SCOPED_TRACE(Id(id));
    const LOGFONTW lf = FontOf(window_.Control(id));
    EXPECT_EQ(lf.lfHeight, gui.lfHeight);
    EXPECT_STREQ(lf.lfFaceName, gui.lfFaceName);
  }

  HDC dc = GetDC(window_.Handle());
  struct {
    ControlId id;
    COLORREF colour;
  } const colours[] = {{ControlId::编辑框_好友昵称, RGB(255, 0, 0)},
                       {ControlId::编辑框_图片, RGB(255, 128, 0)}};
  for (const auto& c : colours) {
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageW(window_.Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(window_.Control(c.id)));
    EXPECT_EQ(GetTextColor(dc), c.colour) << Id(c.id);
  }
  ReleaseDC(window_.Handle(), dc);
}

TEST_F(MainWindowTest, ComboBoxOpensAListAtLeast160PixelsTall) {
  HWND combo = window_.Control(ControlId::组合框1);
  EXPECT_EQ(GetWindowLongPtrW(combo, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  for (const wchar_t* item : {L"c", L"a", L"b"})
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  wchar_t first[8] = {};
  SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
  EXPECT_STREQ(first, L"c") << "not sorted";
  EXPECT_EQ(window_.CurrentItem(), -1);
  for (int i = 0; i < 30; ++i) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"x"));
  window_.Show(SW_SHOWNOACTIVATE);
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  RECT list{};
  GetWindowRect(info.hwndList, &list);
  EXPECT_TRUE(IsWindowVisible(info.hwndList));
  EXPECT_GE(list.bottom - list.top, 160);
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(window_.GetPlace(ControlId::组合框1).height, 20) << "the field keeps its height";
}

std::vector<std::wstring> MenuItems(HMENU menu) {
  std::vector<std::wstring> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {};
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID;
    mi.dwTypeData = text;
    mi.cch = 64;
    GetMenuItemInfoW(menu, i, TRUE, &mi);
    items.push_back((mi.fType & MFT_SEPARATOR) ? L"-" : std::wstring(text) + L"#" + std::to_wstring(mi.wID));
  }
  return items;
}

TEST(PopupMenus, ItemsSeparatorsAndCommands) {
  HMENU list = CreateListMenu();
  EXPECT_EQ(MenuItems(list),
            (std::vector<std::wstring>{L"\x5237\x65B0#2001", L"-", L"\x5220\x9664#2002", L"-",
                                       L"\x7F16\x8F91#2003", L"-", L"\x6E05\x7A7A\x5185\x5BB9#2004",
                                       L"-", L"\x6253\x5F00\x6587\x4EF6#2005"}));
  DestroyMenu(list);
  HMENU tray = CreateTrayMenu();
  EXPECT_EQ(MenuItems(tray), (std::vector<std::wstring>{L"\x91CD\x65B0\x8F7D\x5165#2101"}));
  DestroyMenu(tray);
}

}  // namespace
}  // namespace tvx
