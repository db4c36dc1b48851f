// The height rule's arithmetic and the layout table's consistency.
#include <gtest/gtest.h>

#include "shell/layout.h"

namespace tvx {
namespace {

TEST(HeightRule, GroupBoxAndListFollowTheWindowHeight) {
  struct Case {
    std::int32_t window, group2, list;
  };
  // Design heights: 分组框1 304, 编辑框1 56.
  for (const Case& c : {Case{755, 410, 354}, Case{801, 456, 400}, Case{345, 0, -56},
                        Case{1, -344, -400}, Case{0, -345, -401}}) {
    SCOPED_TRACE(c.window);
    EXPECT_EQ(HeightsFor(c.window, 304, 56), (QuickReplyHeights{c.group2, c.list}));
  }
  // The list follows the group box as it was read back, not as it was asked for.
  EXPECT_EQ(ListHeightFor(0, 56), -56);
  EXPECT_EQ(Group2HeightFor(755, 300, 60), 410);
}

TEST(Layout, InnerControlsLieInsideTheirGroupBoxAndIdsAreUnique) {
  for (const ControlPlace& c : kControlPlaces) {
    SCOPED_TRACE(Id(c.id));
    EXPECT_EQ(&DesignPlace(c.id), &c) << "each id appears once";
    if (!IsInGroupBox(c.id)) continue;
    const Place group = DesignPlace(c.group).place;
    EXPECT_GE(c.place.left, 0);
    EXPECT_LE(c.place.left + c.place.width, group.width);
    EXPECT_LE(c.place.top + c.place.height, group.height);
  }
  EXPECT_EQ(DesignClientPlace(ControlId::超级列表框1), (Place{2, 415, 335, 274}));
}

}  // namespace
}  // namespace tvx
