#pragma once
// Drives the real Tovanix.exe from a test program, the way a user (or the chat
// client beside it) sees it: a process of its own, its main window found by
// class and pid, its controls found by id and read and written by messages.
//
//   tvx::ui::TovanixApp app;                       // fresh run directory
//   app.Seed(L"快捷回复.txt", "你好[.*?]无图片\r\n"); // optional, before Start
//   ASSERT_TRUE(app.Start());                      // copy of Tovanix.exe, window up
//   app.SetText(tvx::ControlId::编辑框_好友昵称, "张三");
//   EXPECT_EQ(app.GetText(tvx::ControlId::编辑框_备注), "");
//   app.PressEsc();
//   EXPECT_EQ(app.WaitForExit(), 0u);
//
// Texts cross as tvx::Text (code page 936 bytes, like the program's own); the
// window messages are the W ones, converted through code page 936 here, so the
// results do not depend on the test machine's ANSI code page.
// The destructor kills the process if it still runs and removes the run directory.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"
#include "shell/controls.h"

namespace tvx::ui {

// A rectangle as left, top, width, height.
struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};
std::string ToString(const Rect& r);  // "(l, t, w x h)" for test messages

struct ListColumn {
  Text title;
  int width = 0;
  bool operator==(const ListColumn&) const = default;
};

struct ListContent {
  std::vector<ListColumn> columns;
  std::vector<std::vector<Text>> rows;  // rows[i][c]: the text of row i, column c
  int selected = -1;                    // first selected row, -1 for none
};

// Code page 936 <-> UTF-16, independent of the ANSI code page.
std::wstring Wide(std::string_view cp936);
Text Narrow(std::wstring_view wide);

// Polls pred every 20 ms until it holds or timeoutMs passes; true when it held.
bool WaitUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000);

// The folder the test program runs from (<build>/bin), with a trailing backslash.
std::wstring TestBinDirectory();

class TovanixApp {
 public:
  // Makes a fresh, empty run directory under %TEMP%. Nothing runs yet.
  TovanixApp();
  ~TovanixApp();
  TovanixApp(const TovanixApp&) = delete;
  TovanixApp& operator=(const TovanixApp&) = delete;

  // The run directory, without a trailing backslash; files named relative to it.
  const std::wstring& RunDirectory() const { return runDir_; }
  std::wstring PathOf(std::wstring_view name) const;
  // Puts a file into the run directory (before Start, or while the program runs).
  bool Seed(std::wstring_view name, std::string_view bytes);
  std::optional<std::string> ReadFile(std::wstring_view name) const;
  bool FileExists(std::wstring_view name) const;

  // Copies <bin>/Tovanix.exe into the run directory, starts it there and waits
  // until its visible main window (class "Pelovara") exists and the program is
  // idle. False (with the reason in LastError()) when it does not come up.
  bool Start(DWORD timeoutMs = 20000);
  const std::string& LastError() const { return error_; }

  DWORD Pid() const { return pi_.dwProcessId; }
  HANDLE Process() const { return pi_.hProcess; }
  HWND Window() const { return window_; }
  HWND Control(ControlId id) const;
  bool IsRunning() const;

  // Window facts, read cross-process.
  Text Caption() const;
  std::wstring ClassName() const;                  // of the main window
  std::wstring ClassName(ControlId id) const;      // of a control
  LONG_PTR Style(ControlId id) const;
  LONG_PTR ExStyle(ControlId id) const;
  Rect WindowRect() const;                         // screen pixels, frame included
  Rect ClientRect() const;                         // of the main window, (0,0)-based
  Rect ControlRect(ControlId id) const;            // in the main window's client area
  bool IsVisible(ControlId id) const;
  bool IsChecked(ControlId id) const;              // radio buttons

  // The text of an edit box, label or button (WM_GETTEXT).
  Text GetText(ControlId id) const;
  // Replaces the text with WM_SETTEXT, as another program would; returns when
  // the control (and any handler its change notification runs) is done.
  void SetText(ControlId id, std::string_view text) const;
  // Types text at the caret, one WM_CHAR per UTF-16 unit (sent, so synchronous):
  // the edit box sees what a keyboard would give it.
  void Type(ControlId id, std::string_view text) const;
  // Clicks a button (BM_CLICK) and returns when its handler has returned.
  void Click(ControlId id) const;
  // Clicks a button without waiting (BM_CLICK posted), e.g. to click while a
  // handler of the program is still running.
  void PostClick(ControlId id) const;

  // The list view's columns, rows and selection, through memory in the program's
  // process (LVM_GETCOLUMNW / LVM_GETITEMTEXTW).
  ListContent ReadList(ControlId id = ControlId::超级列表框1) const;
  // A row's rectangle in the list view's client area (LVM_GETITEMRECT, LVIR_BOUNDS).
  Rect ListRowRect(int row, ControlId id = ControlId::超级列表框1) const;
  // Combo box items (CB_GETLBTEXT) and the current item.
  std::vector<Text> ComboItems(ControlId id = ControlId::组合框1) const;
  int ComboCurrent(ControlId id = ControlId::组合框1) const;

  // Moves or sizes the main window (SetWindowPos from outside, as the docking does).
  void MoveWindow(int left, int top, int width, int height) const;

  // Posts an Esc key press to the program's focused window (the main window when
  // none has the focus), as the keyboard would deliver it.
  void PressEsc() const;
  // Waits for the process to end; its exit code, or nothing on timeout.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs = 10000);
  // Ends the process at once (teardown does this too).
  void Kill();

 private:
  std::wstring runDir_;
  PROCESS_INFORMATION pi_{};
  HWND window_ = nullptr;
  std::string error_;
};

}  // namespace tvx::ui
