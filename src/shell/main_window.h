#pragma once
// The one window of the program: class "Pelovara", caption "Tovanix", a fixed
// 348 x 755 panel holding the instance choice and the remark (分组框1) above the
// quick replies (分组框2), its two popup menus, its tray icon and the timer 时钟1.
//
// The window raises its events to a MainWindowEvents object; the window itself
// handles what belongs to it (the height rule, the popup menus, the tray icon's
// clicks, Esc). Texts cross as code page 936 and are converted through code page
// 936 for the wide-character calls, whatever the ANSI code page is.
#include <windows.h>

#include <string_view>

#include "platform/scoped_win.h"
#include "platform/text.h"
#include "shell/controls.h"
#include "shell/layout.h"

namespace tvx {

// The tray icon's notifications (NOTIFYICONDATA.uCallbackMessage).
inline constexpr UINT WM_APP_TRAY = WM_APP + 1;
// The timer 时钟1 (SetTimer id on the main window).
inline constexpr UINT_PTR kTimer时钟1 = 1;

// The kinds OnTrayEvent tells apart.
enum class TrayEventKind : int {
  kLeftButtonUp = 1,   // does nothing
  kLeftDoubleClick = 2,  // does nothing
  kRightButtonUp = 3,  // right button released, or the context-menu key: 托盘菜单
};

class MainWindow;

// What the window's events reach. Every default does nothing, which is also
// what an event without a handler does.
class MainWindowEvents {
 public:
  virtual ~MainWindowEvents() = default;
  // The window and all its controls exist (the window is not shown yet).
  virtual void OnCreated(MainWindow& window) {}
  // The window is being destroyed: closed by its close button, the system menu or Esc.
  virtual void OnDestroying(MainWindow& window) {}
  // An edit box's text changed: typed (once per change), or written by
  // MainWindow::SetText (exactly once per write, before SetText returns).
  virtual void OnTextChanged(MainWindow& window, ControlId edit) {}
  // A button was clicked (按钮1, 按钮_新增).
  virtual void OnClicked(MainWindow& window, ControlId button) {}
  // The user picked an entry of 组合框1's list.
  virtual void OnComboItemSelected(MainWindow& window, ControlId combo) {}
  // A label was double-clicked (标签4).
  virtual void OnDoubleClicked(MainWindow& window, ControlId label) {}
  // An edit box got (true) or lost (false) the keyboard focus (编辑框_图片).
  virtual void OnFocusChanged(MainWindow& window, ControlId edit, bool got) {}
  // A mouse double-click anywhere in 超级列表框1.
  virtual void OnListDoubleClicked(MainWindow& window) {}
  // An item of 菜单 or 托盘菜单 was chosen.
  virtual void OnMenuCommand(MainWindow& window, MenuCommand command) {}
  // 时钟1's period elapsed.
  virtual void OnTick(MainWindow& window) {}
};

class MainWindow {
 public:
  // Registers the window class (once per process) and creates the window,
  // centred on the screen, hidden; events.OnCreated runs before Create returns.
  // events must outlive the window. False when the window cannot be created.
  // From then on Esc pressed in the window or any of its controls closes it as
  // its close button does, in every message loop of the thread (event
  // processing included); message boxes and menus keep their own Esc.
  bool Create(HINSTANCE instance, MainWindowEvents& events);
  ~MainWindow();
  MainWindow() = default;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  HWND Control(ControlId id) const;
  void Show(int showCommand);
  void Destroy();

  // ---- Control properties ----
  // The displayed text (edit boxes, labels, buttons: a button's caption).
  // Writing an edit box's text raises OnTextChanged exactly once, synchronously,
  // even when the text does not change.
  Text GetText(ControlId id) const;
  void SetText(ControlId id, std::string_view text);
  // left, top, width, height: relative to the enclosing group box, or to the
  // window's client area for the group boxes.
  Place GetPlace(ControlId id) const;
  void SetPlace(ControlId id, const Place& place);
  void SetHeight(ControlId id, std::int32_t height);
  bool IsVisible(ControlId id) const;
  void SetVisible(ControlId id, bool visible);
  // Radio buttons: checking one unchecks the other; writing false unchecks.
  bool IsChecked(ControlId id) const;
  void SetChecked(ControlId id, bool checked);
  // 组合框1's current item, from 0; -1 for none. Writing raises no event.
  int CurrentItem() const;
  void SetCurrentItem(int index);
  // 超级列表框1's selected row, from 0; -1 for none.
  int SelectedIndex() const;

  // 时钟1: milliseconds between ticks; 0 stops. Writing the current value
  // changes nothing (the phase stays); any other positive value restarts it.
  std::int32_t Period() const { return period_; }
  void SetPeriod(std::int32_t ms);

  // ---- The main window's own geometry: the window rectangle in screen pixels ----
  Place WindowPlace() const;
  // Each moves or sizes the window at once and keeps the other three values.
  void SetWindowLeft(std::int32_t left);
  void SetWindowTop(std::int32_t top);
  void SetWindowWidth(std::int32_t width);
  void SetWindowHeight(std::int32_t height);
  // SetWindowPos with HWND_TOPMOST / HWND_NOTOPMOST, on every call.
  void SetAlwaysOnTop(bool on);

  // ---- Tray icon ----
  // Shows the program's tray icon (no tooltip); its clicks reach OnTrayEvent.
  bool ShowTrayIcon();
  void RemoveTrayIcon();

  // ---- Handlers of the window itself ----
  // The height rule: 分组框2 and 超级列表框1 follow the window's height.
  void OnMainWindowResized();
  void OnTrayEvent(TrayEventKind kind);
  // Pops up 菜单 at the mouse position (the list has already selected the row under it).
  void OnListRightClick();

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  bool CreateControls();
  void OnCommand(int id, int code, HWND from);
  LRESULT OnNotify(const NMHDR& header);
  HBRUSH OnControlColor(HDC dc, HWND control, bool isStatic);
  void PopupMenu(HMENU menu);
  void MoveControl(ControlId id, const Place& clientPlace);
  Place ClientPlaceOf(ControlId id) const;

  HWND hwnd_ = nullptr;
  HINSTANCE instance_ = nullptr;
  MainWindowEvents* events_ = nullptr;
  struct FontTraits {
    using Type = HFONT;
    static Type Empty() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Free(Type h) { ::DeleteObject(h); }
  };
  HFONT guiFont_ = nullptr;                 // the default GUI font: a stock object
  UniqueResource<FontTraits> gbFont_;       // the 14-pixel GB2312 font
  UniqueHIcon trayIcon_;
  UniqueHMenu listMenu_;                    // 菜单
  UniqueHMenu trayMenu_;                    // 托盘菜单
  UINT taskbarCreated_ = 0;                 // the shell's message after its task bar restarts
  bool trayShown_ = false;
  std::int32_t period_ = 0;
  // The edit box whose text SetText is writing: its own change notification is
  // swallowed, and SetText raises the event once itself.
  HWND writingEdit_ = nullptr;
};

// The popup menus, built fresh: 菜单 (刷新 | 删除 | 编辑 | 清空内容 | 打开文件, with
// separators between) and 托盘菜单 (重新载入). The caller owns the menu.
HMENU CreateListMenu();
HMENU CreateTrayMenu();

// Runs the thread's message loop until WM_QUIT; gives WM_QUIT's code.
int RunMessageLoop();

// Code page 936 <-> UTF-16 for the window texts.
std::wstring WindowTextFromCp936(std::string_view text);
Text Cp936FromWindowText(std::wstring_view text);

}  // namespace tvx
