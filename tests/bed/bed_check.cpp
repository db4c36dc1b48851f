// What every later Windows test takes for granted about the bed: the ANSI code
// page is 936 and oleacc answers with simplified-Chinese Windows' texts, so the
// locator's "?t==客户端&s==正常" step can match; and the IAccessible id is real.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>

#include "locator/accessible_iid.h"

namespace {

std::string RoleText(DWORD role) {
  char buf[256] = {};
  UINT n = GetRoleTextA(role, buf, sizeof buf);
  return std::string(buf, n);
}

std::string StateText(DWORD state) {
  char buf[256] = {};
  UINT n = GetStateTextA(state, buf, sizeof buf);
  return std::string(buf, n);
}

}  // namespace

TEST(Bed, AnsiCodePageIs936) { EXPECT_EQ(GetACP(), 936u); }

TEST(Bed, OleaccGivesSimplifiedChineseTexts) {
  EXPECT_EQ(RoleText(ROLE_SYSTEM_CLIENT), "\xBF\xCD\xBB\xA7\xB6\xCB");  // 客户端
  EXPECT_EQ(StateText(0), "\xD5\xFD\xB3\xA3");                          // 正常
  // The literals of the program are code page 936 too.
  EXPECT_EQ(RoleText(ROLE_SYSTEM_CLIENT), "客户端");
  EXPECT_EQ(StateText(0), "正常");
}

TEST(Bed, AccessibleIidHasTheRealBytes) {
  // {618736E0-3C3D-11CF-810C-00AA00389B71}
  const unsigned char expected[16] = {0xE0, 0x36, 0x87, 0x61, 0x3D, 0x3C, 0xCF, 0x11,
                                      0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
  EXPECT_EQ(0, memcmp(&tvx::AccessibleIid(), expected, 16));
}
