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
Text QuickReplyPath();
void EnsureQuickReplyFile();
void LoadQuickReplies(HWND listView);
void SaveQuickReplies(HWND listView);
}  // namespace tvx
#endif
