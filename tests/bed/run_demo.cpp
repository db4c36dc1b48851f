// The main job of `./dev.sh run`: start the stand-in chat client and Tovanix
// beside it, then either wait for the user to close Tovanix (on a real display)
// or, on a virtual display, signal the caller that the screen is ready for a
// screenshot, wait for its go-ahead, close Tovanix with Esc and report the exit
// code. Programs are looked for beside this one; what does not exist yet is
// skipped, so the job runs at every stage of the build.
#include <windows.h>

#include <cstdio>
#include <string>

#include "support/process_windows.h"

namespace {

std::wstring Dir() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L'\\') + 1);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct Process {
  PROCESS_INFORMATION pi{};
  bool Start(const std::wstring& exe, const std::wstring& args) {
    std::wstring cmd = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{sizeof si};
    std::wstring dir = exe.substr(0, exe.find_last_of(L'\\'));
    return CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi);
  }
  ~Process() {
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
  }
};

HWND WaitForWindow(DWORD pid, const wchar_t* cls, DWORD ms) {
  for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < ms; Sleep(100)) {
    HWND found = tvx::scratch::FirstTopLevelWindowOf(pid, [cls](HWND window, const std::wstring& name) {
      return name.find(cls) != std::wstring::npos && IsWindowVisible(window);
    });
    if (found) return found;
  }
  return nullptr;
}

void Touch(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // run_demo.exe            wait until the user closes Tovanix
  // run_demo.exe <dir>      write <dir>\ready, wait for <dir>\go, then press Esc
  std::wstring markers = argc > 1 ? argv[1] : L"";
  std::wstring dir = Dir();

  Process client;
  if (Exists(dir + L"WeChat.exe")) {
    // An account and an open chat, so that Tovanix has something to show.
    if (client.Start(dir + L"WeChat.exe", L"--account 演示账号 --chat 张三 --log demo-chat.log"))
      WaitForWindow(client.pi.dwProcessId, L"WeChatMainWndForPC", 15000);
  }
  if (!Exists(dir + L"Tovanix.exe")) {
    std::printf("Tovanix.exe is not built yet\n");
    if (!markers.empty()) { Sleep(1500); Touch(markers + L"\\ready"); }
    return 0;
  }
  Process app;
  if (!app.Start(dir + L"Tovanix.exe", L"")) { std::printf("cannot start Tovanix.exe\n"); return 1; }
  HWND main = WaitForWindow(app.pi.dwProcessId, L"Pelovara", 30000);
  if (!main) { std::printf("Tovanix showed no window\n"); TerminateProcess(app.pi.hProcess, 1); return 1; }

  if (!markers.empty()) {
    Sleep(1500);  // let the first ticks dock the window and fill the boxes
    Touch(markers + L"\\ready");
    while (!Exists(markers + L"\\go")) Sleep(100);
    SetForegroundWindow(main);
    Sleep(200);
    keybd_event(VK_ESCAPE, 0, 0, 0);
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    if (WaitForSingleObject(app.pi.hProcess, 10000) != WAIT_OBJECT_0) {
      std::printf("Tovanix did not close on Esc\n");
      TerminateProcess(app.pi.hProcess, 1);
    }
  } else {
    WaitForSingleObject(app.pi.hProcess, INFINITE);
  }
  DWORD code = 0;
  GetExitCodeProcess(app.pi.hProcess, &code);
  std::printf("Tovanix exit code: %lu\n", code);
  if (client.pi.hProcess) TerminateProcess(client.pi.hProcess, 0);
  return static_cast<int>(code);
}
