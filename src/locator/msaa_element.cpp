#include "locator/msaa_element.h"

#include <cwchar>
#include <utility>
#include <vector>

#include "locator/accessible_iid.h"
#include "locator/window_rect.h"

namespace tvx {
namespace {

using Microsoft::WRL::ComPtr;

// A VARIANT that is cleared when it goes out of scope.
struct ScopedVariant {
  VARIANT v;
  ScopedVariant() { VariantInit(&v); }
  ~ScopedVariant() { VariantClear(&v); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
};

struct ScopedBstr {
  BSTR b = nullptr;
  ScopedBstr() = default;
  explicit ScopedBstr(BSTR owned) : b(owned) {}
  ~ScopedBstr() { SysFreeString(b); }
  ScopedBstr(const ScopedBstr&) = delete;
  ScopedBstr& operator=(const ScopedBstr&) = delete;
};

VARIANT ChildVariant(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// ANSI text in the system code page, cut at the first 0 character.
Text TextOfBstr(BSTR text) {
  if (text == nullptr) return {};
  const int length = static_cast<int>(wcsnlen(text, SysStringLen(text)));
  if (length == 0) return {};
  const int bytes = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  Text result(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, length, result.data(), bytes, nullptr, nullptr);
  return result;
}

BSTR BstrOfText(std::string_view text) {
  const int length = static_cast<int>(text.size());
  const int chars =
      length == 0 ? 0 : MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(chars > 0 ? chars : 0));
  if (result != nullptr && chars > 0) {
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, result, chars);
  }
  return result;
}

bool IsNumber(VARTYPE type) {
  switch (type) {
    case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_INT:
    case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8: case VT_UINT:
    case VT_R4: case VT_R8: case VT_BOOL:
      return true;
    default:
      return false;
  }
}

// The VARIANT's numeric value as a 32-bit integer; 0 when it holds no number
// or one that does not fit.
LONG NumberOf(const VARIANT& v) {
  if (v.vt == VT_I4) return v.lVal;
  if (!IsNumber(v.vt)) return 0;
  ScopedVariant converted;
  if (FAILED(VariantChangeType(&converted.v, const_cast<VARIANT*>(&v), 0, VT_I4))) return 0;
  return converted.v.lVal;
}

// The IAccessible of the object a VT_DISPATCH or VT_UNKNOWN VARIANT holds.
ComPtr<IAccessible> ObjectOf(const VARIANT& v) {
  ComPtr<IAccessible> object;
  IUnknown* held = nullptr;
  if (v.vt == VT_DISPATCH) held = v.pdispVal;
  if (v.vt == VT_UNKNOWN) held = v.punkVal;
  if (held != nullptr) held->QueryInterface(AccessibleIid(), reinterpret_cast<void**>(object.GetAddressOf()));
  return object;
}

// Role and state texts come in two calls: the length, then a buffer one longer.
template <typename GetText>
Text PlatformText(GetText getText) {
  const UINT length = getText(nullptr, 0);
  std::vector<char> buffer(length + 1, '\0');
  getText(buffer.data(), length + 1);
  return Text(buffer.data());
}

}  // namespace

Text RoleTextOf(std::int32_t role) {
  return PlatformText([role](LPSTR buffer, UINT size) {
    return GetRoleTextA(static_cast<DWORD>(role), buffer, size);
  });
}

Text StateBitText(std::int32_t bit) {
  return PlatformText([bit](LPSTR buffer, UINT size) {
    return GetStateTextA(static_cast<DWORD>(bit), buffer, size);
  });
}

ElementRect WindowRectOf(WindowHandle window) {
  RECT rect{0, 0, 0, 0};
  if (window == 0 || !GetWindowRect(HwndOf(window), &rect)) rect = RECT{0, 0, 0, 0};
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void MsaaElement::SetObject(IAccessible* obj) {
  parentObject_.Reset();
  object_ = obj;
  childId_ = 0;
}

void MsaaElement::SetChild(std::int32_t id, IAccessible* container) {
  object_.Reset();
  parentObject_ = container;
  childId_ = id;
}

VARIANT MsaaElement::AsVariant() const {
  if (childId_ != 0) return ChildVariant(childId_);
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_DISPATCH;
  v.pdispVal = object_.Get();
  if (v.pdispVal != nullptr) v.pdispVal->AddRef();
  return v;
}

void MsaaElement::GetObjects(ObjectRef& container, ObjectRef& own) const {
  container = parentObject_;
  own = object_;
}

VARIANT MsaaElement::ChildArgument() const { return ChildVariant(childId_); }

void MsaaElement::Resolve(const VARIANT& child) {
  // The container is the element that listed the child; callers set it first.
  ComPtr<IAccessible> container = object_;
  ComPtr<IAccessible> own;
  LONG id = 0;
  if (IsNumber(child.vt)) {
    id = NumberOf(child);
    ComPtr<IDispatch> dispatch;
    if (container && container->get_accChild(ChildVariant(id), dispatch.GetAddressOf()) == S_OK &&
        dispatch) {
      dispatch.As(&own);
    }
  } else {
    own = ObjectOf(child);
  }
  if (own) {
    SetObject(own.Get());
  } else {
    SetChild(id, container.Get());
  }
}

ElementPtr MsaaElement::Clone() const {
  auto copy = std::make_unique<MsaaElement>();
  copy->CopyFrom(*this);
  return copy;
}

ElementPtr MsaaElement::NewElement() const { return std::make_unique<MsaaElement>(); }

bool MsaaElement::CopyFrom(const AccElement& source) {
  const auto* other = dynamic_cast<const MsaaElement*>(&source);
  if (other == nullptr) return false;
  if (other == this) return true;
  parentObject_ = other->parentObject_;
  object_ = other->object_;
  childId_ = other->childId_;
  return true;
}

bool MsaaElement::FromWindow(WindowHandle window) {
  SetObject(nullptr);
  ComPtr<IAccessible> object;
  const HRESULT hr = AccessibleObjectFromWindow(HwndOf(window), static_cast<DWORD>(OBJID_WINDOW),
                                                AccessibleIid(),
                                                reinterpret_cast<void**>(object.GetAddressOf()));
  if (hr != S_OK || !object) return false;
  object_ = std::move(object);
  return true;
}

bool MsaaElement::FromPoint(std::int32_t x, std::int32_t y) {
  SetObject(nullptr);
  ComPtr<IAccessible> object;
  ScopedVariant child;
  child.v = ChildVariant(0);
  if (AccessibleObjectFromPoint(POINT{x, y}, object.GetAddressOf(), &child.v) != S_OK || !object) {
    return false;
  }
  const LONG id = NumberOf(child.v);
  if (id != 0) {
    SetChild(id, object.Get());
  } else {
    SetObject(object.Get());
  }
  return true;
}

bool MsaaElement::Parent(AccElement& out) const {
  auto* target = dynamic_cast<MsaaElement*>(&out);
  if (target == nullptr) return false;
  MsaaElement parent;
  if (childId_ != 0) {
    parent.SetObject(parentObject_.Get());
  } else if (object_) {
    ComPtr<IDispatch> dispatch;
    ComPtr<IAccessible> object;
    if (SUCCEEDED(object_->get_accParent(dispatch.GetAddressOf())) && dispatch) dispatch.As(&object);
    parent.SetObject(object.Get());
  }
  if (parent.IsEmpty()) return false;
  target->CopyFrom(parent);
  return true;
}

std::int32_t MsaaElement::ChildCount() const {
  if (!object_) return 0;
  long count = 0;
  if (FAILED(object_->get_accChildCount(&count))) return 0;
  // Only a faulty server reports a negative count: it has no children to give.
  return count < 0 ? 0 : static_cast<std::int32_t>(count);
}

bool MsaaElement::ChildAt(std::int32_t index, AccElement& out) const {
  auto* target = dynamic_cast<MsaaElement*>(&out);
  if (target == nullptr || !object_ || index < 1) return false;
  ScopedVariant child;
  child.v = ChildVariant(0);
  LONG obtained = 0;
  if (AccessibleChildren(object_.Get(), index - 1, 1, &child.v, &obtained) != S_OK ||
      obtained != 1) {
    return false;
  }
  MsaaElement fetched;
  fetched.object_ = object_;
  fetched.Resolve(child.v);
  if (fetched.IsEmpty()) return false;
  target->CopyFrom(fetched);
  return true;
}

std::int32_t MsaaElement::AllChildren(ElementList& list) const {
  const std::int32_t n = ChildCount();
  // A count beyond any real container is a failed read, not an allocation.
  if (n <= 0 || n > kMaxChildren) return 0;
  std::vector<VARIANT> children(static_cast<std::size_t>(n));
  for (VARIANT& child : children) child = ChildVariant(0);
  LONG obtained = 0;
  const HRESULT hr = AccessibleChildren(object_.Get(), 0, n, children.data(), &obtained);
  const std::int32_t got = obtained < 0 ? 0 : (obtained > n ? n : static_cast<std::int32_t>(obtained));
  ElementList fetched;
  if (hr == S_OK && got > 0) {
    fetched.reserve(static_cast<std::size_t>(got));
    for (std::int32_t i = 0; i < got; ++i) {
      auto element = std::make_unique<MsaaElement>();
      element->object_ = object_;
      element->Resolve(children[static_cast<std::size_t>(i)]);
      fetched.push_back(std::move(element));
    }
  }
  for (VARIANT& child : children) VariantClear(&child);
  if (fetched.empty()) return 0;
  list = std::move(fetched);
  return got;
}

Text MsaaElement::Name() const {
  IAccessible* queried = Queried();
  if (queried == nullptr) return {};
  ScopedBstr text;
  if (FAILED(queried->get_accName(ChildArgument(), &text.b))) return {};
  return TextOfBstr(text.b);
}

bool MsaaElement::SetName(std::string_view name) {
  IAccessible* queried = Queried();
  if (queried == nullptr) return false;
  ScopedBstr text(BstrOfText(name));
  return SUCCEEDED(queried->put_accName(ChildArgument(), text.b));
}

Text MsaaElement::Value() const {
  IAccessible* queried = Queried();
  if (queried == nullptr) return {};
  ScopedBstr text;
  if (FAILED(queried->get_accValue(ChildArgument(), &text.b))) return {};
  return TextOfBstr(text.b);
}

bool MsaaElement::SetValue(std::string_view value) {
  IAccessible* queried = Queried();
  if (queried == nullptr) return false;
  ScopedBstr text(BstrOfText(value));
  return SUCCEEDED(queried->put_accValue(ChildArgument(), text.b));
}

Text MsaaElement::Description() const {
  IAccessible* queried = Queried();
  if (queried == nullptr) return {};
  ScopedBstr text;
  if (FAILED(queried->get_accDescription(ChildArgument(), &text.b))) return {};
  return TextOfBstr(text.b);
}

std::int32_t MsaaElement::Role() const {
  IAccessible* queried = Queried();
  if (queried == nullptr) return 0;
  ScopedVariant role;
  if (FAILED(queried->get_accRole(ChildArgument(), &role.v))) return 0;
  return NumberOf(role.v);
}

Text MsaaElement::RoleText() const { return RoleTextOf(Role()); }

std::int32_t MsaaElement::State() const {
  IAccessible* queried = Queried();
  if (queried == nullptr) return 0;
  ScopedVariant state;
  if (FAILED(queried->get_accState(ChildArgument(), &state.v))) return 0;
  return NumberOf(state.v);
}

Text MsaaElement::StateText() const { return ComposeStateText(State(), StateBitText); }

Text MsaaElement::Help() const {
  IAccessible* queried = Queried();
  if (queried == nullptr) return {};
  ScopedBstr text;
  if (FAILED(queried->get_accHelp(ChildArgument(), &text.b))) return {};
  return TextOfBstr(text.b);
}

std::int32_t MsaaElement::HelpTopic() const {
  IAccessible* queried = Queried();
  if (queried == nullptr) return 0;
  ScopedBstr helpFile;
  long topic = 0;
  if (FAILED(queried->get_accHelpTopic(&helpFile.b, ChildArgument(), &topic))) return 0;
  return static_cast<std::int32_t>(topic);
}

Text MsaaElement::KeyboardShortcut() const {
  IAccessible* queried = Queried();
  if (queried == nullptr) return {};
  ScopedBstr text;
  if (FAILED(queried->get_accKeyboardShortcut(ChildArgument(), &text.b))) return {};
  return TextOfBstr(text.b);
}

Text MsaaElement::DefaultAction() const {
  IAccessible* queried = Queried();
  if (queried == nullptr) return {};
  ScopedBstr text;
  if (FAILED(queried->get_accDefaultAction(ChildArgument(), &text.b))) return {};
  return TextOfBstr(text.b);
}

bool MsaaElement::TakeVariant(const VARIANT& v, MsaaElement& out) const {
  if (IsNumber(v.vt)) {
    const LONG id = NumberOf(v);
    if (id != 0) {
      out.SetChild(id, Queried());
    } else {
      out.SetObject(Queried());
    }
  } else {
    out.SetObject(ObjectOf(v).Get());
  }
  return !out.IsEmpty();
}

bool MsaaElement::Focus(AccElement& out) const {
  auto* target = dynamic_cast<MsaaElement*>(&out);
  IAccessible* queried = Queried();
  if (target == nullptr || queried == nullptr) return false;
  ScopedVariant v;
  if (FAILED(queried->get_accFocus(&v.v)) || v.v.vt == VT_EMPTY) return false;
  MsaaElement focused;
  if (!TakeVariant(v.v, focused)) return false;
  target->CopyFrom(focused);
  return true;
}

bool MsaaElement::Selection(AccElement& out) const {
  auto* target = dynamic_cast<MsaaElement*>(&out);
  IAccessible* queried = Queried();
  if (target == nullptr || queried == nullptr) return false;
  ScopedVariant v;
  if (FAILED(queried->get_accSelection(&v.v)) || v.v.vt == VT_EMPTY) return false;
  MsaaElement selected;
  if (!TakeVariant(v.v, selected)) return false;
  target->CopyFrom(selected);
  return true;
}

void MsaaElement::Select(std::int32_t flags, const AccElement* target) {
  IAccessible* queried = Queried();
  if (queried == nullptr) return;
  ScopedVariant v;
  const auto* element = dynamic_cast<const MsaaElement*>(target);
  v.v = element != nullptr ? element->AsVariant() : ChildVariant(0);
  queried->accSelect(flags, v.v);
}

void MsaaElement::Location(std::int32_t& left, std::int32_t& top, std::int32_t& width,
                           std::int32_t& height) const {
  IAccessible* queried = Queried();
  if (queried == nullptr) return;
  long l = left, t = top, w = width, h = height;
  if (FAILED(queried->accLocation(&l, &t, &w, &h, ChildArgument()))) return;
  left = l;
  top = t;
  width = w;
  height = h;
}

bool MsaaElement::Navigate(std::int32_t direction, const AccElement& start, std::int32_t,
                           AccElement& out) const {
  auto* target = dynamic_cast<MsaaElement*>(&out);
  IAccessible* queried = Queried();
  if (target == nullptr || queried == nullptr) return false;
  ScopedVariant from;
  const auto* startElement = dynamic_cast<const MsaaElement*>(&start);
  from.v = startElement != nullptr ? startElement->AsVariant() : ChildVariant(0);
  ScopedVariant v;
  if (FAILED(queried->accNavigate(direction, from.v, &v.v))) return false;
  MsaaElement reached;
  if (!TakeVariant(v.v, reached)) return false;
  target->CopyFrom(reached);
  return true;
}

bool MsaaElement::HitTest(std::int32_t x, std::int32_t y, AccElement& out) const {
  auto* target = dynamic_cast<MsaaElement*>(&out);
  IAccessible* queried = Queried();
  if (target == nullptr || queried == nullptr) return false;
  ScopedVariant v;
  if (FAILED(queried->accHitTest(x, y, &v.v)) || v.v.vt == VT_EMPTY) return false;
  if (!IsNumber(v.v.vt) && v.v.vt != VT_DISPATCH && v.v.vt != VT_UNKNOWN) return false;
  MsaaElement hit;
  if (!TakeVariant(v.v, hit)) return false;
  target->CopyFrom(hit);
  return true;
}

void MsaaElement::DoDefaultAction() {
  IAccessible* queried = Queried();
  if (queried != nullptr) queried->accDoDefaultAction(ChildArgument());
}

WindowHandle MsaaElement::Window() const {
  IAccessible* queried = Queried();
  if (queried == nullptr) return 0;
  HWND window = nullptr;
  if (WindowFromAccessibleObject(queried, &window) != S_OK) return 0;
  return HandleOf(window);
}

ElementRect MsaaElement::WindowRectOf(WindowHandle window) const { return tvx::WindowRectOf(window); }

}  // namespace tvx
