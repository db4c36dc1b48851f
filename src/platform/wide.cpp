#include "platform/wide.h"

#include <shlwapi.h>

#include <cstring>

#include "platform/codepage.h"
#include "platform/scoped_win.h"

namespace tvx {

Bytes TextToWide(std::string_view text) {
  const Text bytes(text.substr(0, static_cast<std::size_t>(TextLength(text))));  // gains its 0
  if (bytes.empty()) return Bytes();
  const int n = MultiByteToWideChar(kTextCodePage, 0, bytes.c_str(), -1, nullptr, 0);
  if (n <= 0) return Bytes();
  Bytes block(static_cast<std::size_t>(n) * 2, 0);
  if (MultiByteToWideChar(kTextCodePage, 0, bytes.c_str(), -1,
                          reinterpret_cast<wchar_t*>(block.data()), n) <= 0) {
    return Bytes();
  }
  return block;
}

Text WideToText(std::wstring_view units) {
  const std::wstring copy(units.substr(0, units.find(L'\0')));  // gains its NUL unit
  if (copy.empty()) return Text();
  const int n = WideCharToMultiByte(kTextCodePage, 0, copy.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return Text();
  Text buffer(static_cast<std::size_t>(n), '\0');
  if (WideCharToMultiByte(kTextCodePage, 0, copy.c_str(), -1, buffer.data(), n, nullptr, nullptr) <= 0) {
    return Text();
  }
  buffer.resize(buffer.find('\0') == Text::npos ? buffer.size() : buffer.find('\0'));
  return buffer;
}

Text WideToText(const Bytes& wide) {
  std::wstring units(wide.size() / 2, L'\0');
  if (!units.empty()) std::memcpy(units.data(), wide.data(), units.size() * 2);
  return WideToText(std::wstring_view(units));
}

std::wstring SystemPath(std::wstring_view widePath) {
  std::wstring path(widePath.substr(0, widePath.find(L'\0')));
  // CreateDirectoryW already refuses 248 units and more; the others stop at MAX_PATH.
  constexpr std::size_t kPlainLimit = MAX_PATH - 12;
  if (path.size() < kPlainLimit || path.starts_with(L"\\\\?\\")) return path;
  const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  const DWORD done = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
  if (done == 0 || done >= n) return path;
  full.resize(done);
  if (full.starts_with(L"\\\\?\\")) return full;
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::wstring SystemPath(std::string_view path) {
  const Bytes wide = TextToWide(path);
  if (wide.empty()) return std::wstring();
  return SystemPath(std::wstring_view(WidePointer(wide)));
}

bool IsExistingDirectory(std::string_view path) {
  const std::wstring wide = SystemPath(path);
  if (wide.empty()) return false;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

Text ParentDirectoryOf(std::string_view path) {
  if (IsExistingDirectory(path)) return Text(path.substr(0, static_cast<std::size_t>(TextLength(path))));
  const std::int32_t p = FindLastText(path, "\\");
  return p < 0 ? Text() : TextLeft(path, p);
}

bool CreateDirectoryChain(std::string_view path) {
  const Bytes w = TextToWide(path);
  if (w.size() >= 8) {
    const auto* units = WidePointer(w);
    const std::size_t count = w.size() / 2;
    std::wstring prefix;
    prefix.reserve(count);
    int backslashes = 0;
    for (std::size_t i = 0; i < count; ++i) {
      const wchar_t u = units[i];
      if (u == L'\0') {
        CreateDirectoryW(SystemPath(prefix).c_str(), nullptr);
        break;
      }
      if (u == L'\\') {
        if (backslashes > 0) CreateDirectoryW(SystemPath(prefix).c_str(), nullptr);
        ++backslashes;
      }
      prefix.push_back(u);
    }
  }
  if (w.empty()) return false;
  return PathIsDirectoryW(SystemPath(std::wstring_view(WidePointer(w))).c_str()) == FILE_ATTRIBUTE_DIRECTORY;
}

namespace {
// The system error code of the last failure; error 1 (ERROR_INVALID_FUNCTION) would
// read as success and 0 as no failure, so both are reported as ERROR_INVALID_PARAMETER.
std::int32_t LastErrorCode() {
  const auto code = static_cast<std::int32_t>(GetLastError());
  return code == 1 || code == 0 ? static_cast<std::int32_t>(ERROR_INVALID_PARAMETER) : code;
}
}  // namespace

std::int32_t EnsureFile(std::string_view path, std::int32_t length) {
  CreateDirectoryChain(ParentDirectoryOf(path));
  const std::wstring wide = SystemPath(path);
  if (wide.empty()) return ERROR_PATH_NOT_FOUND;
  UniqueHandle file(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_ARCHIVE, nullptr));
  if (!file) return LastErrorCode();
  // OPEN_ALWAYS reports an existing file this way; its contents are not ours to cut.
  if (GetLastError() == ERROR_ALREADY_EXISTS) return 1;
  std::int32_t result = 1;
  if (static_cast<LONG>(SetFilePointer(file.get(), length, nullptr, FILE_BEGIN)) < 0 ||
      !SetEndOfFile(file.get())) {
    result = LastErrorCode();
  }
  file.reset();
  if (result != 1) DeleteFileW(wide.c_str());
  return result;
}

}  // namespace tvx
