// The quick-reply file format: the separator routines, the reading rules and the
// bytes a save writes, including input no person would write by hand.
#include "replies/quick_replies.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace tvx {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// a[.*?]b[.*?]c: 13 bytes, the separators at 2 (ending at 6) and 8 (ending at 12).
constexpr std::string_view kTwoSeparators = "a[.*?]b[.*?]c";

struct SeparatorCase {
  std::int32_t start;
  const char* before;
  const char* after;
};

TEST(Separators, StartSelectsTheOccurrence) {
  const SeparatorCase cases[] = {
      {0, "a", "c"},                  // first / last: what a load uses
      {-1, "a[.*?]b", "b[.*?]c"},     // last / first
      {1, "a", "c"},                  // k = 1: the last may end at byte 12
      {2, "a", "b[.*?]c"},            // before: at or after 2; after: ending by byte 11
      {3, "a[.*?]b", "b[.*?]c"},
      {7, "a[.*?]b", "b[.*?]c"},      // after: ending by byte 6 still finds the first
      {8, "a[.*?]b", ""},             // after: ending by byte 5 finds none
      {9, "", ""},
      {-2, "a", "b[.*?]c"},           // before: ending by byte 11; after: at or after 2
      {-3, "a", "c"},
      {-7, "a", "c"},                 // before: ending by byte 6
      {-8, "", "c"},                  // before: ending by byte 5 finds none
      {-9, "", ""},
      {13, "", ""},
      {14, "", ""},
      {kMax, "", ""},
      {kMin, "", ""},
  };
  for (const SeparatorCase& c : cases) {
    SCOPED_TRACE(c.start);
    EXPECT_EQ(TextBeforeSeparator(kTwoSeparators, kReplySeparator, c.start, false), c.before);
    EXPECT_EQ(TextAfterSeparator(kTwoSeparators, kReplySeparator, c.start, false), c.after);
  }
}

