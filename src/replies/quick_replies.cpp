// The quick-reply file format: cutting a line into text and picture, and the
// exact bytes of a saved list.
#include "replies/quick_replies.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tvx {
namespace {

// A start computed in 64 bits, clamped into what the search primitives take.
// Anything at or below 1 makes FindLastText search an empty region.
std::int32_t ClampStart(std::int64_t start, std::int64_t length) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(start, 0, length + 1));
}

// -start, with -1 meaning "no offset" (0); computed without overflowing INT32_MIN.
std::int64_t BackwardOffset(std::int32_t start) {
  const std::int64_t a = -static_cast<std::int64_t>(start);
  return a == 1 ? 0 : a;
}

constexpr std::string_view kLineEnd = "\r\n";

// A CR LF inside a field would end the record early when the file is read back,
// losing what comes before it and adding a row of what follows. A line break is
// therefore stored as a lone LF, which the reader keeps inside the field, so the
// reply stays one row. The CRs right before an LF go, so that no CR LF is left
// (CR CR LF would otherwise become CR LF). The output before a field ends with
// the separator or a line end, so the backing-up never leaves the field.
void AppendField(Text& out, std::string_view field) {
  for (const char c : field) {
    if (c == '\n') {
      while (!out.empty() && out.back() == '\r') out.pop_back();
    }
    out.push_back(c);
  }
}

}  // namespace

Text TextBeforeSeparator(std::string_view text, std::string_view separator, std::int32_t start,
                         bool ignoreCase) {
  const std::int64_t length = TextLength(text);
  std::int32_t p;
  if (start < 0) {
    const std::int64_t a = BackwardOffset(start);
    p = FindLastText(text, separator, ClampStart(length - a + 1, length), ignoreCase);
  } else {
    p = FindText(text, separator, start == 0 ? 1 : start, ignoreCase);
  }
  if (p == -1) return Text();
  return TextLeft(text, p - 1);
}

Text TextAfterSeparator(std::string_view text, std::string_view separator, std::int32_t start,
                        bool ignoreCase) {
  const std::int64_t length = TextLength(text);
  std::int32_t p;
  if (start < 0) {
    const std::int64_t a = BackwardOffset(start);
    const std::int64_t from = a == 0 ? 1 : a;
    if (from > length) return Text();  // a region past the end holds no occurrence
    p = FindText(text, separator, static_cast<std::int32_t>(from), ignoreCase);
  } else {
    p = FindLastText(text, separator, ClampStart(length - start + 1, length), ignoreCase);
  }
  if (p == -1) return Text();
  const std::int64_t keep = length - TextLength(separator) - p + 1;
  return TextRight(text, static_cast<std::int32_t>(std::max<std::int64_t>(keep, 0)));
}

std::vector<QuickReply> ParseQuickReplies(std::string_view content) {
  const TextList lines = SplitText(content, kLineEnd);
  std::vector<QuickReply> rows;
  rows.reserve(lines.size());
  for (const Text& line : lines) {
    QuickReply row{TextBeforeSeparator(line, kReplySeparator, 0, false),
                   TextAfterSeparator(line, kReplySeparator, 0, false)};
    if (row.picture.empty()) row.picture = Text(kNoPicture);
    rows.push_back(std::move(row));
  }
  return rows;
}

Text SerializeQuickReplies(const std::vector<QuickReply>& rows) {
  std::size_t size = 0;
  for (const QuickReply& row : rows)
    size += row.text.size() + kReplySeparator.size() + row.picture.size() + kLineEnd.size();
  Text out;
  out.reserve(size);
  for (const QuickReply& row : rows) {
    AppendField(out, row.text);
    out.append(kReplySeparator);
    AppendField(out, row.picture);
    out.append(kLineEnd);
  }
  return out;
}

}  // namespace tvx
