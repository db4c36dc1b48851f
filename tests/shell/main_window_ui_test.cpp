// The real Tovanix.exe in a process of its own: its window, every control's kind,
// text and place, the list's columns, the height rule, start-up in an empty
// folder and the ways the window closes.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "shell/ui_driver.h"
#include "support/process_windows.h"

namespace tvx {
namespace {

using ui::Rect;
using ui::TovanixApp;

class MainWindowUi : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app_.Start()) << app_.LastError(); }
  TovanixApp app_;
};

TEST_F(MainWindowUi, WindowClassCaptionSizeFrameAndPlace) {
  EXPECT_EQ(app_.ClassName(), L"Pelovara");
  EXPECT_EQ(app_.Caption(), "Tovanix");
  const Rect w = app_.WindowRect();
  EXPECT_EQ(w.width, 348);
  EXPECT_EQ(w.height, 755);
  // Centred on the screen.
  EXPECT_NEAR(w.left, (GetSystemMetrics(SM_CXSCREEN) - 348) / 2, 1);
  EXPECT_NEAR(w.top, (GetSystemMetrics(SM_CYSCREEN) - 755) / 2, 1);

  const LONG_PTR style = GetWindowLongPtrW(app_.Window(), GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the user cannot resize it";
  EXPECT_EQ(GetWindow(app_.Window(), GW_OWNER), nullptr);
  EXPECT_TRUE(GetWindowLongPtrW(app_.Window(), GWL_EXSTYLE) & WS_EX_APPWINDOW) << "task bar";
  EXPECT_FALSE(GetWindowLongPtrW(app_.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetMenu(app_.Window()), nullptr) << "no menu bar";
}

struct ControlCase {
  ControlId id;
  const wchar_t* cls;  // window class
  LONG kindStyle;      // the style bits that make the kind
  const char* text;
  Rect place;  // relative to the group box, or to the client area for the group boxes
  bool inGroup2;
};

// The group boxes' offsets in the client area: 分组框1 at (0, 0), 分组框2 at (0, 304).
// 分组框2 and 超级列表框1 have the heights the height rule gives a 755 window.
const ControlCase kControls[] = {
    {ControlId::分组框1, L"Button", BS_GROUPBOX, "", {0, 0, 340, 304}, false},
    {ControlId::标签3, L"Static", SS_LEFT, "当前微信：", {10, 16, 74, 24}, false},
    {ControlId::组合框1, L"ComboBox", CBS_DROPDOWNLIST, "", {77, 18, 131, 20}, false},
    {ControlId::标签4, L"Static", SS_LEFT, "←←多开可切换", {221, 16, 107, 24}, false},
    {ControlId::标签5, L"Static", SS_LEFT, "点击↑↑刷新微信", {233, 48, 98, 24}, false},
    {ControlId::标签1, L"Static", SS_LEFT, "好友微信：", {8, 49, 80, 24}, false},
    {ControlId::编辑框_好友昵称, L"Edit", 0, "", {75, 49, 153, 23}, false},
    {ControlId::单选框_左, L"Button", BS_AUTORADIOBUTTON, "左侧吸附", {6, 77, 80, 14}, false},
    {ControlId::单选框_右, L"Button", BS_AUTORADIOBUTTON, "右侧吸附", {6, 94, 80, 18}, false},
    {ControlId::标签2, L"Static", SS_LEFT, "信息需要自己手动备注,记得[保存]噢", {88, 84, 248, 16}, false},
    {ControlId::编辑框_备注, L"Edit", ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL, "", {3, 113, 333, 191}, false},
    {ControlId::透明标签1, L"Static", SS_LEFT, "", {214, 274, 63, 24}, false},
    {ControlId::按钮1, L"Button", BS_PUSHBUTTON, "保存", {283, 268, 48, 32}, false},
    {ControlId::分组框2, L"Button", BS_GROUPBOX, "快捷回复", {0, 304, 340, 410}, false},
    {ControlId::编辑框1, L"Edit", ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL, "", {3, 14, 284, 56}, true},
    {ControlId::按钮_新增, L"Button", BS_PUSHBUTTON, "新增", {288, 30, 48, 37}, true},
    {ControlId::编辑框_图片, L"Edit", 0, "图片拖到这里，支持JPEG、jpg、PNG格式，仅限一张图", {3, 71, 333, 24}, true},
    {ControlId::超级列表框1, L"SysListView32", LVS_REPORT, "", {2, 111, 335, 354}, true},
};

TEST_F(MainWindowUi, EveryControlHasItsKindTextAndPlace) {
  for (const ControlCase& c : kControls) {
    SCOPED_TRACE(ui::Narrow(std::to_wstring(Id(c.id))) + " " + c.text);
    ASSERT_NE(app_.Control(c.id), nullptr);
    EXPECT_EQ(GetParent(app_.Control(c.id)), app_.Window());
    EXPECT_EQ(_wcsicmp(app_.ClassName(c.id).c_str(), c.cls), 0) << ui::Narrow(app_.ClassName(c.id));
    const LONG_PTR style = app_.Style(c.id);
    if (std::wstring(c.cls) == L"Button")
      EXPECT_EQ(style & BS_TYPEMASK, c.kindStyle);
    else
      EXPECT_EQ(style & c.kindStyle, c.kindStyle);
    EXPECT_TRUE(app_.IsVisible(c.id));
    EXPECT_EQ(app_.GetText(c.id), c.text);
    Rect expected = c.place;
    if (c.inGroup2) expected.top += 304;
    EXPECT_EQ(app_.ControlRect(c.id), expected)
        << ui::ToString(app_.ControlRect(c.id)) << " expected " << ui::ToString(expected);
  }
}

TEST_F(MainWindowUi, SettingsOfTheEditsComboRadiosAndList) {
  // Single-line boxes scroll sideways; the multi-line ones wrap.
  EXPECT_FALSE(app_.Style(ControlId::编辑框_好友昵称) & ES_MULTILINE);
  EXPECT_FALSE(app_.Style(ControlId::编辑框_图片) & ES_MULTILINE);
  EXPECT_FALSE(app_.Style(ControlId::编辑框_备注) & (ES_AUTOHSCROLL | WS_HSCROLL));
  EXPECT_FALSE(app_.Style(ControlId::编辑框1) & (ES_AUTOHSCROLL | WS_HSCROLL));

  EXPECT_FALSE(app_.Style(ControlId::组合框1) & CBS_SORT);
  EXPECT_TRUE(app_.ComboItems().empty());
  EXPECT_EQ(app_.ComboCurrent(), -1);

  EXPECT_FALSE(app_.IsChecked(ControlId::单选框_左));
  EXPECT_TRUE(app_.IsChecked(ControlId::单选框_右));
  app_.Click(ControlId::单选框_左);
  EXPECT_TRUE(app_.IsChecked(ControlId::单选框_左));
  EXPECT_FALSE(app_.IsChecked(ControlId::单选框_右));
  app_.Click(ControlId::单选框_右);
  EXPECT_FALSE(app_.IsChecked(ControlId::单选框_左));
  EXPECT_TRUE(app_.IsChecked(ControlId::单选框_右));

  const LRESULT ex = SendMessageW(app_.Control(ControlId::超级列表框1), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);
  EXPECT_TRUE(ex & LVS_EX_GRIDLINES);
  EXPECT_FALSE(app_.Style(ControlId::超级列表框1) & LVS_NOCOLUMNHEADER);

  const ui::ListContent list = app_.ReadList();
  const std::vector<ui::ListColumn> columns = {{"序号", 40}, {"内容", 240}, {"图片", 50}};
  EXPECT_EQ(list.columns, columns);
  EXPECT_TRUE(list.rows.empty());
}

TEST_F(MainWindowUi, StartUpInAnEmptyFolderMakesBothFiles) {
  EXPECT_TRUE(app_.FileExists(L"Corvessa.db"));
  EXPECT_EQ(app_.ReadFile(L"快捷回复.txt"), std::string());
  EXPECT_TRUE(app_.IsVisible(ControlId::透明标签1));
  EXPECT_EQ(app_.GetText(ControlId::透明标签1), "");
  // No client runs: the window stays where it was created.
  const Rect before = app_.WindowRect();
  Sleep(300);
  EXPECT_EQ(app_.WindowRect(), before);
}

TEST(MainWindowStartUp, LoadsTheQuickRepliesThatAreThere) {
  TovanixApp app;
  const std::string content = "你好[.*?]无图片\r\n再见[.*?]无图片\r\n";
  ASSERT_TRUE(app.Seed(L"快捷回复.txt", content));
  ASSERT_TRUE(app.Start()) << app.LastError();
  const ui::ListContent list = app.ReadList();
  ASSERT_EQ(list.rows.size(), 2u);
  EXPECT_EQ(list.rows[0], (std::vector<Text>{"1", "你好", "无图片"}));
  EXPECT_EQ(list.rows[1], (std::vector<Text>{"2", "再见", "无图片"}));
  EXPECT_EQ(app.ReadFile(L"快捷回复.txt"), content) << "an existing file is used as it is";
}

struct HeightCase {
  int windowHeight, group2Height, listHeight;
};

TEST_F(MainWindowUi, HeightRuleFollowsEverySizeChange) {
  const Rect w = app_.WindowRect();
  for (const HeightCase& c : {HeightCase{801, 456, 400}, HeightCase{600, 255, 199},
                              HeightCase{755, 410, 354}}) {
    SCOPED_TRACE(c.windowHeight);
    app_.MoveWindow(w.left, w.top, w.width, c.windowHeight);
    ASSERT_EQ(app_.WindowRect().height, c.windowHeight);
    EXPECT_EQ(app_.ControlRect(ControlId::分组框2), (Rect{0, 304, 340, c.group2Height}));
    EXPECT_EQ(app_.ControlRect(ControlId::超级列表框1), (Rect{2, 415, 335, c.listHeight}));
    // Only those two heights change.
    EXPECT_EQ(app_.ControlRect(ControlId::编辑框1), (Rect{3, 318, 284, 56}));
    EXPECT_EQ(app_.ControlRect(ControlId::分组框1), (Rect{0, 0, 340, 304}));
  }
}

TEST_F(MainWindowUi, EscEndsTheProgramWithExitCodeZero) {
  app_.PressEsc();
  EXPECT_EQ(app_.WaitForExit(), std::optional<DWORD>(0));
}

TEST_F(MainWindowUi, EscInAControlClosesTheWindowToo) {
  // A multi-line edit box would otherwise take the key for itself.
  PostMessageW(app_.Control(ControlId::编辑框_备注), WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(app_.WaitForExit(), std::optional<DWORD>(0));
}

TEST_F(MainWindowUi, CloseButtonEndsTheProgramWithExitCodeZero) {
  PostMessageW(app_.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(app_.WaitForExit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace tvx

namespace tvx {
namespace {

// The popup menu windows (class #32768) that the program shows.
std::vector<HWND> PopupMenusOf(DWORD pid) {
  return scratch::TopLevelWindowsOf(pid, [](HWND window, const std::wstring& cls) {
    return cls == L"#32768" && IsWindowVisible(window);
  });
}

int PopupHeight(const TovanixApp& app) {
  std::vector<HWND> menus;
  ui::WaitUntil([&] { return !(menus = PopupMenusOf(app.Pid())).empty(); }, 3000);
  if (menus.empty()) return 0;
  RECT r{};
  GetWindowRect(menus[0], &r);
  return r.bottom - r.top;
}

void ClosePopup(const TovanixApp& app) {
  PostMessageW(app.Window(), WM_CANCELMODE, 0, 0);
  ui::WaitUntil([&] { return PopupMenusOf(app.Pid()).empty(); }, 3000);
}

constexpr UINT kTrayMessage = WM_APP + 1;

TEST(MainWindowMenus, TrayRightClickAndListRightClickShowTheirMenus) {
  TovanixApp app;
  ASSERT_TRUE(app.Seed(L"快捷回复.txt", "一[.*?]无图片\r\n二[.*?]无图片\r\n三[.*?]无图片\r\n"));
  ASSERT_TRUE(app.Start()) << app.LastError();

  // Left clicks and double-clicks on the tray icon do nothing.
  PostMessageW(app.Window(), kTrayMessage, kTrayIconId, WM_LBUTTONUP);
  PostMessageW(app.Window(), kTrayMessage, kTrayIconId, WM_LBUTTONDBLCLK);
  Sleep(300);
  EXPECT_TRUE(PopupMenusOf(app.Pid()).empty());

  PostMessageW(app.Window(), kTrayMessage, kTrayIconId, WM_RBUTTONUP);
  const int trayMenu = PopupHeight(app);
  EXPECT_GT(trayMenu, 0) << "托盘菜单 shown";
  ClosePopup(app);

  // A right click on the third row selects it first, then shows 菜单: five
  // items and four separators, so clearly taller than the tray's one item.
  EXPECT_EQ(app.ReadList().selected, 0);
  const Rect row = app.ListRowRect(2);
  ASSERT_GT(row.height, 0);
  const LPARAM at = MAKELPARAM(row.left + 20, row.top + row.height / 2);
  PostMessageW(app.Control(ControlId::超级列表框1), WM_RBUTTONDOWN, MK_RBUTTON, at);
  PostMessageW(app.Control(ControlId::超级列表框1), WM_RBUTTONUP, 0, at);
  const int listMenu = PopupHeight(app);
  EXPECT_GT(listMenu, trayMenu) << "菜单 shown";
  EXPECT_EQ(app.ReadList().selected, 2);
  ClosePopup(app);

  app.PressEsc();
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
}

TEST(TovanixExe, CarriesItsIconManifestAndVersion) {
  const std::wstring exe = ui::TestBinDirectory() + L"Tovanix.exe";
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);

  HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
  ASSERT_NE(manifest, nullptr);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                         SizeofResource(module, manifest));
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(text.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos) << "supportedOS";
  EXPECT_EQ(text.find("<activeCodePage"), std::string::npos);
  EXPECT_EQ(text.find("<dpiAware"), std::string::npos);
  EXPECT_EQ(text.find("<dpiAwareness"), std::string::npos);

  HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(101), IMAGE_ICON, 32, 32, 0));
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP bm{};
  GetObjectW(info.hbmColor, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 32);
  EXPECT_EQ(bm.bmHeight, 32);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(icon);

  HRSRC version = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16) /* RT_VERSION */);
  EXPECT_NE(version, nullptr);
  FreeLibrary(module);
}

}  // namespace
}  // namespace tvx
