#pragma once
// The top-level windows of one process, for test programs that start another
// program and look for its main window or its popup menus.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tvx::scratch {

// The top-level windows of process pid, in z order, for which keep(window,
// className) holds; at most `most` of them.
inline std::vector<HWND> TopLevelWindowsOf(
    DWORD pid, const std::function<bool(HWND, const std::wstring&)>& keep, size_t most = SIZE_MAX) {
  struct Search {
    DWORD pid;
    const std::function<bool(HWND, const std::wstring&)>& keep;
    size_t most;
    std::vector<HWND> found;
  } search{pid, keep, most, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != s->pid) return TRUE;
        wchar_t name[256] = {};
        GetClassNameW(window, name, 256);
        if (s->keep(window, name)) s->found.push_back(window);
        return s->found.size() < s->most;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The first such window, or null.
inline HWND FirstTopLevelWindowOf(DWORD pid,
                                  const std::function<bool(HWND, const std::wstring&)>& keep) {
  const std::vector<HWND> found = TopLevelWindowsOf(pid, keep, 1);
  return found.empty() ? nullptr : found.front();
}

}  // namespace tvx::scratch
