#pragma once
// Conversions between the system's code page 936 texts and UTF-8 / UTF-16.
// The remark database stores UTF-8; the Windows wide-text calls take UTF-16.
// Always code page 936, whatever the machine's ANSI code page is.
#include <string>
#include <string_view>

#include "platform/text.h"

namespace tvx {

inline constexpr int kTextCodePage = 936;

// Bytes that are not valid code page 936 (or UTF-8) are replaced, never dropped silently
// into an error: the conversion itself never fails.
std::string Cp936ToUtf8(std::string_view text);
Text Utf8ToCp936(std::string_view utf8);

}  // namespace tvx
