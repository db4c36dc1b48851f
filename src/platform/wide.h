#pragma once
// Texts crossing into UTF-16 for the system's wide calls, always through code page
// 936 whatever the machine's ANSI code page is; and creating a file together with
// every missing folder along its path.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace tvx {

// UTF-16LE units including the terminating NUL unit (a text of n units takes 2n + 2
// bytes); the empty text gives the empty block.
Bytes TextToWide(std::string_view text);
// The units before the first NUL unit, as code page 936 text. An odd last byte is ignored.
Text WideToText(const Bytes& wide);
Text WideToText(std::wstring_view units);

// The block as a string for a wide system call: null for the empty block.
inline const wchar_t* WidePointer(const Bytes& wide) {
  return wide.empty() ? nullptr : reinterpret_cast<const wchar_t*>(wide.data());
}

// The wide form of a path for the file system calls. A path too long for the plain
// calls is made absolute and given the \\?\ prefix, so deep folders still work.
std::wstring SystemPath(std::string_view path);
std::wstring SystemPath(std::wstring_view widePath);

bool IsExistingDirectory(std::string_view path);
// The path itself when it names an existing folder, otherwise the path up to and
// including its last backslash (a slash does not count); empty when there is none.
Text ParentDirectoryOf(std::string_view path);
// Creates the folder before every backslash but the first, then the whole path.
// True when the path names a folder afterwards.
bool CreateDirectoryChain(std::string_view path);
// Creates the file with its missing folders and gives it length bytes: 1 on success,
// otherwise the system error code, leaving no file behind. A file that already exists
// is kept as it is (its contents are the user's) and gives 1.
std::int32_t EnsureFile(std::string_view path, std::int32_t length);

}  // namespace tvx
