#include "ui_driver.h"

#include "support/process_windows.h"
#include "support/temp_folder.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

namespace tvx::ui {
namespace {

constexpr UINT kCodePage = 936;
constexpr int kRemoteTextChars = 4096;

std::wstring Join(std::wstring_view dir, std::wstring_view name) {
  std::wstring path(dir);
  path += L'\\';
  path += name;
  return path;
}


std::wstring WindowTextW(HWND hwnd) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &len)) return {};
  std::wstring buf(len + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                      SMTO_ABORTIFHUNG, 5000, &got);
  buf.resize(got);
  return buf;
}

// A block of memory in the program's process, for messages that carry pointers.
class RemoteBlock {
 public:
  RemoteBlock(HANDLE process, size_t size) : process_(process), size_(size) {
    base_ = static_cast<char*>(
        VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  ~RemoteBlock() {
    if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  explicit operator bool() const { return base_ != nullptr; }
  char* at(size_t offset) const { return base_ + offset; }
  bool Write(size_t offset, const void* data, size_t n) const {
    SIZE_T done = 0;
    return offset + n <= size_ && WriteProcessMemory(process_, base_ + offset, data, n, &done) &&
           done == n;
  }
  bool Read(size_t offset, void* data, size_t n) const {
    SIZE_T done = 0;
    return offset + n <= size_ && ReadProcessMemory(process_, base_ + offset, data, n, &done) &&
           done == n;
  }
  std::wstring ReadText(size_t offset, size_t maxChars) const {
    std::wstring text(maxChars, L'\0');
    if (!Read(offset, text.data(), maxChars * sizeof(wchar_t))) return {};
    text.resize(std::wcslen(text.c_str()));
    return text;
  }

 private:
  HANDLE process_;
  size_t size_;
  char* base_ = nullptr;
};

}  // namespace

std::string ToString(const Rect& r) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "(%d, %d, %d x %d)", r.left, r.top, r.width, r.height);
  return buf;
}

std::wstring Wide(std::string_view cp936) {
  if (cp936.empty()) return {};
  int n = MultiByteToWideChar(kCodePage, 0, cp936.data(), static_cast<int>(cp936.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(kCodePage, 0, cp936.data(), static_cast<int>(cp936.size()), out.data(), n);
  return out;
}

Text Narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  Text out(n, '\0');
  WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

bool WaitUntil(const std::function<bool()>& pred, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (pred()) return true;
    if (GetTickCount() - start >= timeoutMs) return pred();
    Sleep(20);
  }
}

std::wstring TestBinDirectory() {
  wchar_t path[MAX_PATH * 2];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L"\\/") + 1);
}

TovanixApp::TovanixApp() {
  static LONG counter = 0;
  wchar_t temp[MAX_PATH];
  DWORD n = GetTempPathW(MAX_PATH, temp);
  std::wstring base(temp, n);
  if (!base.empty() && (base.back() == L'\\' || base.back() == L'/')) base.pop_back();
  for (int attempt = 0; attempt < 100; ++attempt) {
    wchar_t name[80];
    std::swprintf(name, 80, L"tovanix-run-%lu-%ld-%lu", GetCurrentProcessId(),
                  InterlockedIncrement(&counter), GetTickCount());
    std::wstring dir = Join(base, name);
    if (CreateDirectoryW(dir.c_str(), nullptr)) {
      runDir_ = dir;
      return;
    }
  }
  error_ = "could not create a run directory";
}

TovanixApp::~TovanixApp() {
  Kill();
  if (!runDir_.empty()) {
    // A killed process may hold its files for a moment.
    for (int i = 0; i < 50; ++i) {
      scratch::RemoveTree(runDir_);
      if (GetFileAttributesW(runDir_.c_str()) == INVALID_FILE_ATTRIBUTES) break;
      Sleep(20);
    }
  }
}

std::wstring TovanixApp::PathOf(std::wstring_view name) const { return Join(runDir_, name); }

