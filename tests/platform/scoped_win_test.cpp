// The resource owners of the Windows layer.
#include "platform/scoped_win.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

bool IsOpenHandle(HANDLE h) {
  DWORD flags = 0;
  return GetHandleInformation(h, &flags) != FALSE;
}

TEST(UniqueHandle, OwnsAndReleases) {
  EXPECT_FALSE(UniqueHandle());
  EXPECT_FALSE(UniqueHandle(INVALID_HANDLE_VALUE));  // the other "none" of the system
  HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  {
    UniqueHandle owner(raw);
    EXPECT_TRUE(owner);
    UniqueHandle moved(std::move(owner));
    EXPECT_FALSE(owner);
    EXPECT_EQ(moved.get(), raw);
  }
  EXPECT_FALSE(IsOpenHandle(raw));

  UniqueHandle kept(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  HANDLE released = kept.release();
  EXPECT_FALSE(kept);
  EXPECT_TRUE(IsOpenHandle(released));
  CloseHandle(released);
}

TEST(UniqueHGlobal, LockScope) {
  UniqueHGlobal block(GlobalAlloc(GMEM_MOVEABLE, 4));
  ASSERT_TRUE(block);
  {
    GlobalLockScope lock(block.get());
    ASSERT_TRUE(lock);
    static_cast<char*>(lock.data())[0] = 'x';
  }
  EXPECT_EQ(GlobalFlags(block.get()) & GMEM_LOCKCOUNT, 0u);
  EXPECT_FALSE(GlobalLockScope(nullptr));
}

TEST(ClipboardSession, OpensAndCloses) {
  {
    ClipboardSession first;
    ASSERT_TRUE(first.IsOpen());
  }
  ClipboardSession again;  // the first one closed it
  EXPECT_TRUE(again.IsOpen());
}

TEST(UniqueHwnd, DestroysTheWindow) {
  HWND raw = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  { UniqueHwnd owner(raw); }
  EXPECT_FALSE(IsWindow(raw));
}

}  // namespace
}  // namespace tvx
