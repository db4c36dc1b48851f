#include "platform/text.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace tvx {
namespace {

// A text ends at its first 0 byte, even when the view holds more.
std::string_view Cut(std::string_view text) {
  const void* zero = text.empty() ? nullptr : std::memchr(text.data(), 0, text.size());
  if (zero == nullptr) return text;
  return text.substr(0, static_cast<const char*>(zero) - text.data());
}

std::int32_t Clamp32(std::size_t n) {
  constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(n > kMax ? kMax : n);
}

unsigned char Byte(std::string_view text, std::int64_t i) {
  return static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
}

unsigned char Fold(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

bool MatchesAt(std::string_view text, std::int64_t pos, std::string_view sought, bool ignoreCase) {
  if (!ignoreCase) return std::memcmp(text.data() + pos, sought.data(), sought.size()) == 0;
  for (std::size_t i = 0; i < sought.size(); ++i) {
    if (Fold(Byte(text, pos + static_cast<std::int64_t>(i))) !=
        Fold(static_cast<unsigned char>(sought[i]))) {
      return false;
    }
  }
  return true;
}

// Moves a candidate one character on: two bytes after a lead byte. False when a lead
// byte stands just before the end of the text, which ends any search or scan.
bool StepCharacter(std::string_view text, std::int64_t& pos) {
  const auto length = static_cast<std::int64_t>(text.size());
  if (Byte(text, pos) >= 0x80) {
    if (pos + 1 >= length) return false;
    pos += 2;
  } else {
    pos += 1;
  }
  return true;
}

Text Format(const char* format, auto value) {
  char buffer[64];
  const int n = std::snprintf(buffer, sizeof buffer, format, value);
  if (n <= 0) return Text();
  return Text(buffer, static_cast<std::size_t>(n < static_cast<int>(sizeof buffer) ? n : sizeof buffer - 1));
}

}  // namespace

std::int32_t TextLength(std::string_view text) { return Clamp32(Cut(text).size()); }

std::int32_t FindText(std::string_view text, std::string_view sought, std::int32_t start,
                      bool ignoreCase) {
  text = Cut(text);
  sought = Cut(sought);
  const auto length = static_cast<std::int64_t>(text.size());
  const auto m = static_cast<std::int64_t>(sought.size());
  std::int64_t pos = static_cast<std::int64_t>(start) - 1;
  if (pos < 0) pos = 0;
  if (pos >= length) return -1;
  if (m == 0) return 1;
  while (length - pos >= m) {
    if (MatchesAt(text, pos, sought, ignoreCase)) return Clamp32(static_cast<std::size_t>(pos + 1));
    if (!StepCharacter(text, pos)) return -1;
  }
  return -1;
}

std::int32_t FindLastText(std::string_view text, std::string_view sought) {
  return FindLastText(text, sought, std::numeric_limits<std::int32_t>::max(), false);
}

std::int32_t FindLastText(std::string_view text, std::string_view sought, std::int32_t start,
                          bool ignoreCase) {
  text = Cut(text);
  sought = Cut(sought);
  const auto length = static_cast<std::int64_t>(text.size());
  const auto m = static_cast<std::int64_t>(sought.size());
  std::int64_t region = static_cast<std::int64_t>(start) - 1;
  if (region <= 0) return -1;
  if (region > length) region = length;
  if (region <= 0) return -1;
  if (m == 0) return 1;
  std::int64_t found = -1;
  std::int64_t pos = 0;
  while (region - pos >= m) {
    if (MatchesAt(text, pos, sought, ignoreCase)) found = pos;
    if (!StepCharacter(text, pos)) break;
  }
  return found < 0 ? -1 : Clamp32(static_cast<std::size_t>(found + 1));
}

Text TextLeft(std::string_view text, std::int32_t n) {
  text = Cut(text);
  if (n <= 0) return Text();
  return Text(text.substr(0, static_cast<std::size_t>(n)));
}

Text TextRight(std::string_view text, std::int32_t n) {
  text = Cut(text);
  if (n <= 0) return Text();
  const auto count = static_cast<std::size_t>(n);
  if (count >= text.size()) return Text(text);
  return Text(text.substr(text.size() - count));
}

TextList SplitText(std::string_view text, std::string_view separator, std::int32_t pieceLimit) {
  text = Cut(text);
  separator = Cut(separator);
  TextList pieces;
  const bool limited = pieceLimit >= 0;
  if (text.empty() || (limited && pieceLimit == 0)) return pieces;
  if (separator.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  const auto length = static_cast<std::int64_t>(text.size());
  const auto m = static_cast<std::int64_t>(separator.size());
  std::int64_t left = pieceLimit;
  std::int64_t pieceStart = 0;
  std::int64_t pos = 0;
  while (length - pos >= m) {
    if (MatchesAt(text, pos, separator, false)) {
      pieces.emplace_back(text.substr(static_cast<std::size_t>(pieceStart),
                                      static_cast<std::size_t>(pos - pieceStart)));
      pos += m;
      pieceStart = pos;
      if (limited && --left == 0) return pieces;
    } else if (!StepCharacter(text, pos)) {
      break;
    }
  }
  if (pieceStart < length) pieces.emplace_back(text.substr(static_cast<std::size_t>(pieceStart)));
  return pieces;
}

Text BlankText(std::int32_t n) { return n < 1 ? Text() : Text(static_cast<std::size_t>(n), ' '); }

Text ToText(std::int32_t value) { return Format("%ld", static_cast<long>(value)); }
Text ToText(std::int16_t value) { return Format("%d", static_cast<int>(value)); }
Text ToText(std::uint8_t value) { return Format("%u", static_cast<unsigned>(value)); }
Text ToText(std::int64_t value) { return Format("%lld", static_cast<long long>(value)); }
Text ToText(float value) { return Format("%.6g", static_cast<double>(value)); }
Text ToText(double value) { return Format("%.13g", value); }

// Full-width forms count as their ASCII forms: code page 936 row 0xA3 holds the
// full-width counterparts of ASCII 0x21..0x7E, and 0xA1 0xA1 is the full-width space.
// A number beyond the 32-bit range saturates at INT32_MAX / INT32_MIN.
std::int32_t ToInteger(std::string_view text) {
  text = Cut(text);
  std::size_t i = 0;
  auto next = [&]() -> int {  // the next character in its single-byte form; -1 at the end
    if (i >= text.size()) return -1;
    const unsigned char c = Byte(text, static_cast<std::int64_t>(i));
    if (c < 0x80 || i + 1 >= text.size()) {
      ++i;
      return c;
    }
    const unsigned char trail = Byte(text, static_cast<std::int64_t>(i + 1));
    i += 2;
    if (c == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return trail - 0x80;
    if (c == 0xA1 && trail == 0xA1) return ' ';
    return 0x100;  // some other two-byte character: no digit, sign or space
  };
  int c = next();
  while (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') c = next();
  bool negative = false;
  if (c == '+' || c == '-') {
    negative = c == '-';
    c = next();
  }
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  while (c >= '0' && c <= '9') {
    value = value * 10 + (c - '0');
    if (value > kLimit) value = kLimit;
    c = next();
  }
  if (negative) return static_cast<std::int32_t>(-value);
  return static_cast<std::int32_t>(value > kLimit - 1 ? kLimit - 1 : value);
}

// Truncated toward zero; NaN gives 0 and values beyond the 32-bit range saturate.
std::int32_t ToInteger(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

Bytes ToBytes(std::string_view text) {
  text = Cut(text);
  return Bytes(text.begin(), text.end());
}

Bytes BlankBytes(std::int32_t n) { return n <= 0 ? Bytes() : Bytes(static_cast<std::size_t>(n), 0); }

std::int32_t BytesLength(const Bytes& block) { return Clamp32(block.size()); }

Bytes BytesFromAddress(const void* address, std::int32_t n) {
  if (address == nullptr || n <= 0) return Bytes();
  const auto* first = static_cast<const std::uint8_t*>(address);
  return Bytes(first, first + n);
}

Text TextFromBytes(const Bytes& block) {
  const auto* first = reinterpret_cast<const char*>(block.data());
  return Text(Cut(std::string_view(first, block.size())));
}

std::int32_t BitAnd(std::int32_t a, std::int32_t b) { return a & b; }

std::int32_t ShiftLeft(std::int32_t value, std::int32_t count) {
  const auto bits = static_cast<std::uint32_t>(value) << (static_cast<std::uint32_t>(count) & 31u);
  return static_cast<std::int32_t>(bits);
}

double AbsoluteValue(double value) { return std::fabs(value); }

}  // namespace tvx