bool TovanixApp::Seed(std::wstring_view name, std::string_view bytes) {
  HANDLE f = CreateFileW(PathOf(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD done = 0;
  bool ok = bytes.empty() ||
            (WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
             done == bytes.size());
  CloseHandle(f);
  return ok;
}

std::optional<std::string> TovanixApp::ReadFile(std::wstring_view name) const {
  HANDLE f = CreateFileW(PathOf(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string data;
  char buf[65536];
  DWORD got = 0;
  while (::ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) data.append(buf, got);
  CloseHandle(f);
  return data;
}

bool TovanixApp::FileExists(std::wstring_view name) const {
  return GetFileAttributesW(PathOf(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool TovanixApp::Start(DWORD timeoutMs) {
  if (runDir_.empty()) return false;
  std::wstring source = TestBinDirectory() + L"Tovanix.exe";
  std::wstring exe = PathOf(L"Tovanix.exe");
  if (!CopyFileW(source.c_str(), exe.c_str(), FALSE)) {
    error_ = "Tovanix.exe is not beside the test program: " + Narrow(source);
    return false;
  }
  std::wstring cmd = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      runDir_.c_str(), &si, &pi_)) {
    error_ = "CreateProcess failed: " + std::to_string(GetLastError());
    return false;
  }
  HWND found = nullptr;
  bool up = WaitUntil(
      [&] {
        if (!IsRunning()) return true;
        found = scratch::FirstTopLevelWindowOf(pi_.dwProcessId, [](HWND window, const std::wstring& cls) {
          return cls == kMainWindowClass && IsWindowVisible(window);
        });
        return found != nullptr;
      },
      timeoutMs);
  if (!IsRunning()) {
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    error_ = "Tovanix.exe ended during start-up with exit code " + std::to_string(code);
    return false;
  }
  if (!up || !found) {
    error_ = "no visible Pelovara window of the started process";
    return false;
  }
  window_ = found;
  WaitForInputIdle(pi_.hProcess, timeoutMs);
  // One round trip through the window procedure: start-up has finished when it answers.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &ignored);
  return true;
}

bool TovanixApp::IsRunning() const {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND TovanixApp::Control(ControlId id) const { return GetDlgItem(window_, Id(id)); }

Text TovanixApp::Caption() const { return Narrow(WindowTextW(window_)); }

std::wstring TovanixApp::ClassName() const {
  wchar_t cls[128] = {};
  GetClassNameW(window_, cls, 128);
  return cls;
}

std::wstring TovanixApp::ClassName(ControlId id) const {
  wchar_t cls[128] = {};
  GetClassNameW(Control(id), cls, 128);
  return cls;
}

LONG_PTR TovanixApp::Style(ControlId id) const { return GetWindowLongPtrW(Control(id), GWL_STYLE); }
LONG_PTR TovanixApp::ExStyle(ControlId id) const {
  return GetWindowLongPtrW(Control(id), GWL_EXSTYLE);
}

Rect TovanixApp::WindowRect() const {
  RECT r{};
  GetWindowRect(window_, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Rect TovanixApp::ClientRect() const {
  RECT r{};
  GetClientRect(window_, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Rect TovanixApp::ControlRect(ControlId id) const {
  RECT r{};
  if (!GetWindowRect(Control(id), &r)) return {};
  MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool TovanixApp::IsVisible(ControlId id) const {
  return (GetWindowLongPtrW(Control(id), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool TovanixApp::IsChecked(ControlId id) const {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

Text TovanixApp::GetText(ControlId id) const { return Narrow(WindowTextW(Control(id))); }

void TovanixApp::SetText(ControlId id, std::string_view text) const {
  std::wstring w = Wide(text);
  SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
}

void TovanixApp::Type(ControlId id, std::string_view text) const {
  HWND edit = Control(id);
  for (wchar_t c : Wide(text)) SendMessageW(edit, WM_CHAR, c, 1);
}

void TovanixApp::Click(ControlId id) const { SendMessageW(Control(id), BM_CLICK, 0, 0); }

void TovanixApp::PostClick(ControlId id) const { PostMessageW(Control(id), BM_CLICK, 0, 0); }

ListContent TovanixApp::ReadList(ControlId id) const {
  ListContent out;
  HWND list = Control(id);
  if (!list) return out;
  const size_t textOffset = 512;  // the structure first, the text buffer after it
  RemoteBlock block(pi_.hProcess, textOffset + kRemoteTextChars * sizeof(wchar_t));
  if (!block) return out;

  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  for (int c = 0; c < columns; ++c) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = reinterpret_cast<wchar_t*>(block.at(textOffset));
    col.cchTextMax = kRemoteTextChars;
    wchar_t zero = 0;
    block.Write(textOffset, &zero, sizeof zero);
    if (!block.Write(0, &col, sizeof col)) break;
    SendMessageW(list, LVM_GETCOLUMNW, c, reinterpret_cast<LPARAM>(block.at(0)));
    LVCOLUMNW back{};
    block.Read(0, &back, sizeof back);
    out.columns.push_back({Narrow(block.ReadText(textOffset, kRemoteTextChars)), back.cx});
  }

  int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int r = 0; r < rows; ++r) {
    std::vector<Text> row;
    for (int c = 0; c < std::max(columns, 1); ++c) {
      LVITEMW item{};
      item.iSubItem = c;
      item.pszText = reinterpret_cast<wchar_t*>(block.at(textOffset));
      item.cchTextMax = kRemoteTextChars;
      if (!block.Write(0, &item, sizeof item)) break;
      LRESULT n = SendMessageW(list, LVM_GETITEMTEXTW, r, reinterpret_cast<LPARAM>(block.at(0)));
      row.push_back(n > 0 ? Narrow(block.ReadText(textOffset, kRemoteTextChars)) : Text());
    }
    out.rows.push_back(std::move(row));
  }
  out.selected = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                               MAKELPARAM(LVNI_SELECTED, 0)));
  return out;
}

Rect TovanixApp::ListRowRect(int row, ControlId id) const {
  RemoteBlock block(pi_.hProcess, sizeof(RECT));
  RECT r{};
  r.left = LVIR_BOUNDS;
  if (!block || !block.Write(0, &r, sizeof r)) return {};
  if (!SendMessageW(Control(id), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(block.at(0)))) return {};
  block.Read(0, &r, sizeof r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::vector<Text> TovanixApp::ComboItems(ControlId id) const {
  std::vector<Text> items;
  HWND combo = Control(id);
  int n = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    LRESULT len = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
    if (len < 0) break;
    std::wstring buf(len + 1, L'\0');
    LRESULT got = SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(got > 0 ? got : 0);
    items.push_back(Narrow(buf));
  }
  return items;
}

int TovanixApp::ComboCurrent(ControlId id) const {
  return static_cast<int>(SendMessageW(Control(id), CB_GETCURSEL, 0, 0));
}

void TovanixApp::MoveWindow(int left, int top, int width, int height) const {
  SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

void TovanixApp::PressEsc() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  HWND target = window_;
  if (GetGUIThreadInfo(pi_.dwThreadId, &info) && info.hwndFocus) target = info.hwndFocus;
  const LPARAM down = 1 | (MapVirtualKeyW(VK_ESCAPE, MAPVK_VK_TO_VSC) << 16);
  PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, down);
  PostMessageW(target, WM_KEYUP, VK_ESCAPE, down | (1u << 30) | (1u << 31));
}

std::optional<DWORD> TovanixApp::WaitForExit(DWORD timeoutMs) {
  if (!pi_.hProcess) return std::nullopt;
  if (WaitForSingleObject(pi_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

void TovanixApp::Kill() {
  if (!pi_.hProcess) return;
  if (IsRunning()) {
    TerminateProcess(pi_.hProcess, 99);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  CloseHandle(pi_.hProcess);
  CloseHandle(pi_.hThread);
  pi_ = {};
  window_ = nullptr;
}

}  // namespace tvx::ui
