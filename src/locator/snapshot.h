#pragma once
// The text snapshot of one element: everything the system reads of an element,
// read once, numbers as decimal text and positions as labelled texts.
#include "locator/element.h"

namespace tvx {

struct ElementInfo {
  Text childCount;      // decimal
  Text childId;         // decimal; "0" for a full object
  Text description;
  Text name;            // "NAMELESS" when the element's name is empty
  Text stateText;       // each state text followed by ",", or the state-0 text
  Text roleText;
  Text value;
  Text windowPosition;  // 左：x-window.left 顶：y-window.top
  ElementRect location;
  Text defaultAction;
  Text state;           // decimal
  Text role;            // decimal
  Text screenPosition;  // 左：x 顶：y
  Text size;            // 宽：w 高：h
};

// The name an element shows when it has none.
inline constexpr std::string_view kNamelessName = "NAMELESS";

// The labels of the position and size texts, code page 936 bytes.
inline constexpr std::string_view kLeftLabel = "\xD7\xF3\xA3\xBA";       // 左：
inline constexpr std::string_view kTopLabel = "\x20\xB6\xA5\xA3\xBA";    // " 顶："
inline constexpr std::string_view kWidthLabel = "\xBF\xED\xA3\xBA";      // 宽：
inline constexpr std::string_view kHeightLabel = "\x20\xB8\xDF\xA3\xBA"; // " 高："

// Reads every field of element (which is not changed). Failed reads give their
// empty values; the snapshot itself never fails.
ElementInfo SnapshotElement(const AccElement& element);

// The snapshot's name field alone, for callers that read nothing else of the
// element: the name, or "NAMELESS" when it is empty. One read instead of all.
Text SnapshotName(const AccElement& element);

// "左：" x " 顶：" y, and "宽：" w " 高：" h.
Text PositionText(std::int32_t x, std::int32_t y);
Text SizeText(std::int32_t width, std::int32_t height);

}  // namespace tvx
