// The element snapshot and the state-text rule, over an in-memory tree.
#include "locator/snapshot.h"

#include <gtest/gtest.h>

#include <memory>

#include "locator/memory_element.h"

namespace tvx {
namespace {

TEST(Snapshot, LabelsAreTheirCodePage936Bytes) {
  EXPECT_EQ(kLeftLabel, "左：");
  EXPECT_EQ(kTopLabel, " 顶：");
  EXPECT_EQ(kWidthLabel, "宽：");
  EXPECT_EQ(kHeightLabel, " 高：");
  EXPECT_EQ(PositionText(-1920, 0), "\xD7\xF3\xA3\xBA-1920\x20\xB6\xA5\xA3\xBA" "0");
  EXPECT_EQ(SizeText(3, 4), "\xBF\xED\xA3\xBA" "3\x20\xB8\xDF\xA3\xBA" "4");
}

TEST(Snapshot, EveryFieldOfAFullObject) {
  auto tree = std::make_shared<MemoryTree>();
  MemoryNode& window = tree->Root();
  tree->BindWindow(0x42, window, {100, 50, 800, 600});
  MemoryNode& node = tree->AddChild(window, "张三", 10, 0x4 | 0x100000);
  node.value = "值";
  node.description = "描述";
  node.defaultAction = "单击";
  node.location = {-1920, 0, 30, 40};
  tree->AddChild(node);
  tree->AddChild(node);
  MemoryElement element;
  element.SetObject(tree, &node);

  const ElementInfo info = SnapshotElement(element);
  EXPECT_EQ(info.childCount, "2");
  EXPECT_EQ(info.childId, "0");
  EXPECT_EQ(info.description, "描述");
  EXPECT_EQ(info.name, "张三");
  EXPECT_EQ(info.stateText, "已聚焦,可聚焦,");
  EXPECT_EQ(info.roleText, "客户端");
  EXPECT_EQ(info.value, "值");
  EXPECT_EQ(info.windowPosition, "左：-2020 顶：-50");  // against the window's outer rectangle
  EXPECT_EQ(info.location, (ElementRect{-1920, 0, 30, 40}));
  EXPECT_EQ(info.defaultAction, "单击");
  EXPECT_EQ(info.state, ToText(0x100004));
  EXPECT_EQ(info.role, "10");
  EXPECT_EQ(info.screenPosition, "左：-1920 顶：0");
  EXPECT_EQ(info.size, "宽：30 高：40");
}

TEST(Snapshot, SimpleChildAndNames) {
  auto tree = std::make_shared<MemoryTree>();
  MemoryNode& container = tree->AddChild(tree->Root(), "容器");
  tree->AddChild(container);
  tree->AddSimpleChild(container, 3, "");
  tree->AddSimpleChild(container, 4, "NAMELESS");
  MemoryElement simple;
  simple.SetChild(tree, 3, &container);
  const ElementInfo info = SnapshotElement(simple);
  EXPECT_EQ(info.childId, "3");
  EXPECT_EQ(info.childCount, "0");  // a simple child has no children of its own
  EXPECT_EQ(info.name, "NAMELESS");
  EXPECT_EQ(SnapshotName(simple), "NAMELESS");
  simple.SetChild(tree, 4, &container);
  EXPECT_EQ(SnapshotElement(simple).name, "NAMELESS");
  MemoryElement named(tree, &container);
  tree->calls = 0;
  EXPECT_EQ(SnapshotName(named), "容器");
  EXPECT_EQ(tree->calls, 1);  // the name alone is read
}

TEST(Snapshot, EmptyElement) {
  MemoryElement empty;
  const ElementInfo info = SnapshotElement(empty);
  EXPECT_EQ(info.name, "NAMELESS");
  EXPECT_EQ(info.childCount, "0");
  EXPECT_EQ(info.childId, "0");
  EXPECT_EQ(info.state, "0");
  EXPECT_EQ(info.role, "0");
  EXPECT_EQ(info.stateText, "正常");
  EXPECT_EQ(info.description, "");
  EXPECT_EQ(info.value, "");
  EXPECT_EQ(info.defaultAction, "");
  EXPECT_EQ(info.screenPosition, "左：0 顶：0");
  EXPECT_EQ(info.windowPosition, "左：0 顶：0");
  EXPECT_EQ(info.size, "宽：0 高：0");
  EXPECT_EQ(info.location, ElementRect{});
}

TEST(ComposeStateText, CommaRule) {
  auto textOf = [](std::int32_t bit) { return bit == 0 ? Text("正常") : "b" + ToText(bit); };
  EXPECT_EQ(ComposeStateText(0, textOf), "正常");
  EXPECT_EQ(ComposeStateText(0x4 | 0x1, textOf), "b1,b4,");
  EXPECT_EQ(ComposeStateText(0x10000000, textOf), "b268435456,");
  EXPECT_EQ(ComposeStateText(0x20000000, textOf), "");
  EXPECT_EQ(ComposeStateText(0x40000000 | static_cast<std::int32_t>(0x80000000u), textOf), "");
}

}  // namespace
}  // namespace tvx
