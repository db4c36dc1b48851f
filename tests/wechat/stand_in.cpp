// The stand-in chat client: a main window shaped like the real client's, its
// accessibility tree served across processes, a message input that logs what
// is sent, and a control channel for the tests (see stand_in_protocol.h).
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>
#include <shellapi.h>
#include <wrl/client.h>

#include <string>
#include <utility>
#include <vector>

#include "locator/accessible_iid.h"
#include "stand_in_protocol.h"

namespace {

using Microsoft::WRL::ComPtr;

// Roles and states as the system's standard objects use them.
constexpr LONG kRoleTitleBar = ROLE_SYSTEM_TITLEBAR;
constexpr LONG kRoleMenuBar = ROLE_SYSTEM_MENUBAR;
constexpr LONG kRoleScrollBar = ROLE_SYSTEM_SCROLLBAR;
constexpr LONG kRoleGrip = ROLE_SYSTEM_GRIP;
constexpr LONG kRoleWindow = ROLE_SYSTEM_WINDOW;
constexpr LONG kRoleClient = ROLE_SYSTEM_CLIENT;
constexpr LONG kRoleGroup = ROLE_SYSTEM_GROUPING;
constexpr LONG kRoleList = ROLE_SYSTEM_LIST;
constexpr LONG kRoleListItem = ROLE_SYSTEM_LISTITEM;
constexpr LONG kRoleStaticText = ROLE_SYSTEM_STATICTEXT;
constexpr LONG kRoleButton = ROLE_SYSTEM_PUSHBUTTON;
constexpr LONG kRoleEditable = ROLE_SYSTEM_TEXT;

long long g_calls = 0;  // accessibility calls served

class Node;

// One child slot of a container: a full object, or a simple child that the
// container serves itself under child id = its 1-based position.
struct Slot {
  ComPtr<Node> object;
  std::wstring name;
  LONG role = 0;
  LONG state = 0;
};

BSTR Bstr(const std::wstring& text) {
  return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// An accessible object of the stand-in's tree. Containers that enumerate also
// answer IEnumVARIANT; the window and client objects answer IOleWindow.
class Node final : public IAccessible, public IEnumVARIANT, public IOleWindow {
 public:
  Node(std::wstring name, LONG role, LONG state, bool enumerates, RECT place)
      : name_(std::move(name)), role_(role), state_(state), enumerates_(enumerates), place_(place) {}

  std::wstring name_;
  LONG role_;
  LONG state_;
  bool enumerates_;
  RECT place_;            // relative to the main window's top-left corner
  HWND window_ = nullptr; // set: this object answers IOleWindow
  ComPtr<Node> parent_;  // kept alive for a client that holds a child of a closed chat
  std::vector<Slot> children_;

  Node* Add(ComPtr<Node> child) {
    child->parent_ = this;
    children_.push_back(Slot{child, {}, 0, 0});
    return child.Get();
  }
  void AddSimple(std::wstring name, LONG role, LONG state = 0) {
    children_.push_back(Slot{nullptr, std::move(name), role, state});
  }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == tvx::AccessibleIid()) {
      *out = static_cast<IAccessible*>(this);
    } else if (riid == IID_IEnumVARIANT && enumerates_) {
      *out = static_cast<IEnumVARIANT*>(this);
    } else if (riid == IID_IOleWindow && window_ != nullptr) {
      *out = static_cast<IOleWindow*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: the members are reached directly, never by name.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    ++g_calls;
    if (count) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { ++g_calls; return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    ++g_calls;
    return E_NOTIMPL;
  }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    ++g_calls;
    return E_NOTIMPL;
  }

  // IAccessible
  STDMETHODIMP get_accParent(IDispatch** parent) override {
    ++g_calls;
    if (parent == nullptr) return E_POINTER;
    *parent = static_cast<IAccessible*>(parent_.Get());
    if (!parent_) return S_FALSE;
    parent_->AddRef();
    return S_OK;
  }
  STDMETHODIMP get_accChildCount(long* count) override {
    ++g_calls;
    if (count == nullptr) return E_POINTER;
    *count = static_cast<long>(children_.size());
    return S_OK;
  }
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override {
    ++g_calls;
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (child.vt != VT_I4 || child.lVal < 1 ||
        static_cast<size_t>(child.lVal) > children_.size()) {
      return E_INVALIDARG;
    }
    Node* object = children_[child.lVal - 1].object.Get();
    if (object == nullptr) return S_FALSE;  // a simple child: no object of its own
    *out = static_cast<IAccessible*>(object);
    object->AddRef();
    return S_OK;
  }
  STDMETHODIMP get_accName(VARIANT child, BSTR* out) override {
    ++g_calls;
    return Text(child, out, [](const Node& n) { return n.name_; },
                [](const Slot& s) { return s.name; });
  }
  STDMETHODIMP get_accValue(VARIANT child, BSTR* out) override {
    ++g_calls;
    return Empty(child, out);
  }
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* out) override {
    ++g_calls;
    return Empty(child, out);
  }
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* out) override {
    ++g_calls;
    return Number(child, out, [](const Node& n) { return n.role_; },
                  [](const Slot& s) { return s.role; });
  }
  STDMETHODIMP get_accState(VARIANT child, VARIANT* out) override {
    ++g_calls;
    return Number(child, out, [](const Node& n) { return n.state_; },
                  [](const Slot& s) { return s.state; });
  }
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* out) override {
    ++g_calls;
    return Empty(child, out);
  }
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    ++g_calls;
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    ++g_calls;
    return Empty(child, out);
  }
  STDMETHODIMP get_accFocus(VARIANT* out) override {
    ++g_calls;
    if (out) VariantInit(out);
    return S_FALSE;
  }
  STDMETHODIMP get_accSelection(VARIANT* out) override {
    ++g_calls;
    if (out) VariantInit(out);
    return S_FALSE;
  }
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* out) override {
    ++g_calls;
    return Empty(child, out);
  }
  STDMETHODIMP accSelect(long, VARIANT) override { ++g_calls; return S_FALSE; }
  STDMETHODIMP accLocation(long* left, long* top, long* width, long* height,
                           VARIANT child) override {
    ++g_calls;
    if (!left || !top || !width || !height) return E_POINTER;
    if (child.vt != VT_I4 || (child.lVal != 0 && SlotOf(child) == nullptr)) return E_INVALIDARG;
    RECT window{};
    GetWindowRect(MainWindow(), &window);
    RECT place = place_;
    if (child.lVal != 0) {  // simple children sit in rows inside their container
      place.top += 20 * (child.lVal - 1);
      place.bottom = place.top + 20;
    }
    *left = window.left + place.left;
    *top = window.top + place.top;
    *width = place.right - place.left;
    *height = place.bottom - place.top;
    return S_OK;
  }
  STDMETHODIMP accNavigate(long, VARIANT, VARIANT* out) override {
    ++g_calls;
    if (out) VariantInit(out);
    return S_FALSE;
  }
  STDMETHODIMP accHitTest(long, long, VARIANT* out) override {
    ++g_calls;
    if (out) VariantInit(out);
    return S_FALSE;
  }
  STDMETHODIMP accDoDefaultAction(VARIANT) override { ++g_calls; return DISP_E_MEMBERNOTFOUND; }
  STDMETHODIMP put_accName(VARIANT, BSTR) override { ++g_calls; return E_NOTIMPL; }
  STDMETHODIMP put_accValue(VARIANT, BSTR) override { ++g_calls; return E_NOTIMPL; }

  // IEnumVARIANT: the children in order, full objects as VT_DISPATCH, simple
  // children as VT_I4 ids.
  STDMETHODIMP Next(ULONG count, VARIANT* out, ULONG* fetched) override {
    ++g_calls;
    if (out == nullptr) return E_POINTER;
    ULONG got = 0;
    for (; got < count && cursor_ < children_.size(); ++got, ++cursor_) {
      VARIANT& v = out[got];
      VariantInit(&v);
      Slot& slot = children_[cursor_];
      if (slot.object) {
        v.vt = VT_DISPATCH;
        v.pdispVal = static_cast<IAccessible*>(slot.object.Get());
        v.pdispVal->AddRef();
      } else {
        v.vt = VT_I4;
        v.lVal = static_cast<LONG>(cursor_ + 1);
      }
    }
    if (fetched) *fetched = got;
    return got == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    ++g_calls;
    const size_t left = children_.size() - cursor_;
    if (count > left) {
      cursor_ = children_.size();
      return S_FALSE;
    }
    cursor_ += count;
    return S_OK;
  }
  STDMETHODIMP Reset() override {
    ++g_calls;
    cursor_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumVARIANT** out) override {
    ++g_calls;
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }

  // IOleWindow
  STDMETHODIMP GetWindow(HWND* out) override {
    ++g_calls;
    if (out == nullptr) return E_POINTER;
    *out = window_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { ++g_calls; return E_NOTIMPL; }

  static HWND& MainWindow() {
    static HWND window = nullptr;
    return window;
  }

 private:
  const Slot* SlotOf(const VARIANT& child) const {
    if (child.vt != VT_I4 || child.lVal < 1 || static_cast<size_t>(child.lVal) > children_.size()) {
      return nullptr;
    }
    const Slot& slot = children_[child.lVal - 1];
    return slot.object ? nullptr : &slot;  // a full child answers for itself
  }

  template <typename OfNode, typename OfSlot>
  HRESULT Text(const VARIANT& child, BSTR* out, OfNode ofNode, OfSlot ofSlot) const {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (child.vt == VT_I4 && child.lVal == 0) {
      *out = Bstr(ofNode(*this));
      return S_OK;
    }
    const Slot* slot = SlotOf(child);
    if (slot == nullptr) return E_INVALIDARG;
    *out = Bstr(ofSlot(*slot));
    return S_OK;
  }

  HRESULT Empty(const VARIANT& child, BSTR* out) const {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!(child.vt == VT_I4 && child.lVal == 0) && SlotOf(child) == nullptr) return E_INVALIDARG;
    return S_FALSE;
  }

  template <typename OfNode, typename OfSlot>
  HRESULT Number(const VARIANT& child, VARIANT* out, OfNode ofNode, OfSlot ofSlot) const {
    if (out == nullptr) return E_POINTER;
    VariantInit(out);
    LONG value = 0;
    if (child.vt == VT_I4 && child.lVal == 0) {
      value = ofNode(*this);
    } else {
      const Slot* slot = SlotOf(child);
      if (slot == nullptr) return E_INVALIDARG;
      value = ofSlot(*slot);
    }
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
  }

  ULONG refs_ = 1;
  size_t cursor_ = 0;
};

