// The MSAA element handle against an accessible object of our own, in process,
// so a faulty server's answers can be staged exactly.
#include "locator/msaa_element.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "locator/accessible_iid.h"
#include "locator/window_rect.h"

namespace tvx {
namespace {

// A container that answers whatever the test sets: a child count, children
// through IEnumVARIANT, objects for some child ids, and names per child id.
class FakeAccessible final : public IAccessible, public IEnumVARIANT {
 public:
  long childCount = 0;
  std::vector<VARIANT> listed;             // what the enumerator hands out
  std::map<long, IAccessible*> objects;    // accChild answers
  std::map<long, std::wstring> names;      // accName answers per child id
  VARIANT hit{};                           // accHitTest answer
  long lastChildArgument = -1;

  FakeAccessible() { VariantInit(&hit); }
  ~FakeAccessible() {
    for (VARIANT& v : listed) VariantClear(&v);
  }
  void ListId(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    listed.push_back(v);
  }
  void ListObject(IAccessible* object) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    object->AddRef();
    listed.push_back(v);
  }

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    *out = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == AccessibleIid()) {
      *out = static_cast<IAccessible*>(this);
    } else if (riid == IID_IEnumVARIANT) {
      *out = static_cast<IEnumVARIANT*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }  // lives on the test's stack

  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP get_accParent(IDispatch** out) override { *out = nullptr; return S_FALSE; }
  STDMETHODIMP get_accChildCount(long* count) override { *count = childCount; return S_OK; }
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override {
    *out = nullptr;
    auto found = objects.find(child.lVal);
    if (found == objects.end()) return S_FALSE;
    *out = found->second;
    found->second->AddRef();
    return S_OK;
  }
  STDMETHODIMP get_accName(VARIANT child, BSTR* out) override {
    lastChildArgument = child.lVal;
    auto found = names.find(child.lVal);
    *out = found == names.end() ? nullptr : SysAllocString(found->second.c_str());
    return found == names.end() ? S_FALSE : S_OK;
  }
  STDMETHODIMP get_accValue(VARIANT, BSTR* out) override { *out = nullptr; return S_FALSE; }
  STDMETHODIMP get_accDescription(VARIANT, BSTR* out) override { *out = nullptr; return S_FALSE; }
  STDMETHODIMP get_accRole(VARIANT, VARIANT* out) override {
    VariantInit(out);
    out->vt = VT_I4;
    out->lVal = ROLE_SYSTEM_CLIENT;
    return S_OK;
  }
  STDMETHODIMP get_accState(VARIANT, VARIANT* out) override {
    VariantInit(out);
    out->vt = VT_I4;
    out->lVal = state;
    return S_OK;
  }
  STDMETHODIMP get_accHelp(VARIANT, BSTR* out) override { *out = nullptr; return S_FALSE; }
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    *file = nullptr;
    *topic = 0;
    return S_FALSE;
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT, BSTR* out) override { *out = nullptr; return S_FALSE; }
  STDMETHODIMP get_accFocus(VARIANT* out) override { VariantInit(out); return S_FALSE; }
  STDMETHODIMP get_accSelection(VARIANT* out) override { VariantInit(out); return S_FALSE; }
  STDMETHODIMP get_accDefaultAction(VARIANT, BSTR* out) override { *out = nullptr; return S_FALSE; }
  STDMETHODIMP accSelect(long, VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP accLocation(long*, long*, long*, long*, VARIANT) override { return E_FAIL; }
  STDMETHODIMP accNavigate(long, VARIANT, VARIANT* out) override { VariantInit(out); return S_FALSE; }
  STDMETHODIMP accHitTest(long, long, VARIANT* out) override {
    VariantInit(out);
    return VariantCopy(out, &hit);
  }
  STDMETHODIMP accDoDefaultAction(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  STDMETHODIMP Next(ULONG count, VARIANT* out, ULONG* fetched) override {
    ULONG got = 0;
    for (; got < count && cursor < listed.size(); ++got, ++cursor) {
      VariantInit(&out[got]);
      VariantCopy(&out[got], &listed[cursor]);
    }
    if (fetched) *fetched = got;
    return got == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    cursor += count;
    if (cursor <= listed.size()) return S_OK;
    cursor = listed.size();
    return S_FALSE;
  }
  STDMETHODIMP Reset() override { cursor = 0; return S_OK; }
  STDMETHODIMP Clone(IEnumVARIANT** out) override { *out = nullptr; return E_NOTIMPL; }

  long state = 0;
  ULONG refs = 1;
  size_t cursor = 0;
};

TEST(MsaaElement, ChildrenResolveToObjectsOrSimpleChildrenOfTheContainer) {
  FakeAccessible container, first;
  container.childCount = 2;
  container.ListObject(&first);
  container.ListId(7);  // accChild(7) gives no object
  container.names[7] = L"张三";
  MsaaElement element;
  element.SetObject(&container);

  ElementList list;
  ASSERT_EQ(element.AllChildren(list), 2);
  MsaaElement::ObjectRef parent, own;
  static_cast<MsaaElement&>(*list[0]).GetObjects(parent, own);
  EXPECT_EQ(own.Get(), &first);
  EXPECT_EQ(list[0]->ChildId(), 0);
  static_cast<MsaaElement&>(*list[1]).GetObjects(parent, own);
  EXPECT_EQ(parent.Get(), &container);
  EXPECT_EQ(own.Get(), nullptr);
  EXPECT_EQ(list[1]->ChildId(), 7);
  // The simple child's reads ask the container with its child id.
  EXPECT_EQ(list[1]->Name(), "张三");
  EXPECT_EQ(container.lastChildArgument, 7);
  EXPECT_EQ(list[1]->ChildCount(), 0);
  MsaaElement none;
  EXPECT_FALSE(list[1]->ChildAt(1, none));

  MsaaElement second;
  ASSERT_TRUE(element.ChildAt(2, second));
  EXPECT_EQ(second.ChildId(), 7);
  MsaaElement beyond;
  EXPECT_FALSE(element.ChildAt(3, beyond));
  EXPECT_TRUE(beyond.IsEmpty());
  // A failed fetch does not report the old content of out as success.
  EXPECT_FALSE(element.ChildAt(3, second));
  EXPECT_EQ(second.ChildId(), 7);
}

TEST(MsaaElement, FaultyChildCountsAreNotBelieved) {
  FakeAccessible container, child;
  container.ListObject(&child);
  MsaaElement element;
  element.SetObject(&container);
  ElementList list;
  list.push_back(std::make_unique<MsaaElement>());  // an old list that must survive

  struct Case {
    long count;
    std::int32_t expectedCount;
  };
  for (Case c : {Case{0x7fffffff, 0x7fffffff}, Case{kMaxChildren + 1, kMaxChildren + 1},
                 Case{-5, 0}, Case{0, 0}, Case{3, 3} /* enumerator gives 1: S_FALSE */}) {
    SCOPED_TRACE(c.count);
    container.childCount = c.count;
    EXPECT_EQ(element.ChildCount(), c.expectedCount);
    EXPECT_EQ(element.AllChildren(list), 0);
    EXPECT_EQ(list.size(), 1u);
  }
  container.childCount = 1;
  EXPECT_EQ(element.AllChildren(list), 1);
}

TEST(MsaaElement, StateTextsCommaAfterEveryBit) {
  FakeAccessible object;
  MsaaElement element;
  element.SetObject(&object);
  object.state = 0;
  EXPECT_EQ(element.StateText(), "正常");
  object.state = STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_FOCUSED;
  const Text expected = StateBitText(STATE_SYSTEM_UNAVAILABLE) + "," +
                        StateBitText(STATE_SYSTEM_FOCUSED) + ",";
  EXPECT_EQ(element.StateText(), expected);
  EXPECT_NE(StateBitText(STATE_SYSTEM_UNAVAILABLE), "");
  object.state = 0x20000000;
  EXPECT_EQ(element.StateText(), "");
  EXPECT_EQ(element.RoleText(), "客户端");
}

TEST(MsaaElement, HitTestOnTheObjectItselfAndFailedLocation) {
  FakeAccessible object;
  MsaaElement element;
  element.SetObject(&object);
  MsaaElement out;
  object.hit.vt = VT_EMPTY;
  EXPECT_FALSE(element.HitTest(1, 2, out));
  EXPECT_TRUE(out.IsEmpty());
  object.hit.vt = VT_I4;
  object.hit.lVal = 0;
  ASSERT_TRUE(element.HitTest(1, 2, out));
  MsaaElement::ObjectRef parent, own;
  out.GetObjects(parent, own);
  EXPECT_EQ(own.Get(), &object);
  object.hit.lVal = 4;
  ASSERT_TRUE(element.HitTest(1, 2, out));
  EXPECT_EQ(out.ChildId(), 4);

  std::int32_t l = 1, t = 2, w = 3, h = 4;
  element.Location(l, t, w, h);  // the object's accLocation fails
  EXPECT_EQ((ElementRect{l, t, w, h}), (ElementRect{1, 2, 3, 4}));
  EXPECT_EQ(element.Window(), 0u);  // no IOleWindow and no parent
}

TEST(MsaaElement, EmptyElementGivesEmptyValues) {
  MsaaElement element;
  EXPECT_TRUE(element.IsEmpty());
  EXPECT_EQ(element.Name(), "");
  EXPECT_EQ(element.ChildCount(), 0);
  EXPECT_EQ(element.Role(), 0);
  EXPECT_EQ(element.Window(), 0u);
  ElementList list;
  EXPECT_EQ(element.AllChildren(list), 0);
  MsaaElement out;
  EXPECT_FALSE(element.Parent(out));
  EXPECT_FALSE(element.ChildAt(1, out));
  FakeAccessible container;
  element.SetChild(0, &container);  // child id 0 of a container names nothing
  EXPECT_TRUE(element.IsEmpty());
}

TEST(WindowRectOf, OuterRectangleOfAWindowAndZerosForNone) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_BORDER, 10, 20, 100, 200, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowRectOf(HandleOf(window)), (ElementRect{10, 20, 100, 200}));
  DestroyWindow(window);
  EXPECT_EQ(WindowRectOf(HandleOf(window)), ElementRect{});
  EXPECT_EQ(WindowRectOf(0), ElementRect{});
}

}  // namespace
}  // namespace tvx
