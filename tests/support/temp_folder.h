#pragma once
// A fresh folder under the system's temporary folder for one test, removed with
// everything inside when the test ends. Paths are code page 936 text.
#include <windows.h>

#include <atomic>
#include <string>

#include "platform/text.h"
#include "platform/wide.h"

namespace tvx::scratch {

inline void RemoveTree(const std::wstring& path) {
  const std::wstring full = SystemPath(std::wstring_view(path));
  WIN32_FIND_DATAW data;
  HANDLE found = FindFirstFileW((full + L"\\*").c_str(), &data);
  if (found != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        const std::wstring c = SystemPath(std::wstring_view(child));
        SetFileAttributesW(c.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(c.c_str());
      }
    } while (FindNextFileW(found, &data));
    FindClose(found);
  }
  RemoveDirectoryW(full.c_str());
}

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, base);
    wide_ = std::wstring(base) + L"tovanix-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter);
    CreateDirectoryW(wide_.c_str(), nullptr);
    path_ = WideToText(std::wstring_view(wide_));
  }
  ~TempFolder() { RemoveTree(wide_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const Text& path() const { return path_; }
  // The folder, a backslash and name.
  Text operator/(std::string_view name) const { return path_ + "\\" + Text(name); }

 private:
  std::wstring wide_;
  Text path_;
};

// Writes and reads a file by the system's own calls, independent of the primitives.
inline bool PutFile(std::string_view path, std::string_view bytes) {
  HANDLE h = CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(h);
  return ok;
}

// The file's bytes; "<missing>" when it cannot be opened.
inline std::string GetFile(std::string_view path) {
  HANDLE h = CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
  CloseHandle(h);
  return bytes;
}

}  // namespace tvx::scratch