ComPtr<Node> MakeNode(std::wstring name, LONG role, LONG state, bool enumerates, RECT place) {
  ComPtr<Node> node;
  node.Attach(new Node(std::move(name), role, state, enumerates, place));
  return node;
}

// The tree: the window object, its seven standard children, and below the
// client object the panels that the two locator paths lead through.
struct Tree {
  ComPtr<Node> window;
  Node* client = nullptr;
  Node* chat = nullptr;  // the chat panel: its first child leads to the chat title

  void Build(HWND hwnd, const std::wstring& account) {
    RECT frame{};
    GetWindowRect(hwnd, &frame);
    const LONG w = frame.right - frame.left, h = frame.bottom - frame.top;
    wchar_t caption[256] = {};
    GetWindowTextW(hwnd, caption, 256);
    const std::wstring title = caption;
    window = MakeNode(title, kRoleWindow, STATE_SYSTEM_FOCUSABLE, true,
                      {0, 0, w, h});
    window->window_ = hwnd;
    const LONG invisible = STATE_SYSTEM_INVISIBLE;
    window->Add(MakeNode(L"系统", kRoleMenuBar, 0, false, {4, 4, 26, 26}));
    window->Add(MakeNode(title, kRoleTitleBar, STATE_SYSTEM_FOCUSABLE, false,
                         {0, 0, w, 30}));
    window->Add(MakeNode(L"应用程序", kRoleMenuBar, invisible, false, {0, 30, w, 30}));
    client = window->Add(MakeNode(title, kRoleClient, 0, false,
                                  {0, 30, w, h}));
    client->window_ = hwnd;
    window->Add(MakeNode(L"垂直", kRoleScrollBar, invisible, false, {w, 30, w, h}));
    window->Add(MakeNode(L"水平", kRoleScrollBar, invisible, false, {0, h, w, h}));
    window->Add(MakeNode(L"", kRoleGrip, invisible, false, {w, h, w, h}));

    // client >#1 main panel >#2 body; body >#1 account bar >#1 the account name
    // (a simple child); body >#3 chat panel >#1 x10 the chat title.
    Node* main = client->Add(MakeNode(L"", kRoleGroup, 0, true, {0, 30, w, h}));
    Node* navigation = main->Add(MakeNode(L"导航", kRoleGroup, 0, false, {0, 30, 60, h}));
    navigation->AddSimple(L"聊天", kRoleButton);
    navigation->AddSimple(L"通讯录", kRoleButton);
    Node* body = main->Add(MakeNode(L"", kRoleGroup, 0, false, {60, 30, w, h}));
    Node* accountBar = body->Add(MakeNode(L"", kRoleGroup, 0, true, {60, 30, 300, 60}));
    accountBar->AddSimple(account, kRoleStaticText);
    accountBar->AddSimple(L"设置", kRoleButton);
    Node* sessions = body->Add(MakeNode(L"会话", kRoleList, 0, true, {60, 60, 300, h}));
    sessions->AddSimple(L"文件传输助手", kRoleListItem);
    chat = body->Add(MakeNode(L"", kRoleGroup, 0, false, {300, 30, w, h}));
  }

