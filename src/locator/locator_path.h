#pragma once
// Locator paths: a chain of steps separated by ">" that leads from a start
// element to one of its descendants. "#N" takes the N-th child (negative N
// counts from the last); "?cond&cond..." takes the first child whose snapshot
// satisfies every condition. A condition is key==value (exact) or key=value
// (contains), on the keys n (name), s (state text), t (role text), id (child
// id) and v (value). Any other segment is skipped. Texts are code page 936.
#include <string_view>

#include "locator/element.h"

namespace tvx {

// From the window object of a chat-client main window to the element whose
// name is the logged-in account's name.
inline constexpr std::string_view kAccountNamePath = "?t==客户端&s==正常>#1>#2>#1>#1";
// From the same start to the element whose name is the open chat's partner.
inline constexpr std::string_view kChatTitlePath =
    "?t==客户端&s==正常>#1>#2>#3>#1>#1>#1>#1>#1>#1>#1>#1>#1>#1";

// What a walk reads of the elements it passes.
enum class ReadMode {
  // Only what a step needs: a condition reads just the fields it compares, a
  // position step from the front reads no child count. The result is the same.
  kNeeded,
  // A full snapshot of every child a query step tests, and a child count for
  // every position step. Kept to measure the difference against.
  kFull,
};

// Walks path from start. True: out now names the element reached (its old
// content released). False: out is untouched. start is never changed.
bool LocateElement(const AccElement& start, std::string_view path, AccElement& out,
                   ReadMode mode = ReadMode::kNeeded);
// Whether element satisfies every condition of a query step's list.
bool MatchConditions(std::string_view conditions, const AccElement& element,
                     ReadMode mode = ReadMode::kNeeded);
// The pieces of SplitText(text, separator, limit) that are not empty; an empty
// separator means ",", limit 0 means no limit.
TextList SplitNonEmpty(std::string_view text, std::string_view separator, std::int32_t limit);

}  // namespace tvx
