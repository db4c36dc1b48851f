#pragma once
// Text, byte and number primitives. A Text is code page 936 bytes without a 0
// byte inside; positions are 1-based byte positions and a failed search is -1.
// Searches and splits step over two-byte characters (lead byte >= 0x80).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

using Text = std::string;                  // code page 936 bytes
using Bytes = std::vector<std::uint8_t>;   // a byte block; empty = length 0
using TextList = std::vector<Text>;        // numbered from 1 by callers

std::int32_t TextLength(std::string_view text);
// start: 1-based; 0 or negative counts as 1.
std::int32_t FindText(std::string_view text, std::string_view sought, std::int32_t start = 1,
                      bool ignoreCase = false);
// start: a match must end at or before byte start-1; the default finds the last anywhere.
std::int32_t FindLastText(std::string_view text, std::string_view sought);
std::int32_t FindLastText(std::string_view text, std::string_view sought, std::int32_t start,
                          bool ignoreCase = false);
Text TextLeft(std::string_view text, std::int32_t n);
Text TextRight(std::string_view text, std::int32_t n);
// pieceLimit < 0 means no limit (the default); 0 gives the empty list.
TextList SplitText(std::string_view text, std::string_view separator = ",",
                   std::int32_t pieceLimit = -1);
Text BlankText(std::int32_t n);

Text ToText(std::int32_t value);
Text ToText(std::int16_t value);
Text ToText(std::uint8_t value);
Text ToText(std::int64_t value);
Text ToText(float value);
Text ToText(double value);
inline Text ToText(std::string_view text) { return Text(text); }

std::int32_t ToInteger(std::string_view text);
std::int32_t ToInteger(double value);

Bytes ToBytes(std::string_view text);
Bytes BlankBytes(std::int32_t n);
std::int32_t BytesLength(const Bytes& block);
Bytes BytesFromAddress(const void* address, std::int32_t n);
Text TextFromBytes(const Bytes& block);

std::int32_t BitAnd(std::int32_t a, std::int32_t b);
template <typename... Rest>
std::int32_t BitAnd(std::int32_t a, std::int32_t b, Rest... rest) {
  return BitAnd(BitAnd(a, b), rest...);
}
std::int32_t ShiftLeft(std::int32_t value, std::int32_t count);
double AbsoluteValue(double value);

}  // namespace tvx