TEST(Separators, MissingEmptyAndEdgeOccurrences) {
  struct Case {
    std::string_view text;
    const char* before;
    const char* after;
  } const cases[] = {
      {"", "", ""},
      {"hello", "", ""},
      {"[.*?]", "", ""},
      {"[.*?]pic", "", "pic"},
      {"abc[.*?]", "abc", ""},
      {"abc[.*?]def", "abc", "def"},
      {"[.*?[.*?]]", "[.*?", "]"},
      {"你好[.*?]无图片", "你好", "无图片"},
      // 0x81 0x5B is one two-byte character: its '[' starts no separator.
      {"\x81[.*?]x", "", ""},
      {"\x81[.*?][.*?]x", "\x81[.*?]", "x"},
      // A lead byte as the last byte ends the search.
      {"a[.*?]\xB0", "a", "\xB0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text));
    EXPECT_EQ(TextBeforeSeparator(c.text, kReplySeparator, 0, false), c.before);
    EXPECT_EQ(TextAfterSeparator(c.text, kReplySeparator, 0, false), c.after);
  }
}

TEST(Separators, IgnoreCaseFoldsAsciiLetters) {
  EXPECT_EQ(TextBeforeSeparator("abXYcd", "xy", 0, true), "ab");
  EXPECT_EQ(TextBeforeSeparator("abXYcd", "xy", 0, false), "");
  EXPECT_EQ(TextAfterSeparator("abXYcdxYe", "xy", 0, true), "e");
}

QuickReply Row(std::string_view text, std::string_view picture) {
  return QuickReply{Text(text), Text(picture)};
}
const Text kNone(kNoPicture);

TEST(ReadingRules, LinesGiveRows) {
  struct Case {
    const char* name;
    std::string_view content;
    std::vector<QuickReply> rows;
  } const cases[] = {
      {"two records",
       "你好[.*?]无图片\r\n看图[.*?]C:\\p\\a.jpg\r\n",
       {Row("你好", kNone), Row("看图", "C:\\p\\a.jpg")}},
      {"last record without CR LF",
       "你好[.*?]无图片\r\n看图[.*?]C:\\p\\a.jpg",
       {Row("你好", kNone), Row("看图", "C:\\p\\a.jpg")}},
      {"empty content", "", {}},
      {"no separator: the bytes do not reach the row", "hello", {Row("", kNone)}},
      {"two separators: the middle is dropped", "a[.*?]b[.*?]c\r\n", {Row("a", "c")}},
      {"trailing separator", "abc[.*?]\r\n", {Row("abc", kNone)}},
      {"empty text", "[.*?]C:\\a.png\r\n", {Row("", "C:\\a.png")}},
      {"a lone CR LF is one empty line", "\r\n", {Row("", kNone)}},
      {"empty lines inside and at the end",
       "\r\na[.*?]b\r\n\r\nc[.*?]d\r\n\r\n",
       {Row("", kNone), Row("a", "b"), Row("", kNone), Row("c", "d"), Row("", kNone)}},
      {"bare CR and LF stay inside", "a\rb[.*?]c\nd\r\n", {Row("a\rb", "c\nd")}},
      {"CR CR LF ends the line after one CR", "a[.*?]b\r\r\n", {Row("a", "b\r")}},
      // 0xB0 0x0D is one two-byte character, so this CR LF is no line end.
      {"a lead byte swallows the CR", "x[.*?]\xB0\r\ny[.*?]z\r\n", {Row("x", "z")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ParseQuickReplies(c.content), c.rows);
  }
}

TEST(SavedBytes, OneRecordPerRowEachEndingWithCrLf) {
  EXPECT_EQ(SerializeQuickReplies({}), "");
  const std::vector<QuickReply> rows = {Row("你好", kNone), Row("看图", "C:\\p\\a.jpg")};
  const Text bytes = SerializeQuickReplies(rows);
  EXPECT_EQ(bytes, "你好[.*?]无图片\r\n看图[.*?]C:\\p\\a.jpg\r\n");
  EXPECT_EQ(ParseQuickReplies(bytes), rows);
  // A file without its final CR LF gets it at the next save.
  EXPECT_EQ(SerializeQuickReplies(ParseQuickReplies("a[.*?]b")), "a[.*?]b\r\n");
  // Columns are written as they are, an empty picture too; it reads back as none.
  EXPECT_EQ(SerializeQuickReplies({Row("", "")}), "[.*?]\r\n");
  EXPECT_EQ(ParseQuickReplies("[.*?]\r\n"), std::vector<QuickReply>{Row("", kNone)});
}

TEST(SavedBytes, LineBreaksInsideAReplyKeepItOneRow) {
  struct Case {
    QuickReply row;
    const char* bytes;
    QuickReply loaded;
  } const cases[] = {
      {Row("第一行\r\n第二行", kNone), "第一行\n第二行[.*?]无图片\r\n",
       Row("第一行\n第二行", kNone)},
      {Row("a\r\n", "p1\r\np2\r\n"), "a\n[.*?]p1\np2\n\r\n", Row("a\n", "p1\np2\n")},
      // Dropping only the one CR would leave a CR LF behind.
      {Row("a\r\r\nb", kNone), "a\nb[.*?]无图片\r\n", Row("a\nb", kNone)},
      {Row("\r\n", "\r"), "\n[.*?]\r\r\n", Row("\n", "\r")},
      // Lone CRs and LFs are kept as they are.
      {Row("a\rb\nc", "d\re"), "a\rb\nc[.*?]d\re\r\n", Row("a\rb\nc", "d\re")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    const Text bytes = SerializeQuickReplies({c.row});
    EXPECT_EQ(bytes, c.bytes);
    EXPECT_EQ(ParseQuickReplies(bytes), std::vector<QuickReply>{c.loaded});
  }
}

// The reading rules written out the plainest way, to check the parser on input
// that is mostly separators, line ends and stray lead bytes.
std::vector<QuickReply> ReferenceRows(std::string_view content) {
  std::vector<std::string_view> lines;
  std::size_t lineStart = 0;
  std::size_t i = 0;
  while (i + 2 <= content.size()) {
    if (content[i] == '\r' && content[i + 1] == '\n') {
      lines.push_back(content.substr(lineStart, i - lineStart));
      i += 2;
      lineStart = i;
    } else if (static_cast<unsigned char>(content[i]) >= 0x80) {
      if (i + 1 >= content.size()) break;
      i += 2;
    } else {
      i += 1;
    }
  }
  if (lineStart < content.size()) lines.push_back(content.substr(lineStart));
  std::vector<QuickReply> rows;
  for (std::string_view line : lines) {
    std::size_t first = std::string_view::npos, last = std::string_view::npos;
    for (std::size_t p = 0; p + kReplySeparator.size() <= line.size();) {
      if (line.substr(p, kReplySeparator.size()) == kReplySeparator) {
        if (first == std::string_view::npos) first = p;
        last = p;
      }
      if (static_cast<unsigned char>(line[p]) >= 0x80) {
        if (p + 1 >= line.size()) break;
        p += 2;
      } else {
        p += 1;
      }
    }
    QuickReply row;
    if (first != std::string_view::npos) {
      row.text = Text(line.substr(0, first));
      row.picture = Text(line.substr(last + kReplySeparator.size()));
    }
    if (row.picture.empty()) row.picture = kNone;
    rows.push_back(std::move(row));
  }
  return rows;
}

// Bytes from a small alphabet, so that separators, line ends and lead bytes
// meet each other often. Never 0x00 or 0x1A: the file read cuts there.
Text Junk(std::size_t size, unsigned seed) {
  static constexpr char kAlphabet[] = "[.*?]\r\n\x81\xB0\xFF\x80" "a";
  std::mt19937 random(seed);
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
  Text junk(size, ' ');
  for (char& c : junk) c = kAlphabet[pick(random)];
  return junk;
}

TEST(BadInput, JunkGivesTheRowsOfTheReadingRules) {
  for (unsigned seed = 1; seed <= 50; ++seed) {
    const Text junk = Junk(2000, seed);
    ASSERT_EQ(ParseQuickReplies(junk), ReferenceRows(junk)) << "seed " << seed;
  }
}

constexpr std::size_t kTenMiB = 10u << 20;

TEST(BadInput, TenMebibytesOfJunk) {
  const Text junk = Junk(kTenMiB, 7);
  EXPECT_EQ(ParseQuickReplies(junk), ReferenceRows(junk));
}

TEST(BadInput, TenMebibytesOfBinary) {
  // Every byte value but 0x00 and 0x1A, in no order: mostly invalid code page 936.
  std::mt19937 random(11);
  Text binary(kTenMiB, ' ');
  for (char& c : binary) {
    unsigned b = random() & 0xFF;
    if (b == 0x00 || b == 0x1A) b = 0x5B;
    c = static_cast<char>(b);
  }
  EXPECT_EQ(ParseQuickReplies(binary), ReferenceRows(binary));
}

TEST(BadInput, HalfAMillionEmptyLines) {
  // 1 MiB of nothing but line ends: one row per line end, found in linear time
  // (the 10 MiB figure is the benchmark's).
  constexpr std::size_t kSize = 1u << 20;
  Text lineEnds;
  lineEnds.reserve(kSize);
  for (std::size_t i = 0; i < kSize / 2; ++i) lineEnds += "\r\n";
  const std::vector<QuickReply> rows = ParseQuickReplies(lineEnds);
  ASSERT_EQ(rows.size(), kSize / 2);
  EXPECT_EQ(rows.front(), Row("", kNone));
  EXPECT_EQ(rows.back(), Row("", kNone));
}

TEST(BadInput, LinesOfOneHundredThousandBytes) {
  constexpr std::size_t kLong = 100000;
  Text chinese;
  while (chinese.size() < kLong) chinese += "你";
  Text separators;
  while (separators.size() < kLong) separators += kReplySeparator;
  const Text plain(kLong, 'x');
  const Text content = chinese + "[.*?]" + plain + "\r\n" + separators + "\r\n" + plain + "\r\n" +
                       plain + "[.*?]" + chinese;
  const std::vector<QuickReply> expected = {
      Row(chinese, plain), Row("", kNone), Row("", kNone), Row(plain, chinese)};
  EXPECT_EQ(ParseQuickReplies(content), expected);
  EXPECT_EQ(ParseQuickReplies(SerializeQuickReplies(expected)), expected);
}

}  // namespace
}  // namespace tvx
