#pragma once
// The quick-reply file 快捷回复.txt: one record per line, text "[.*?]" picture CR LF.
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/text.h"

namespace tvx {

inline constexpr std::string_view kReplySeparator = "[.*?]";
inline constexpr std::string_view kNoPicture = "无图片";
inline constexpr std::string_view kReplyFileSuffix = "/快捷回复.txt";

struct QuickReply {
  Text text;
  Text picture;  // a path, or kNoPicture
  bool operator==(const QuickReply&) const = default;
};

Text TextBeforeSeparator(std::string_view text, std::string_view separator, std::int32_t start,
                         bool ignoreCase);
Text TextAfterSeparator(std::string_view text, std::string_view separator, std::int32_t start,
                        bool ignoreCase);

// The rows that a file's content gives (content already cut at the first 0x00 / 0x1A).
std::vector<QuickReply> ParseQuickReplies(std::string_view content);
// The exact bytes a save writes: one record per row, each ending with CR LF.
Text SerializeQuickReplies(const std::vector<QuickReply>& rows);

}  // namespace tvx

#ifdef _WIN32
#include <windows.h>
namespace tvx {
// The run directory followed by kReplyFileSuffix.
Text QuickReplyPath();
// Start-up: creates the file with length 0, and any missing folders, when there
// is none. An existing file is left untouched.
void EnsureQuickReplyFile();
// Rebuilds the list (columns 序号, 内容, 图片) from the file: rows numbered from 1,
// the first row selected. A missing or unreadable file gives an empty list.
void LoadQuickReplies(HWND listView);
// Writes the file from the list (one record per row), then loads it again. The
// old file is replaced in one step, so a failed save leaves it as it was.
void SaveQuickReplies(HWND listView);

// The same for a file at any path (code page 936); the save tells whether the
// file now holds the list.
void EnsureQuickReplyFileAt(std::string_view path);
void LoadQuickRepliesFrom(std::string_view path, HWND listView);
bool SaveQuickRepliesTo(std::string_view path, HWND listView);
}  // namespace tvx
#endif
