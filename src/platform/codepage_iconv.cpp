// Code page 936 <-> UTF-8 on hosts with iconv (glibc names it CP936 / GBK).
#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "platform/codepage.h"

namespace tvx {
namespace {

std::string_view CutAtZero(std::string_view text) {
  const void* zero = text.empty() ? nullptr : std::memchr(text.data(), 0, text.size());
  return zero == nullptr ? text : text.substr(0, static_cast<const char*>(zero) - text.data());
}

class Converter {
 public:
  // The second pair of names is tried when the first is unknown to this iconv.
  Converter(const char* to, const char* from, const char* toFallback, const char* fromFallback)
      : cd_(iconv_open(to, from)) {
    if (cd_ == kNone) cd_ = iconv_open(toFallback, fromFallback);
  }
  ~Converter() {
    if (cd_ != kNone) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts all of input; skip(input, pos) tells how many bytes one undecodable
  // character takes, and replacement is written in its place.
  template <typename Skip>
  std::string Run(std::string_view input, std::string_view replacement, Skip skip) {
    std::string out;
    if (input.empty()) return out;
    out.resize(input.size() * 2 + 16);
    std::size_t used = 0;
    std::size_t pos = 0;
    while (pos < input.size()) {
      if (cd_ == kNone) {  // no converter at all: every byte is undecodable
        out.resize(used);
        out.append(replacement);
        pos += skip(input, pos);
        used = out.size();
        out.resize(used + 16);
        continue;
      }
      char* in = const_cast<char*>(input.data() + pos);
      std::size_t inLeft = input.size() - pos;
      char* dst = out.data() + used;
      std::size_t dstLeft = out.size() - used;
      const std::size_t rc = iconv(cd_, &in, &inLeft, &dst, &dstLeft);
      const int error = errno;
      used = out.size() - dstLeft;
      pos = input.size() - inLeft;
      if (rc != static_cast<std::size_t>(-1)) break;
      if (error == E2BIG) {
        out.resize(out.size() * 2);
      } else {  // EILSEQ or EINVAL: an undecodable or cut-off character
        out.resize(used);
        out.append(replacement);
        pos += skip(input, pos);
        used = out.size();
        out.resize(used + (input.size() - pos) * 2 + 16);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    out.resize(used);
    return out;
  }

 private:
  static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);
  iconv_t cd_;
};

// One byte: a lead byte whose second byte does not fit is dropped alone, so the
// byte after it (often plain ASCII) survives.
std::size_t SkipOneByte(std::string_view, std::size_t) { return 1; }

// One whole UTF-8 sequence when it is well formed (a character code page 936 lacks),
// otherwise one byte.
std::size_t SkipUtf8Character(std::string_view s, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(s[pos]);
  const std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (n == 1 || pos + n > s.size()) return 1;
  for (std::size_t i = 1; i < n; ++i) {
    if ((static_cast<unsigned char>(s[pos + i]) & 0xC0) != 0x80) return 1;
  }
  return n;
}

}  // namespace

std::string Cp936ToUtf8(std::string_view text) {
  Converter converter("UTF-8", "CP936", "UTF-8", "GBK");
  return converter.Run(CutAtZero(text), "\xEF\xBF\xBD", SkipOneByte);
}

Text Utf8ToCp936(std::string_view utf8) {
  Converter converter("CP936", "UTF-8", "GBK", "UTF-8");
  return converter.Run(CutAtZero(utf8), "?", SkipUtf8Character);
}

}  // namespace tvx
