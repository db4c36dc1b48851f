#pragma once
// The element handle over Microsoft Active Accessibility: a full object (an
// IAccessible of its own) or simple child N of a container object. Every read
// is a fresh call into the target process; nothing is cached.
#include <windows.h>
#include <oleacc.h>
#include <wrl/client.h>

#include "locator/element.h"

namespace tvx {

class MsaaElement final : public AccElement {
 public:
  using ObjectRef = Microsoft::WRL::ComPtr<IAccessible>;

  MsaaElement() = default;
  ~MsaaElement() override = default;

  // Releases both references; then names obj itself, or simple child id of
  // container (id 0 leaves the element empty).
  void SetObject(IAccessible* obj);
  void SetChild(std::int32_t id, IAccessible* container);
  // VT_I4 child id for a simple child, else VT_DISPATCH holding the object
  // (with its own reference: the caller clears the VARIANT).
  VARIANT AsVariant() const;
  // New references to the container and the element's own object.
  void GetObjects(ObjectRef& container, ObjectRef& own) const;

  ElementPtr Clone() const override;
  ElementPtr NewElement() const override;
  bool CopyFrom(const AccElement& source) override;
  bool FromWindow(WindowHandle window) override;
  bool FromPoint(std::int32_t x, std::int32_t y) override;
  bool IsEmpty() const override { return Queried() == nullptr; }
  std::int32_t ChildId() const override { return childId_; }
  bool Parent(AccElement& out) const override;
  std::int32_t ChildCount() const override;
  bool ChildAt(std::int32_t index, AccElement& out) const override;
  std::int32_t AllChildren(ElementList& list) const override;
  Text Name() const override;
  bool SetName(std::string_view name) override;
  Text Value() const override;
  bool SetValue(std::string_view value) override;
  Text Description() const override;
  std::int32_t Role() const override;
  Text RoleText() const override;
  std::int32_t State() const override;
  Text StateText() const override;
  Text Help() const override;
  std::int32_t HelpTopic() const override;
  Text KeyboardShortcut() const override;
  Text DefaultAction() const override;
  bool Focus(AccElement& out) const override;
  bool Selection(AccElement& out) const override;
  void Select(std::int32_t flags, const AccElement* target = nullptr) override;
  void Location(std::int32_t& left, std::int32_t& top, std::int32_t& width,
                std::int32_t& height) const override;
  bool Navigate(std::int32_t direction, const AccElement& start, std::int32_t reserved,
                AccElement& out) const override;
  bool HitTest(std::int32_t x, std::int32_t y, AccElement& out) const override;
  void DoDefaultAction() override;
  WindowHandle Window() const override;
  ElementRect WindowRectOf(WindowHandle window) const override;

 private:
  IAccessible* Queried() const { return childId_ != 0 ? parentObject_.Get() : object_.Get(); }
  VARIANT ChildArgument() const;
  // Makes this element the child that one VARIANT from AccessibleChildren names.
  void Resolve(const VARIANT& child);
  // Focus and Selection: the element a VARIANT read from the queried object names.
  bool TakeVariant(const VARIANT& v, MsaaElement& out) const;

  ObjectRef parentObject_;
  ObjectRef object_;
  LONG childId_ = 0;
};

// Role and state texts in the system's user-interface language, ANSI code page.
Text RoleTextOf(std::int32_t role);
Text StateBitText(std::int32_t bit);

}  // namespace tvx
