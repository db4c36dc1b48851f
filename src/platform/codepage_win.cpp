// Code page 936 <-> UTF-8 through the system's own conversion tables, always code
// page 936 whatever the machine's ANSI code page is. Undecodable input is replaced
// by the system's default character; the conversion itself never fails.
#include <windows.h>

#include <climits>
#include <cstring>

#include "platform/codepage.h"

namespace tvx {
namespace {

std::string_view CutAtZero(std::string_view text) {
  const void* zero = text.empty() ? nullptr : std::memchr(text.data(), 0, text.size());
  return zero == nullptr ? text : text.substr(0, static_cast<const char*>(zero) - text.data());
}

int CountOf(std::size_t n) { return n > INT_MAX ? INT_MAX : static_cast<int>(n); }

std::wstring ToUtf16(UINT codePage, std::string_view text) {
  std::wstring wide;
  const int inCount = CountOf(text.size());
  if (inCount == 0) return wide;
  const int n = MultiByteToWideChar(codePage, 0, text.data(), inCount, nullptr, 0);
  if (n <= 0) return wide;
  wide.resize(static_cast<std::size_t>(n));
  const int done = MultiByteToWideChar(codePage, 0, text.data(), inCount, wide.data(), n);
  wide.resize(done > 0 ? static_cast<std::size_t>(done) : 0);
  return wide;
}

std::string FromUtf16(UINT codePage, const std::wstring& wide) {
  std::string text;
  const int inCount = CountOf(wide.size());
  if (inCount == 0) return text;
  const int n = WideCharToMultiByte(codePage, 0, wide.data(), inCount, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return text;
  text.resize(static_cast<std::size_t>(n));
  const int done =
      WideCharToMultiByte(codePage, 0, wide.data(), inCount, text.data(), n, nullptr, nullptr);
  text.resize(done > 0 ? static_cast<std::size_t>(done) : 0);
  return text;
}

}  // namespace

std::string Cp936ToUtf8(std::string_view text) {
  return FromUtf16(CP_UTF8, ToUtf16(kTextCodePage, CutAtZero(text)));
}

Text Utf8ToCp936(std::string_view utf8) {
  return Text(CutAtZero(FromUtf16(kTextCodePage, ToUtf16(CP_UTF8, CutAtZero(utf8)))));
}

}  // namespace tvx
