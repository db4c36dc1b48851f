#pragma once
// The stand-in chat client (WeChat.exe in the test programs' folder): how to
// start it, find its main window and drive it from a test.
//
// Command line:  WeChat.exe --account <name> [--chat <partner>] [--log <path>]
//                           [--class <class>] [--title <title>] [--hidden]
//   --account  the logged-in account's name (kAccountNamePath reaches it)
//   --chat     the partner of the chat open at start; without it no chat is open
//   --log      file that every sent message is appended to, one line each
//   --class, --title  the main window's class and title instead of the usual
//   --hidden   the main window is created without being shown
// Quote values that hold spaces ("--chat \"A B\"").
//
// Main window: class "WeChatMainWndForPC", title "微信", parentless, visible.
// It answers WM_GETOBJECT(OBJID_WINDOW) with a window object shaped like the
// system's: seven standard children, the client object fourth, in state 0.
//
// Message input: a multi-line edit that has the focus. Ctrl+V pastes CF_TEXT
// text, or records a CF_BITMAP picture; Enter sends. Each sent message appends
// one line to the log, code page 936, ended by CR LF: the text (a line break
// inside it written as the two bytes \n, a backslash as \\), then, when a
// picture was pasted, a line "bitmap <width>x<height>".
//
// Control channel: WM_COPYDATA sent to the main window, dwData one of the
// commands below, the answer in SendMessage's result.
#include <windows.h>

#include <string>
#include <string_view>

#include "support/process_windows.h"

namespace tvx::standin {

inline constexpr wchar_t kWindowClass[] = L"WeChatMainWndForPC";
inline constexpr wchar_t kWindowTitle[] = L"微信";
inline constexpr wchar_t kExeName[] = L"WeChat.exe";

enum Command : ULONG_PTR {
  // lpData: the partner's name in UTF-16, cbData its size in bytes (no
  // terminator). The chat title path then leads to that name. Answers 1.
  kOpenChat = 1,
  // No chat open: the chat title path leads to no element. Answers 1.
  kCloseChat = 2,
  // Answers the number of accessibility calls served since start or the last
  // reset: every IAccessible, IDispatch, IEnumVARIANT and IOleWindow method
  // except AddRef, Release and QueryInterface.
  kCallCount = 3,
  // Sets the count to 0. Answers 1.
  kResetCallCount = 4,
};

inline LRESULT SendCommand(HWND window, Command command, std::wstring_view text = {}) {
  COPYDATASTRUCT data{};
  data.dwData = command;
  data.cbData = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  data.lpData = const_cast<wchar_t*>(text.data());
  return SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

inline void OpenChat(HWND window, std::wstring_view partner) {
  SendCommand(window, kOpenChat, partner);
}
inline void CloseChat(HWND window) { SendCommand(window, kCloseChat); }
inline long long CallCount(HWND window) {
  return static_cast<long long>(SendCommand(window, kCallCount));
}
inline void ResetCallCount(HWND window) { SendCommand(window, kResetCallCount); }

// The folder of the running program (where WeChat.exe lies beside the tests).
inline std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  const auto slash = folder.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
}

// One running stand-in, started with the given arguments and ended (by
// TerminateProcess) when this object goes away.
class Process {
 public:
  Process() = default;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process() { Stop(); }

  // Starts WeChat.exe with arguments and waits up to timeoutMs for its main window.
  bool Start(std::wstring_view arguments, DWORD timeoutMs = 15000) {
    Stop();
    std::wstring commandLine = L"\"" + ProgramFolder() + L"\\" + kExeName + L"\" ";
    commandLine += arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
      return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < deadline) {
      window_ = FindWindowOf(processId_);
      if (window_ != nullptr) return true;
      if (WaitForSingleObject(process_, 50) == WAIT_OBJECT_0) return false;
    }
    return false;
  }

  void Stop() {
    if (process_ != nullptr) {
      TerminateProcess(process_, 0);
      WaitForSingleObject(process_, 5000);
      CloseHandle(process_);
    }
    process_ = nullptr;
    processId_ = 0;
    window_ = nullptr;
  }

  HWND Window() const { return window_; }
  DWORD Id() const { return processId_; }

  // The stand-in main window that process id owns (a top-level window whose
  // class contains "WeChatMainWndForPC", shown or not), or null.
  static HWND FindWindowOf(DWORD processId) {
    return scratch::FirstTopLevelWindowOf(processId, [](HWND, const std::wstring& cls) {
      return cls.find(kWindowClass) != std::wstring::npos;
    });
  }

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
};

}  // namespace tvx::standin
