#include "locator/memory_element.h"

#include <utility>

namespace tvx {
namespace {
// The platform texts an element without a tree reads (the empty element's).
const MemoryTree& DefaultTexts() {
  static const MemoryTree tree;
  return tree;
}

Text TextOf(const std::map<std::int32_t, Text>& texts, std::int32_t key) {
  auto found = texts.find(key);
  return found == texts.end() ? Text() : found->second;
}
}  // namespace

MemoryTree::MemoryTree()
    : roleTexts{{1, "标题栏"},  {2, "菜单栏"},     {3, "滚动条"},   {4, "大小调整手柄"},
                {9, "窗口"},    {10, "客户端"},    {20, "分组"},    {33, "列表"},
                {34, "列表项目"}, {41, "文字"},    {42, "可编辑文字"}, {43, "按钮"}},
      stateTexts{{0, "正常"},         {0x1, "不可用"},     {0x2, "已选择"},
                 {0x4, "已聚焦"},     {0x8000, "不可见"},  {0x100000, "可聚焦"}} {
  nodes_.push_back(std::make_unique<MemoryNode>());
}

MemoryNode& MemoryTree::AddChild(MemoryNode& parent, Text name, std::int32_t role,
                                 std::int32_t state) {
  nodes_.push_back(std::make_unique<MemoryNode>());
  MemoryNode& node = *nodes_.back();
  node.name = std::move(name);
  node.role = role;
  node.state = state;
  node.parent = &parent;
  parent.children.push_back(&node);
  return node;
}

MemoryNode& MemoryTree::AddSimpleChild(MemoryNode& container, std::int32_t id, Text name,
                                       std::int32_t role, std::int32_t state) {
  MemoryNode& node = AddChild(container, std::move(name), role, state);
  node.simpleId = id;
  return node;
}

void MemoryTree::BindWindow(WindowHandle window, MemoryNode& node, ElementRect rect) {
  node.window = window;
  windowObjects_[window] = &node;
  windowRects_[window] = rect;
}

void MemoryElement::SetObject(std::shared_ptr<MemoryTree> tree, MemoryNode* node) {
  tree_ = std::move(tree);
  parentObject_ = nullptr;
  object_ = node;
  childId_ = 0;
}

void MemoryElement::SetChild(std::shared_ptr<MemoryTree> tree, std::int32_t id,
                             MemoryNode* container) {
  tree_ = std::move(tree);
  parentObject_ = container;
  object_ = nullptr;
  childId_ = id;
}

const MemoryNode* MemoryElement::Target() const {
  const MemoryNode* queried = Queried();
  if (queried == nullptr || childId_ == 0) return queried;
  for (const MemoryNode* child : queried->children) {
    if (child->simpleId == childId_) return child;
  }
  return nullptr;
}

const MemoryNode* MemoryElement::Serve() const {
  if (Queried() == nullptr) return nullptr;
  ++tree_->calls;
  return Target();
}

void MemoryElement::Resolve(MemoryNode* container, MemoryNode* child) {
  if (child->simpleId != 0) {
    SetChild(tree_, child->simpleId, container);
  } else {
    SetObject(tree_, child);
  }
}

ElementPtr MemoryElement::Clone() const {
  auto copy = std::make_unique<MemoryElement>(tree_);
  copy->parentObject_ = parentObject_;
  copy->object_ = object_;
  copy->childId_ = childId_;
  return copy;
}

ElementPtr MemoryElement::NewElement() const { return std::make_unique<MemoryElement>(tree_); }

bool MemoryElement::CopyFrom(const AccElement& source) {
  const auto* other = dynamic_cast<const MemoryElement*>(&source);
  if (other == nullptr) return false;
  tree_ = other->tree_;
  parentObject_ = other->parentObject_;
  object_ = other->object_;
  childId_ = other->childId_;
  return true;
}

bool MemoryElement::FromWindow(WindowHandle window) {
  SetObject(tree_, nullptr);
  if (!tree_) return false;
  ++tree_->calls;
  auto found = tree_->windowObjects_.find(window);
  if (window == 0 || found == tree_->windowObjects_.end()) return false;
  object_ = found->second;
  return true;
}

bool MemoryElement::FromPoint(std::int32_t, std::int32_t) {
  // The tree has no screen: nothing is ever under a point.
  SetObject(tree_, nullptr);
  return false;
}

bool MemoryElement::IsEmpty() const { return Queried() == nullptr; }

bool MemoryElement::Parent(AccElement& out) const {
  auto* target = dynamic_cast<MemoryElement*>(&out);
  if (target == nullptr || IsEmpty()) return false;
  MemoryNode* parent = childId_ != 0 ? parentObject_ : object_->parent;
  if (childId_ == 0) ++tree_->calls;
  if (parent == nullptr) return false;
  target->SetObject(tree_, parent);
  return true;
}

std::int32_t MemoryElement::ChildCount() const {
  if (object_ == nullptr) return 0;
  ++tree_->calls;
  return static_cast<std::int32_t>(object_->children.size());
}

bool MemoryElement::ChildAt(std::int32_t index, AccElement& out) const {
  auto* target = dynamic_cast<MemoryElement*>(&out);
  if (target == nullptr || object_ == nullptr) return false;
  ++tree_->calls;
  if (index < 1 || static_cast<std::size_t>(index) > object_->children.size()) return false;
  target->tree_ = tree_;
  target->Resolve(object_, object_->children[index - 1]);
  return true;
}

std::int32_t MemoryElement::AllChildren(ElementList& list) const {
  const std::int32_t n = ChildCount();
  if (n == 0) return 0;
  ++tree_->calls;
  ElementList children;
  children.reserve(n);
  for (MemoryNode* child : object_->children) {
    auto element = std::make_unique<MemoryElement>(tree_);
    element->Resolve(object_, child);
    children.push_back(std::move(element));
  }
  list = std::move(children);
  return n;
}

Text MemoryElement::Name() const {
  const MemoryNode* node = Serve();
  return node ? node->name : Text();
}

bool MemoryElement::SetName(std::string_view name) {
  auto* node = const_cast<MemoryNode*>(Serve());
  if (node == nullptr) return false;
  node->name = Text(name);
  return true;
}

Text MemoryElement::Value() const {
  const MemoryNode* node = Serve();
  return node ? node->value : Text();
}

bool MemoryElement::SetValue(std::string_view value) {
  auto* node = const_cast<MemoryNode*>(Serve());
  if (node == nullptr) return false;
  node->value = Text(value);
  return true;
}

Text MemoryElement::Description() const {
  const MemoryNode* node = Serve();
  return node ? node->description : Text();
}

std::int32_t MemoryElement::Role() const {
  const MemoryNode* node = Serve();
  return node ? node->role : 0;
}

Text MemoryElement::RoleText() const {
  const std::int32_t role = Role();
  return TextOf((tree_ ? *tree_ : DefaultTexts()).roleTexts, role);
}

std::int32_t MemoryElement::State() const {
  const MemoryNode* node = Serve();
  return node ? node->state : 0;
}

Text MemoryElement::StateText() const {
  const std::int32_t state = State();
  const auto& texts = (tree_ ? *tree_ : DefaultTexts()).stateTexts;
  return ComposeStateText(state, [&texts](std::int32_t bit) { return TextOf(texts, bit); });
}

Text MemoryElement::Help() const {
  const MemoryNode* node = Serve();
  return node ? node->help : Text();
}

std::int32_t MemoryElement::HelpTopic() const {
  const MemoryNode* node = Serve();
  return node ? node->helpTopic : 0;
}

Text MemoryElement::KeyboardShortcut() const {
  const MemoryNode* node = Serve();
  return node ? node->keyboardShortcut : Text();
}

Text MemoryElement::DefaultAction() const {
  const MemoryNode* node = Serve();
  return node ? node->defaultAction : Text();
}

// The tree keeps no focus or selection: both reads find nothing.
bool MemoryElement::Focus(AccElement&) const {
  Serve();
  return false;
}

bool MemoryElement::Selection(AccElement&) const {
  Serve();
  return false;
}

void MemoryElement::Select(std::int32_t, const AccElement*) { Serve(); }

void MemoryElement::Location(std::int32_t& left, std::int32_t& top, std::int32_t& width,
                             std::int32_t& height) const {
  const MemoryNode* node = Serve();
  if (node == nullptr) return;
  left = node->location.left;
  top = node->location.top;
  width = node->location.width;
  height = node->location.height;
}

bool MemoryElement::Navigate(std::int32_t, const AccElement&, std::int32_t, AccElement&) const {
  Serve();
  return false;
}

bool MemoryElement::HitTest(std::int32_t, std::int32_t, AccElement&) const {
  Serve();
  return false;
}

void MemoryElement::DoDefaultAction() { Serve(); }

WindowHandle MemoryElement::Window() const {
  const MemoryNode* node = Serve();
  // Like the platform: the window of the nearest object up the tree that has one.
  if (node == nullptr) node = Queried();
  for (; node != nullptr; node = node->parent) {
    if (node->window != 0) return node->window;
  }
  return 0;
}

ElementRect MemoryElement::WindowRectOf(WindowHandle window) const {
  if (!tree_) return {};
  auto found = tree_->windowRects_.find(window);
  return found == tree_->windowRects_.end() ? ElementRect{} : found->second;
}

}  // namespace tvx
