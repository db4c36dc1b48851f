#include "locator/snapshot.h"

namespace tvx {

Text PositionText(std::int32_t x, std::int32_t y) {
  Text text(kLeftLabel);
  text += ToText(x);
  text += kTopLabel;
  text += ToText(y);
  return text;
}

Text SizeText(std::int32_t width, std::int32_t height) {
  Text text(kWidthLabel);
  text += ToText(width);
  text += kHeightLabel;
  text += ToText(height);
  return text;
}

Text SnapshotName(const AccElement& element) {
  Text name = element.Name();
  return name.empty() ? Text(kNamelessName) : name;
}

ElementInfo SnapshotElement(const AccElement& element) {
  // Read in the order the system always has: count, window, location, then the rest.
  const std::int32_t childCount = element.ChildCount();
  const ElementRect window = element.WindowRectOf(element.Window());
  std::int32_t x = 0, y = 0, w = 0, h = 0;
  element.Location(x, y, w, h);
  const std::int32_t childId = element.ChildId();

  ElementInfo info;
  info.value = element.Value();
  info.description = element.Description();
  info.name = element.Name();
  if (info.name.empty()) info.name = kNamelessName;
  info.stateText = element.StateText();
  info.roleText = element.RoleText();
  info.defaultAction = element.DefaultAction();
  info.state = ToText(element.State());
  info.role = ToText(element.Role());

  info.childCount = ToText(childCount);
  info.childId = ToText(childId);
  // Wrapping arithmetic: a hostile server's coordinates must not overflow.
  info.windowPosition =
      PositionText(static_cast<std::int32_t>(static_cast<std::uint32_t>(x) -
                                             static_cast<std::uint32_t>(window.left)),
                   static_cast<std::int32_t>(static_cast<std::uint32_t>(y) -
                                             static_cast<std::uint32_t>(window.top)));
  info.location = {x, y, w, h};
  info.screenPosition = PositionText(x, y);
  info.size = SizeText(w, h);
  return info;
}

}  // namespace tvx
