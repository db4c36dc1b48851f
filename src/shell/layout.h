#pragma once
// Where the main window's controls sit, and the height rule that adapts the
// quick-reply list to the window's height. Portable, so the arithmetic is
// tested on the host too.
//
// Places are left, top, width, height in pixels, relative to the enclosing
// group box, or to the window's client area for the two group boxes. These
// numbers are the layout's source of truth: the window code creates the inner
// controls as children of the main window at the group box's offset (a group
// box does not forward its children's notifications), and reports their places
// relative to the group box again.
#include <cstdint>

#include "shell/controls.h"

namespace tvx {

struct Place {
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  constexpr bool operator==(const Place&) const = default;
};

inline constexpr std::int32_t kMainWindowWidth = 348;   // outer frame included
inline constexpr std::int32_t kMainWindowHeight = 755;  // outer frame included

struct ControlPlace {
  ControlId id;
  ControlId group;  // the enclosing group box; == id for a control of the client area
  Place place;
};

// In creation order, which is also the tab order and the order of the radio
// group: 单选框_左 starts the group, 标签2 ends it.
inline constexpr ControlPlace kControlPlaces[] = {
    {ControlId::分组框1, ControlId::分组框1, {0, 0, 340, 304}},
    {ControlId::标签3, ControlId::分组框1, {10, 16, 74, 24}},
    {ControlId::组合框1, ControlId::分组框1, {77, 18, 131, 20}},
    {ControlId::标签4, ControlId::分组框1, {221, 16, 107, 24}},
    {ControlId::标签5, ControlId::分组框1, {233, 48, 98, 24}},
    {ControlId::标签1, ControlId::分组框1, {8, 49, 80, 24}},
    {ControlId::编辑框_好友昵称, ControlId::分组框1, {75, 49, 153, 23}},
    {ControlId::单选框_左, ControlId::分组框1, {6, 77, 80, 14}},
    {ControlId::单选框_右, ControlId::分组框1, {6, 94, 80, 18}},
    {ControlId::标签2, ControlId::分组框1, {88, 84, 248, 16}},
    {ControlId::编辑框_备注, ControlId::分组框1, {3, 113, 333, 191}},
    {ControlId::透明标签1, ControlId::分组框1, {214, 274, 63, 24}},
    {ControlId::按钮1, ControlId::分组框1, {283, 268, 48, 32}},
    {ControlId::分组框2, ControlId::分组框2, {0, 304, 340, 390}},
    {ControlId::编辑框1, ControlId::分组框2, {3, 14, 284, 56}},
    {ControlId::按钮_新增, ControlId::分组框2, {288, 30, 48, 37}},
    {ControlId::编辑框_图片, ControlId::分组框2, {3, 71, 333, 24}},
    {ControlId::超级列表框1, ControlId::分组框2, {2, 111, 335, 274}},
};

// The design place of a control; the window's client area for an unknown id.
constexpr const ControlPlace& DesignPlace(ControlId id) {
  for (const ControlPlace& c : kControlPlaces)
    if (c.id == id) return c;
  return kControlPlaces[0];
}

constexpr bool IsInGroupBox(ControlId id) { return DesignPlace(id).group != id; }

// The design place in the main window's client area (group box offset added).
constexpr Place DesignClientPlace(ControlId id) {
  const ControlPlace& c = DesignPlace(id);
  Place p = c.place;
  if (c.group != id) {
    p.left += DesignPlace(c.group).place.left;
    p.top += DesignPlace(c.group).place.top;
  }
  return p;
}

// The height rule, run whenever the main window's size changes; only heights
// change. 分组框2 takes the window's height less 分组框1 and 编辑框1, plus 15;
// the list takes 分组框2's height less 编辑框1's. All 32-bit integers.
struct QuickReplyHeights {
  std::int32_t group2 = 0;
  std::int32_t list = 0;
  constexpr bool operator==(const QuickReplyHeights&) const = default;
};

constexpr std::int32_t Group2HeightFor(std::int32_t windowHeight, std::int32_t group1Height,
                                       std::int32_t edit1Height) {
  return windowHeight - group1Height - edit1Height + 15;
}

// group2Height is 分组框2's height as read back after setting it.
constexpr std::int32_t ListHeightFor(std::int32_t group2Height, std::int32_t edit1Height) {
  return group2Height - edit1Height;
}

constexpr QuickReplyHeights HeightsFor(std::int32_t windowHeight, std::int32_t group1Height,
                                       std::int32_t edit1Height) {
  const std::int32_t group2 = Group2HeightFor(windowHeight, group1Height, edit1Height);
  return {group2, ListHeightFor(group2, edit1Height)};
}

}  // namespace tvx
