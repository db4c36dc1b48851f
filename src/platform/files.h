#pragma once
// Small files, opened and closed within the operation that uses them. A failure shows
// only in the result: false, 0, the empty text or the empty block; a missing file
// reads as empty. Paths are code page 936 text.
#include <windows.h>

#include <concepts>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

#include "platform/text.h"

namespace tvx {

// A positive number naming a file opened by FileOpen; 0 names no file. Numbers are
// never reused within a run, so a number already closed keeps naming nothing.
using FileNumber = std::int32_t;

// The folder of the program's executable, without a trailing separator.
Text RunDirectory();
// True when anything matches the path: a file, a folder, or a wildcard pattern's match.
bool FileExists(std::string_view path);
bool FileDelete(std::string_view path);
// All of the file; others may read but not write meanwhile. Empty on any failure.
Bytes ReadWholeFile(std::string_view path);
// Creates the file or cuts it to length 0, then writes the blocks in order. False for
// an empty path, a file that cannot be opened, or a write that fails.
bool WriteWholeFileBlocks(std::string_view path, std::span<const Bytes* const> blocks);
template <typename... More>
  requires(std::same_as<More, Bytes> && ...)
bool WriteWholeFile(std::string_view path, const Bytes& first, const More&... more) {
  const Bytes* blocks[] = {&first, &more...};
  return WriteWholeFileBlocks(path, blocks);
}

// Open modes: 1 read, 2 write, 3 read and write (the file must exist, it is kept);
// 4 write (created, or cut to length 0); 5 write, 6 read and write (created, or kept).
// Sharing modes, what other openers may do: 1 read and write, 2 write only, 3 read
// only, 4 neither. A mode outside its table, or an empty path, gives 0.
FileNumber FileOpen(std::string_view path, std::int32_t openMode = 3, std::int32_t sharingMode = 1);
void FileClose(FileNumber file);
bool FileSeekToEnd(FileNumber file);
// From the position to the end of the file, or up to count bytes. The text ends before
// the first 0x00 or 0x1A byte, two-byte characters taken as pairs; the position is then
// left at the byte that ended it.
Text FileReadText(FileNumber file);
Text FileReadText(FileNumber file, std::int32_t count);

// Writes bytes at the position; on failure the position and the file's length go back
// to what they were, and the result is false.
bool FileWriteBytes(FileNumber file, std::string_view bytes);

namespace files_detail {
inline void AppendLine(Text& out, std::string_view text) {
  out.append(text.substr(0, static_cast<std::size_t>(TextLength(text))));
  out.append("\r\n");
}
template <typename V>
void AppendLine(Text& out, const V& value) {
  if constexpr (std::is_convertible_v<const V&, std::string_view>) {
    AppendLine(out, std::string_view(value));
  } else if constexpr (std::is_same_v<V, bool>) {
    AppendLine(out, ToText(std::int32_t{value ? 1 : 0}));
  } else if constexpr (std::is_same_v<V, unsigned char>) {
    AppendLine(out, ToText(std::uint8_t{value}));
  } else if constexpr (std::is_integral_v<V>) {
    AppendLine(out, ToText(static_cast<std::int64_t>(value)));
  } else if constexpr (std::is_same_v<V, float>) {
    AppendLine(out, ToText(value));
  } else {
    static_assert(std::is_floating_point_v<V>, "a line is a text or a number");
    AppendLine(out, ToText(static_cast<double>(value)));
  }
}
}  // namespace files_detail

// Each value, a text or a number in its ToText form, as a line of its own ending with
// CR LF; all lines go out in one write.
template <typename First, typename... More>
bool FileWriteLine(FileNumber file, const First& first, const More&... more) {
  Text lines;
  files_detail::AppendLine(lines, first);
  (files_detail::AppendLine(lines, more), ...);
  return FileWriteBytes(file, lines);
}

}  // namespace tvx
