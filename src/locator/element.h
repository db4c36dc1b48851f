#pragma once
// A handle on one element of an accessibility tree. The walker, the matcher and
// the snapshot see elements only through this interface, so they run unchanged
// over the chat client's MSAA tree and over an in-memory tree in the core tests.
//
// An element is either a full object (it has an object of its own, child id 0)
// or a simple child: child id N != 0 of a container object. Every operation
// that takes a child argument asks the "queried object": the container for a
// simple child, the object itself otherwise. Failed reads give the empty value
// of their kind (empty text, 0, false); nothing throws.
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/text.h"

namespace tvx {

// A window handle as the system keeps it: a 32-bit value, 0 names no window.
using WindowHandle = std::uint32_t;

// A rectangle in screen pixels; window sizes include the frame.
struct ElementRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const ElementRect&, const ElementRect&) = default;
};

class AccElement;
using ElementPtr = std::unique_ptr<AccElement>;
using ElementList = std::vector<ElementPtr>;

// The largest child count that AllChildren believes. A server that reports more
// is faulty or hostile; fetching that many children would only exhaust memory.
inline constexpr std::int32_t kMaxChildren = 10000;

class AccElement {
 public:
  AccElement() = default;
  AccElement(const AccElement&) = delete;
  AccElement& operator=(const AccElement&) = delete;
  virtual ~AccElement() = default;

  // A new element naming the same target, holding its own references.
  virtual ElementPtr Clone() const = 0;
  // A new empty element of the same implementation, to receive outputs.
  virtual ElementPtr NewElement() const = 0;
  // Makes this element name what source names (new references, old ones
  // released). False, and nothing changed, when source is of another implementation.
  virtual bool CopyFrom(const AccElement& source) = 0;
  // Forget the old target first, so a failure leaves the element empty.
  virtual bool FromWindow(WindowHandle window) = 0;
  virtual bool FromPoint(std::int32_t x, std::int32_t y) = 0;

  virtual bool IsEmpty() const = 0;
  virtual std::int32_t ChildId() const = 0;
  // Operations that produce another element write it into out, and only when
  // they succeed; out must be another element of the same implementation.
  virtual bool Parent(AccElement& out) const = 0;
  // The object's own child count: a simple child has none. Never negative.
  virtual std::int32_t ChildCount() const = 0;
  // The index-th child (1-based). False leaves out untouched.
  virtual bool ChildAt(std::int32_t index, AccElement& out) const = 0;
  // Replaces list by all children and gives their count; 0 leaves list untouched.
  virtual std::int32_t AllChildren(ElementList& list) const = 0;

  virtual Text Name() const = 0;
  virtual bool SetName(std::string_view name) = 0;
  virtual Text Value() const = 0;
  virtual bool SetValue(std::string_view value) = 0;
  virtual Text Description() const = 0;
  virtual std::int32_t Role() const = 0;
  virtual Text RoleText() const = 0;
  virtual std::int32_t State() const = 0;
  virtual Text StateText() const = 0;
  virtual Text Help() const = 0;
  virtual std::int32_t HelpTopic() const = 0;
  virtual Text KeyboardShortcut() const = 0;
  virtual Text DefaultAction() const = 0;
  virtual bool Focus(AccElement& out) const = 0;
  virtual bool Selection(AccElement& out) const = 0;
  // target: the element to select; none selects by child id 0.
  virtual void Select(std::int32_t flags, const AccElement* target = nullptr) = 0;
  // Screen pixels; on failure the four keep the values they had.
  virtual void Location(std::int32_t& left, std::int32_t& top, std::int32_t& width,
                        std::int32_t& height) const = 0;
  virtual bool Navigate(std::int32_t direction, const AccElement& start, std::int32_t reserved,
                        AccElement& out) const = 0;
  virtual bool HitTest(std::int32_t x, std::int32_t y, AccElement& out) const = 0;
  virtual void DoDefaultAction() = 0;
  virtual WindowHandle Window() const = 0;

  // The outer rectangle of a window of the window system this element lives
  // in (frame included); zeros for no window, or where there is no window system.
  virtual ElementRect WindowRectOf(WindowHandle window) const = 0;
};

// The state text of a set of state bits: the state-0 text alone for 0, else the
// text of every set bit from 2^0 to 2^28 in ascending order, each followed by
// a comma (the last one too). Bits 2^29 and 2^30 and the sign bit are never listed.
// textOf gives the platform's text of one state bit (or of 0).
Text ComposeStateText(std::int32_t state, const std::function<Text(std::int32_t)>& textOf);

}  // namespace tvx
