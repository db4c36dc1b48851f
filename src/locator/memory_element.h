#pragma once
// An accessibility tree held in memory, and an AccElement over it. The core's
// tests walk and match against it on any platform; it mirrors the MSAA model:
// full objects and simple children (child id N of a container), role and state
// texts from a table like the platform's, and a count of every member call a
// server would have served, so tests can see what a walk reads.
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "locator/element.h"

namespace tvx {

struct MemoryNode {
  Text name;
  Text value;
  Text description;
  Text help;
  Text keyboardShortcut;
  Text defaultAction;
  std::int32_t role = 0;
  std::int32_t state = 0;
  std::int32_t helpTopic = 0;
  ElementRect location;
  // Non-zero: this node has no object of its own; its container serves it as
  // simple child simpleId.
  std::int32_t simpleId = 0;
  // The window this node belongs to; 0 inherits the nearest ancestor's.
  WindowHandle window = 0;
  MemoryNode* parent = nullptr;
  std::vector<MemoryNode*> children;  // in child order, owned by the tree
};

class MemoryTree {
 public:
  MemoryTree();
  MemoryTree(const MemoryTree&) = delete;
  MemoryTree& operator=(const MemoryTree&) = delete;

  MemoryNode& Root() { return *nodes_.front(); }
  // A full object appended to parent's children.
  MemoryNode& AddChild(MemoryNode& parent, Text name = {}, std::int32_t role = 0,
                       std::int32_t state = 0);
  // A simple child with the given id (not 0) appended to container's children.
  MemoryNode& AddSimpleChild(MemoryNode& container, std::int32_t id, Text name = {},
                             std::int32_t role = 0, std::int32_t state = 0);

  // FromWindow(window) gives node; WindowRectOf(window) gives rect.
  void BindWindow(WindowHandle window, MemoryNode& node, ElementRect rect = {});

  // The platform texts: role number to role text, one state bit (or 0) to its
  // text. Filled with the simplified-Chinese texts of the common roles.
  std::map<std::int32_t, Text> roleTexts;
  std::map<std::int32_t, Text> stateTexts;

  // Member calls served so far; every read, write and child fetch is one.
  mutable std::int64_t calls = 0;

 private:
  friend class MemoryElement;
  std::vector<std::unique_ptr<MemoryNode>> nodes_;
  std::map<WindowHandle, MemoryNode*> windowObjects_;
  std::map<WindowHandle, ElementRect> windowRects_;
};

class MemoryElement final : public AccElement {
 public:
  MemoryElement() = default;
  explicit MemoryElement(std::shared_ptr<MemoryTree> tree) : tree_(std::move(tree)) {}
  // A full object of tree.
  MemoryElement(std::shared_ptr<MemoryTree> tree, MemoryNode* node)
      : tree_(std::move(tree)), object_(node) {}

  // Point the element at a full object, or at simple child id of container.
  void SetObject(std::shared_ptr<MemoryTree> tree, MemoryNode* node);
  void SetChild(std::shared_ptr<MemoryTree> tree, std::int32_t id, MemoryNode* container);
  // The node whose properties this element reads; null when it names none.
  const MemoryNode* Target() const;

  ElementPtr Clone() const override;
  ElementPtr NewElement() const override;
  bool CopyFrom(const AccElement& source) override;
  bool FromWindow(WindowHandle window) override;
  bool FromPoint(std::int32_t x, std::int32_t y) override;
  bool IsEmpty() const override;
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
  MemoryNode* Queried() const { return childId_ != 0 ? parentObject_ : object_; }
  // Counts one served call and gives the node read, or null.
  const MemoryNode* Serve() const;
  void Resolve(MemoryNode* container, MemoryNode* child);

  std::shared_ptr<MemoryTree> tree_;
  MemoryNode* parentObject_ = nullptr;
  MemoryNode* object_ = nullptr;
  std::int32_t childId_ = 0;
};

}  // namespace tvx
