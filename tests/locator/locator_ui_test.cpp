// The element handle, the snapshot and the walker across the process boundary,
// against the stand-in chat client.
#include <windows.h>

#include <gtest/gtest.h>

#include "locator/locator_path.h"
#include "locator/msaa_element.h"
#include "locator/snapshot.h"
#include "locator/window_rect.h"
#include "wechat/stand_in_protocol.h"

namespace tvx {
namespace {

class StandInTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(client_.Start(L"--account 张三 --chat 李四")) << "WeChat.exe did not start";
    ASSERT_TRUE(root_.FromWindow(HandleOf(client_.Window())));
  }

  standin::Process client_;
  MsaaElement root_;
};

TEST_F(StandInTest, WindowObjectHasTheSevenStandardChildrenWithTheClientFourth) {
  EXPECT_EQ(root_.ChildCount(), 7);
  ElementList children;
  ASSERT_EQ(root_.AllChildren(children), 7);
  const ElementInfo client = SnapshotElement(*children[3]);
  EXPECT_EQ(client.roleText, "客户端");
  EXPECT_EQ(client.stateText, "正常");
  EXPECT_EQ(client.childId, "0");
  for (int i : {0, 1, 2, 4, 5, 6}) {
    EXPECT_FALSE(MatchConditions("t==客户端&s==正常", *children[i])) << i;
  }
  // The client object knows its window: the snapshot places it against the frame.
  EXPECT_EQ(children[3]->Window(), HandleOf(client_.Window()));
  const ElementRect frame = WindowRectOf(HandleOf(client_.Window()));
  EXPECT_GT(frame.width, 0);
  EXPECT_EQ(client.windowPosition, PositionText(client.location.left - frame.left,
                                                client.location.top - frame.top));
}

TEST_F(StandInTest, BothPathsReachTheirNames) {
  MsaaElement account;
  ASSERT_TRUE(LocateElement(root_, kAccountNamePath, account));
  EXPECT_EQ(account.Name(), "张三");
  EXPECT_NE(account.ChildId(), 0);  // the account name is a simple child
  EXPECT_EQ(SnapshotElement(account).childCount, "0");
  MsaaElement title;
  ASSERT_TRUE(LocateElement(root_, kChatTitlePath, title));
  EXPECT_EQ(title.Name(), "李四");
  EXPECT_EQ(title.ChildId(), 0);
  // Read in full, the same walks give the same elements.
  MsaaElement full;
  ASSERT_TRUE(LocateElement(root_, kAccountNamePath, full, ReadMode::kFull));
  EXPECT_EQ(SnapshotElement(full).name, "张三");
  ASSERT_TRUE(LocateElement(root_, kChatTitlePath, full, ReadMode::kFull));
  EXPECT_EQ(SnapshotElement(full).name, "李四");
}

TEST_F(StandInTest, WithNoChatOpenTheTitleWalkFailsAndLeavesOutUntouched) {
  standin::CloseChat(client_.Window());
  MsaaElement out;
  ASSERT_TRUE(out.CopyFrom(root_));
  EXPECT_FALSE(LocateElement(root_, kChatTitlePath, out));
  EXPECT_FALSE(LocateElement(root_, kChatTitlePath, out, ReadMode::kFull));
  EXPECT_EQ(out.Name(), "微信");
  EXPECT_EQ(out.ChildCount(), 7);

  standin::OpenChat(client_.Window(), L"王五");
  ASSERT_TRUE(LocateElement(root_, kChatTitlePath, out));
  EXPECT_EQ(out.Name(), "王五");
}

TEST_F(StandInTest, EnumeratingAndCountingContainersGiveTheSameChildren) {
  // The account bar enumerates; the navigation panel answers only count and child.
  MsaaElement accountBar, navigation;
  ASSERT_TRUE(LocateElement(root_, "?t==客户端>#1>#2>#1", accountBar));
  ASSERT_TRUE(LocateElement(root_, "?t==客户端>#1>#1", navigation));
  for (const MsaaElement* container : {&accountBar, &navigation}) {
    ElementList children;
    ASSERT_EQ(container->AllChildren(children), 2);
    EXPECT_EQ(children[0]->ChildId(), 1);
    EXPECT_EQ(children[1]->ChildId(), 2);
    MsaaElement second;
    ASSERT_TRUE(container->ChildAt(2, second));
    EXPECT_EQ(second.Name(), children[1]->Name());
    MsaaElement beyond;
    EXPECT_FALSE(container->ChildAt(3, beyond));
    EXPECT_TRUE(beyond.IsEmpty());
  }
  // A simple child has no children, and its reads ask its container.
  ElementList children;
  ASSERT_EQ(accountBar.AllChildren(children), 2);
  EXPECT_EQ(children[0]->ChildCount(), 0);
  ElementList none;
  EXPECT_EQ(children[0]->AllChildren(none), 0);
  EXPECT_EQ(children[1]->Name(), "设置");
  EXPECT_EQ(children[1]->Window(), HandleOf(client_.Window()));
  MsaaElement parent;
  ASSERT_TRUE(children[1]->Parent(parent));
  EXPECT_EQ(parent.ChildCount(), 2);
}

TEST(MsaaElementUi, HiddenWindowOfAnotherClassAndTitleServesTheSameTree) {
  standin::Process client;
  ASSERT_TRUE(client.Start(L"--hidden --class XWeChatMainWndForPCY --title \"微信 测试\" "
                           L"--account \"赵 六\""));
  EXPECT_FALSE(IsWindowVisible(client.Window()));
  wchar_t title[64] = {};
  GetWindowTextW(client.Window(), title, 64);
  EXPECT_STREQ(title, L"微信 测试");
  MsaaElement root;
  ASSERT_TRUE(root.FromWindow(HandleOf(client.Window())));
  EXPECT_EQ(root.Name(), "微信 测试");
  MsaaElement account;
  ASSERT_TRUE(LocateElement(root, kAccountNamePath, account));
  EXPECT_EQ(SnapshotName(account), "赵 六");
  MsaaElement chatTitle;
  EXPECT_FALSE(LocateElement(root, kChatTitlePath, chatTitle));  // no chat open
}

TEST(MsaaElementUi, AHandleThatNamesNoWindowGivesAnEmptyElement) {
  standin::Process client;
  ASSERT_TRUE(client.Start(L"--account 张三"));
  MsaaElement element;
  ASSERT_TRUE(element.FromWindow(HandleOf(client.Window())));
  const HWND gone = client.Window();
  client.Stop();
  for (WindowHandle window : {WindowHandle{0}, HandleOf(gone), WindowHandle{0x7ffffff0}}) {
    EXPECT_FALSE(element.FromWindow(window));
    EXPECT_TRUE(element.IsEmpty());
    EXPECT_EQ(element.Name(), "");
    EXPECT_EQ(element.ChildCount(), 0);
    ElementList list;
    EXPECT_EQ(element.AllChildren(list), 0);
    EXPECT_EQ(WindowRectOf(window), ElementRect{});
  }
}

}  // namespace
}  // namespace tvx