  void OpenChat(const std::wstring& partner) {
    chat->children_.clear();
    Node* level = chat;
    RECT place = chat->place_;
    for (int i = 1; i <= 10; ++i) {
      place.top += 2;
      const bool last = i == 10;
      Node* next = level->Add(MakeNode(last ? partner : L"", last ? kRoleStaticText : kRoleGroup,
                                       0, i % 2 == 1, place));
      if (!last) level->AddSimple(i == 9 ? L"消息" : L"", kRoleGroup);
      level = next;
    }
    chat->AddSimple(L"输入", kRoleEditable);
  }

  // With no chat open the chat panel is empty: the path ends there.
  void CloseChat() { chat->children_.clear(); }
};

std::string ToCp936(const std::wstring& text) {
  const int n = WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n,
                        nullptr, nullptr);
  }
  return bytes;
}

class StandIn {
 public:
  std::wstring account_ = L"stand-in";
  std::wstring chatPartner_;
  std::wstring logPath_;
  Tree tree_;
  HWND window_ = nullptr;
  HWND input_ = nullptr;
  WNDPROC editProc_ = nullptr;
  SIZE picture_{-1, -1};  // the pasted picture waiting to be sent

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<StandIn*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->OnMessage(hwnd, message, wParam, lParam)
                : DefWindowProcW(hwnd, message, wParam, lParam);
  }

  static LRESULT CALLBACK InputProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<StandIn*>(GetWindowLongPtrW(GetParent(hwnd), GWLP_USERDATA));
    switch (message) {
      case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
          self->Send();
          return 0;
        }
        break;
      case WM_CHAR:
        if (wParam == L'\r' || wParam == L'\n') return 0;
        break;
      case WM_PASTE:
        self->PastePicture();
        if (!IsClipboardFormatAvailable(CF_TEXT) && !IsClipboardFormatAvailable(CF_UNICODETEXT)) {
          return 0;
        }
        break;
    }
    return CallWindowProcW(self->editProc_, hwnd, message, wParam, lParam);
  }

  LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_CREATE:
        window_ = hwnd;
        Node::MainWindow() = hwnd;
        input_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                 WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 310, 520,
                                 560, 80, hwnd, nullptr, nullptr, nullptr);
        editProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(input_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&InputProc)));
        tree_.Build(hwnd, account_);
        if (!chatPartner_.empty()) tree_.OpenChat(chatPartner_);
        return 0;
      case WM_SETFOCUS:
        SetFocus(input_);
        return 0;
      case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == OBJID_WINDOW && tree_.window) {
          return LresultFromObject(tvx::AccessibleIid(), wParam,
                                   static_cast<IAccessible*>(tree_.window.Get()));
        }
        if (static_cast<LONG>(lParam) == OBJID_CLIENT && tree_.client) {
          return LresultFromObject(tvx::AccessibleIid(), wParam,
                                   static_cast<IAccessible*>(tree_.client));
        }
        break;
      case WM_COPYDATA:
        return OnCommand(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  LRESULT OnCommand(const COPYDATASTRUCT& data) {
    switch (data.dwData) {
      case tvx::standin::kOpenChat:
        chatPartner_.assign(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
        tree_.OpenChat(chatPartner_);
        return 1;
      case tvx::standin::kCloseChat:
        chatPartner_.clear();
        tree_.CloseChat();
        return 1;
      case tvx::standin::kCallCount:
        return static_cast<LRESULT>(g_calls);
      case tvx::standin::kResetCallCount:
        g_calls = 0;
        return 1;
    }
    return 0;
  }

  void PastePicture() {
    if (!IsClipboardFormatAvailable(CF_BITMAP) || !OpenClipboard(window_)) return;
    if (auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
      BITMAP info{};
      if (GetObjectW(bitmap, sizeof info, &info) != 0) picture_ = {info.bmWidth, info.bmHeight};
    }
    CloseClipboard();
  }

  void Send() {
    const int length = GetWindowTextLengthW(input_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(input_, text.data(), length + 1)));
    std::string lines;
    if (!text.empty()) {
      std::string escaped;
      const std::string bytes = ToCp936(text);
      for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\\') {
          escaped += "\\\\";
        } else if (c == '\r') {
          escaped += "\\n";
          if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else if (c == '\n') {
          escaped += "\\n";
        } else {
          escaped += c;
        }
      }
      lines += escaped + "\r\n";
    }
    if (picture_.cx >= 0) {
      lines += "bitmap " + std::to_string(picture_.cx) + "x" + std::to_string(picture_.cy) + "\r\n";
    }
    SetWindowTextW(input_, L"");
    picture_ = {-1, -1};
    if (lines.empty() || logPath_.empty()) return;
    HANDLE file = CreateFileW(logPath_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
    CloseHandle(file);
  }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  if (FAILED(OleInitialize(nullptr))) return 3;
  StandIn standIn;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring windowClassName = tvx::standin::kWindowClass;
  std::wstring title = tvx::standin::kWindowTitle;
  DWORD visible = WS_VISIBLE;
  for (int i = 1; argv != nullptr && i < argc; ++i) {
    const std::wstring option = argv[i];
    if (option == L"--hidden") {
      visible = 0;
      continue;
    }
    if (i + 1 >= argc) break;
    const wchar_t* value = argv[++i];
    if (option == L"--account") standIn.account_ = value;
    if (option == L"--chat") standIn.chatPartner_ = value;
    if (option == L"--log") standIn.logPath_ = value;
    if (option == L"--class") windowClassName = value;
    if (option == L"--title") title = value;
  }
  LocalFree(argv);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &StandIn::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = windowClassName.c_str();
  if (!RegisterClassExW(&windowClass)) return 4;
  HWND window = CreateWindowExW(0, windowClassName.c_str(), title.c_str(),
                                WS_OVERLAPPEDWINDOW | visible, 200, 100, 900, 640, nullptr,
                                nullptr, instance, &standIn);
  if (window == nullptr) return 5;
  if (visible) SetForegroundWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  OleUninitialize();
  return 0;
}
