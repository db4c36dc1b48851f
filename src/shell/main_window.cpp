#include "shell/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "shell/resource.h"

namespace tvx {
namespace {

constexpr UINT kCodePage = 936;

// What kind of window a control is, and how it starts.
enum class Kind { kGroupBox, kLabel, kTransparentLabel, kCombo, kEdit, kMultiLineEdit, kRadio, kButton, kList };

struct ControlLook {
  ControlId id;
  Kind kind;
  const char* text;  // code page 936
  bool gbFont;       // the 14-pixel GB2312 font; the default GUI font otherwise
};

// In creation order (shell/layout.h holds the places, in the same order).
constexpr ControlLook kLooks[] = {
    {ControlId::分组框1, Kind::kGroupBox, "", false},
    {ControlId::标签3, Kind::kLabel, "当前微信：", true},
    {ControlId::组合框1, Kind::kCombo, "", false},
    {ControlId::标签4, Kind::kLabel, "←←多开可切换", true},
    {ControlId::标签5, Kind::kLabel, "点击↑↑刷新微信", false},
    {ControlId::标签1, Kind::kLabel, "好友微信：", true},
    {ControlId::编辑框_好友昵称, Kind::kEdit, "", true},
    {ControlId::单选框_左, Kind::kRadio, "左侧吸附", false},
    {ControlId::单选框_右, Kind::kRadio, "右侧吸附", false},
    {ControlId::标签2, Kind::kLabel, "信息需要自己手动备注,记得[保存]噢", true},
    {ControlId::编辑框_备注, Kind::kMultiLineEdit, "", true},
    {ControlId::透明标签1, Kind::kTransparentLabel, "", false},
    {ControlId::按钮1, Kind::kButton, "保存", false},
    {ControlId::分组框2, Kind::kGroupBox, "快捷回复", false},
    {ControlId::编辑框1, Kind::kMultiLineEdit, "", false},
    {ControlId::按钮_新增, Kind::kButton, "新增", false},
    {ControlId::编辑框_图片, Kind::kEdit, "图片拖到这里，支持JPEG、jpg、PNG格式，仅限一张图", false},
    {ControlId::超级列表框1, Kind::kList, "", false},
};
static_assert(std::size(kLooks) == std::size(kControlPlaces));

constexpr COLORREF kNicknameTextColour = RGB(255, 0, 0);  // 编辑框_好友昵称
constexpr COLORREF kPictureTextColour = RGB(255, 128, 0);  // 编辑框_图片
// What a drop-down combo box is given beyond its field when it is created or
// sized: its open list. Some systems take the field's own height out of it, so
// there is room for that above the 160 pixels the open list must have at least.
constexpr int kComboListHeight = 160 + 40;

struct ListColumnLook {
  const char* title;
  int width;
};
constexpr ListColumnLook kListColumns[] = {{"序号", 40}, {"内容", 240}, {"图片", 50}};

int WindowHeight(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r.bottom - r.top;
}

// Makes a drop-down combo box's field (its closed window) height pixels tall,
// whatever its font gives. The field follows the item height the box is given,
// plus its borders; some systems answer a different item height than was set,
// so the value set is corrected by what the field then measures.
void FitComboField(HWND combo, int height) {
  LRESULT item = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  if (item == CB_ERR) return;
  for (int attempt = 0; attempt < 3 && WindowHeight(combo) != height; ++attempt) {
    if (attempt > 0) item += height - WindowHeight(combo);
    if (item < 1) return;
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item);
  }
}

// A label with a transparent background lies on the remark box, which cannot
// paint through a sibling window. So the label keeps only the area its text
// covers: with no text it covers nothing, and the box shows through around it.
void FitTransparentLabel(HWND label) {
  RECT client{};
  GetClientRect(label, &client);
  RECT text = client;
  const int n = GetWindowTextLengthW(label);
  if (n > 0) {
    std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(label, buf.data(), n + 1);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    DrawTextW(dc, buf.c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
  } else {
    text = {0, 0, 0, 0};
  }
  // The system owns the region from here on.
  SetWindowRgn(label,
               CreateRectRgn(0, 0, std::min(text.right + 1, client.right),
                             std::min(text.bottom, client.bottom)),
               TRUE);
}

bool IsEditKind(Kind k) { return k == Kind::kEdit || k == Kind::kMultiLineEdit; }

Kind KindOf(ControlId id) {
  for (const ControlLook& l : kLooks)
    if (l.id == id) return l.kind;
  return Kind::kLabel;
}

// Esc closes the main window from wherever the focus is inside it. A thread hook
// sees every message any loop of the thread takes, so this holds inside event
// processing too; message boxes and menus are windows of their own and keep
// their own Esc.
HWND g_escapeWindow = nullptr;
HHOOK g_escapeHook = nullptr;

LRESULT CALLBACK EscapeHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && wp == PM_REMOVE && g_escapeWindow) {
    MSG* msg = reinterpret_cast<MSG*>(lp);
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE &&
        (msg->hwnd == g_escapeWindow || IsChild(g_escapeWindow, msg->hwnd))) {
      // An open drop-down list closes first, as usual.
      bool droppedCombo = GetDlgCtrlID(msg->hwnd) == Id(ControlId::组合框1) &&
                          SendMessageW(msg->hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0;
      if (!droppedCombo) {
        msg->message = WM_NULL;
        PostMessageW(g_escapeWindow, WM_CLOSE, 0, 0);
      }
    }
  }
  return CallNextHookEx(g_escapeHook, code, wp, lp);
}

}  // namespace

std::wstring WindowTextFromCp936(std::string_view text) {
  std::wstring wide;
  if (text.empty()) return wide;
  const int in = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(kCodePage, 0, text.data(), in, nullptr, 0);
  if (n <= 0) return wide;
  wide.resize(n);
  MultiByteToWideChar(kCodePage, 0, text.data(), in, wide.data(), n);
  return wide;
}

Text Cp936FromWindowText(std::wstring_view text) {
  Text out;
  if (text.empty()) return out;
  const int in = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(kCodePage, 0, text.data(), in, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return out;
  out.resize(n);
  WideCharToMultiByte(kCodePage, 0, text.data(), in, out.data(), n, nullptr, nullptr);
  return out;
}

HMENU CreateListMenu() {
  HMENU menu = CreatePopupMenu();
  const MenuCommand items[] = {MenuCommand::刷新, MenuCommand::删除, MenuCommand::编辑,
                               MenuCommand::清空内容, MenuCommand::打开文件};
  const char* titles[] = {"刷新", "删除", "编辑", "清空内容", "打开文件"};
  for (size_t i = 0; i < std::size(items); ++i) {
    if (i > 0) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, Id(items[i]), WindowTextFromCp936(titles[i]).c_str());
  }
  return menu;
}

HMENU CreateTrayMenu() {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, Id(MenuCommand::重新载入), WindowTextFromCp936("重新载入").c_str());
  return menu;
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

// ---- Creation ----

bool MainWindow::Create(HINSTANCE instance, MainWindowEvents& events) {
  instance_ = instance;
  events_ = &events;

  HICON icon = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_TOVANIX), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  trayIcon_.reset(icon);

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(instance, kMainWindowClass, &wc)) {
    wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &MainWindow::WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TOVANIX));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TOVANIX), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512) /* IDI_APPLICATION */);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainWindowClass;
    if (!RegisterClassExW(&wc)) return false;
  }

  listMenu_.reset(CreateListMenu());
  trayMenu_.reset(CreateTrayMenu());
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");

  const int left = (GetSystemMetrics(SM_CXSCREEN) - kMainWindowWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kMainWindowHeight) / 2;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  HWND hwnd = CreateWindowExW(WS_EX_APPWINDOW, kMainWindowClass, kMainWindowCaption, style, left,
                              top, kMainWindowWidth, kMainWindowHeight, nullptr, nullptr, instance,
                              this);
  if (!hwnd) return false;
  return true;
}

MainWindow::~MainWindow() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void MainWindow::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void MainWindow::Show(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
}

bool MainWindow::CreateControls() {
  guiFont_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW lf{};
  lf.lfHeight = -14;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = GB2312_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  lstrcpyW(lf.lfFaceName, L"\x5B8B\x4F53");  // 宋体, the system's GB2312 face
  gbFont_.reset(CreateFontIndirectW(&lf));

  for (size_t i = 0; i < std::size(kLooks); ++i) {
    const ControlLook& look = kLooks[i];
    const Place p = DesignClientPlace(look.id);
    const wchar_t* cls = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    int height = p.height;
    switch (look.kind) {
      case Kind::kGroupBox:
        cls = L"BUTTON";
        style |= BS_GROUPBOX;
        break;
      case Kind::kLabel:
        style |= SS_LEFT | SS_NOTIFY;
        break;
      case Kind::kTransparentLabel:
        style |= SS_LEFT;
        break;
      case Kind::kCombo:
        cls = WC_COMBOBOXW;
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
        height = p.height + kComboListHeight;  // the field plus its open list
        break;
      case Kind::kEdit:
        cls = L"EDIT";
        style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case Kind::kMultiLineEdit:
        cls = L"EDIT";
        style |= WS_TABSTOP | ES_LEFT | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case Kind::kRadio:
        cls = L"BUTTON";
        style |= WS_TABSTOP | BS_AUTORADIOBUTTON;
        break;
      case Kind::kButton:
        cls = L"BUTTON";
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
      case Kind::kList:
        cls = WC_LISTVIEWW;
        style |= WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    }
    // The radio pair is one group: 单选框_左 opens it, the next control closes it.
    if (look.id == ControlId::单选框_左 || look.id == ControlId::标签2) style |= WS_GROUP;
    // The remark box lies under the save button and the feedback label: it must
    // not paint over them.
    if (look.id == ControlId::编辑框_备注) style |= WS_CLIPSIBLINGS;

    HWND c = CreateWindowExW(exStyle, cls, WindowTextFromCp936(look.text).c_str(), style, p.left,
                             p.top, p.width, height, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id(look.id))), instance_,
                             nullptr);
    if (!c) return false;
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(look.gbFont && gbFont_ ? gbFont_.get() : guiFont_),
                 FALSE);
    if (look.kind == Kind::kMultiLineEdit) SendMessageW(c, EM_SETLIMITTEXT, 0, 0);
    if (look.kind == Kind::kTransparentLabel) FitTransparentLabel(c);
  }

  FitComboField(Control(ControlId::组合框1), DesignPlace(ControlId::组合框1).place.height);

  CheckRadioButton(hwnd_, Id(ControlId::单选框_左), Id(ControlId::单选框_右), Id(ControlId::单选框_右));

  HWND list = Control(ControlId::超级列表框1);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES,
               LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (size_t i = 0; i < std::size(kListColumns); ++i) {
    std::wstring title = WindowTextFromCp936(kListColumns[i].title);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.fmt = LVCFMT_LEFT;
    col.cx = kListColumns[i].width;
    col.pszText = title.data();
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
  }

  // Z-order, from the top: the controls in creation order (the group boxes at the
  // bottom), except that the remark box lies beneath the save button and the
  // feedback label that sit in its lower right corner.
  const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  HWND above = HWND_TOP;
  for (const ControlLook& look : kLooks) {
    if (look.kind == Kind::kGroupBox || look.id == ControlId::编辑框_备注) continue;
    SetWindowPos(Control(look.id), above, 0, 0, 0, 0, keep);
    above = Control(look.id);
    if (look.id == ControlId::按钮1) {
      SetWindowPos(Control(ControlId::编辑框_备注), above, 0, 0, 0, 0, keep);
      above = Control(ControlId::编辑框_备注);
    }
  }
  SetWindowPos(Control(ControlId::分组框1), HWND_BOTTOM, 0, 0, 0, 0, keep);
  SetWindowPos(Control(ControlId::分组框2), HWND_BOTTOM, 0, 0, 0, 0, keep);
  return true;
}

// ---- The window procedure ----

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  MainWindow* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  LRESULT result = self->HandleMessage(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      if (!CreateControls()) return -1;
      g_escapeWindow = hwnd_;
      if (!g_escapeHook)
        g_escapeHook = SetWindowsHookExW(WH_GETMESSAGE, EscapeHook, nullptr, GetCurrentThreadId());
      if (trayIcon_) {
        SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(trayIcon_.get()));
      }
      OnMainWindowResized();
      events_->OnCreated(*this);
      return 0;
    case WM_SIZE:
      if (wp != SIZE_MINIMIZED) OnMainWindowResized();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lp));
    case WM_CTLCOLOREDIT:
      return reinterpret_cast<LRESULT>(OnControlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), false));
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(OnControlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), true));
    case WM_TIMER:
      if (wp == kTimer时钟1) events_->OnTick(*this);
      return 0;
    case WM_APP_TRAY:
      switch (LOWORD(lp)) {
        case WM_LBUTTONUP: OnTrayEvent(TrayEventKind::kLeftButtonUp); break;
        case WM_LBUTTONDBLCLK: OnTrayEvent(TrayEventKind::kLeftDoubleClick); break;
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU: OnTrayEvent(TrayEventKind::kRightButtonUp); break;
        default: break;
      }
      return 0;
    case WM_ENDSESSION:
      // Windows is logging off or shutting down and will end the process without
      // destroying the window: close it now, so the shutdown sequence runs.
      if (wp) DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd_, kTimer时钟1);
      period_ = 0;
      // The icon goes with the window, so the task bar keeps no dead icon.
      RemoveTrayIcon();
      events_->OnDestroying(*this);
      return 0;
    case WM_NCDESTROY:
      if (g_escapeWindow == hwnd_) {
        g_escapeWindow = nullptr;
        if (g_escapeHook) UnhookWindowsHookEx(g_escapeHook);
        g_escapeHook = nullptr;
      }
      return DefWindowProcW(hwnd_, msg, wp, lp);
    default:
      if (taskbarCreated_ != 0 && msg == taskbarCreated_ && trayShown_) {
        trayShown_ = false;
        ShowTrayIcon();
        return 0;
      }
      return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

void MainWindow::OnCommand(int id, int code, HWND from) {
  if (from == nullptr) {  // a menu item
    if (id >= Id(MenuCommand::刷新) && id <= Id(MenuCommand::重新载入))
      events_->OnMenuCommand(*this, static_cast<MenuCommand>(id));
    return;
  }
  const ControlId control = static_cast<ControlId>(id);
  switch (code) {
    case EN_CHANGE:
      if (IsEditKind(KindOf(control)) && from != writingEdit_) events_->OnTextChanged(*this, control);
      break;
    case EN_SETFOCUS:
    case EN_KILLFOCUS:
      if (IsEditKind(KindOf(control))) events_->OnFocusChanged(*this, control, code == EN_SETFOCUS);
      break;
    case BN_CLICKED:  // == STN_CLICKED; only buttons are handed on
      if (KindOf(control) == Kind::kButton) events_->OnClicked(*this, control);
      break;
    case CBN_SELCHANGE:  // == STN_DBLCLK
      if (KindOf(control) == Kind::kCombo)
        events_->OnComboItemSelected(*this, control);
      else if (KindOf(control) == Kind::kLabel)
        events_->OnDoubleClicked(*this, control);
      break;
    default:
      break;
  }
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
  if (header.idFrom != static_cast<UINT_PTR>(Id(ControlId::超级列表框1))) return 0;
  switch (header.code) {
    case NM_DBLCLK:
      events_->OnListDoubleClicked(*this);
      break;
    case NM_RCLICK:
      OnListRightClick();
      return TRUE;
    default:
      break;
  }
  return 0;
}

HBRUSH MainWindow::OnControlColor(HDC dc, HWND control, bool isStatic) {
  const ControlId id = static_cast<ControlId>(GetDlgCtrlID(control));
  if (!isStatic) {
    if (id == ControlId::编辑框_好友昵称) SetTextColor(dc, kNicknameTextColour);
    if (id == ControlId::编辑框_图片) SetTextColor(dc, kPictureTextColour);
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
  }
  if (id == ControlId::透明标签1) {
    // Transparent: the text lies on the remark box beneath it, in the box's own
    // background (the label keeps no more area than its text needs).
    SetBkMode(dc, TRANSPARENT);
    return GetSysColorBrush(COLOR_WINDOW);
  }
  return reinterpret_cast<HBRUSH>(DefWindowProcW(hwnd_, isStatic ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                                                 reinterpret_cast<WPARAM>(dc),
                                                 reinterpret_cast<LPARAM>(control)));
}

// ---- Handlers of the window itself ----

void MainWindow::OnMainWindowResized() {
  if (!Control(ControlId::超级列表框1)) return;  // the size events of creation come first
  const std::int32_t windowHeight = WindowPlace().height;
  const std::int32_t group1 = GetPlace(ControlId::分组框1).height;
  const std::int32_t edit1 = GetPlace(ControlId::编辑框1).height;
  SetHeight(ControlId::分组框2, Group2HeightFor(windowHeight, group1, edit1));
  SetHeight(ControlId::超级列表框1, ListHeightFor(GetPlace(ControlId::分组框2).height, edit1));
}

void MainWindow::OnTrayEvent(TrayEventKind kind) {
  if (kind == TrayEventKind::kRightButtonUp) PopupMenu(trayMenu_.get());
}

void MainWindow::OnListRightClick() { PopupMenu(listMenu_.get()); }

void MainWindow::PopupMenu(HMENU menu) {
  if (!menu) return;
  POINT pt{};
  GetCursorPos(&pt);
  // A tray menu only closes on a click elsewhere when its owner is the foreground window.
  SetForegroundWindow(hwnd_);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, hwnd_, nullptr);
  PostMessageW(hwnd_, WM_NULL, 0, 0);
}

bool MainWindow::ShowTrayIcon() {
  if (trayShown_) return true;
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = hwnd_;
  nid.uID = kTrayIconId;
  nid.uFlags = NIF_MESSAGE | NIF_ICON;
  nid.uCallbackMessage = WM_APP_TRAY;
  nid.hIcon = trayIcon_ ? trayIcon_.get() : LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
  trayShown_ = Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
  return trayShown_;
}

void MainWindow::RemoveTrayIcon() {
  if (!trayShown_) return;
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = hwnd_;
  nid.uID = kTrayIconId;
  Shell_NotifyIconW(NIM_DELETE, &nid);
  trayShown_ = false;
}

// ---- Properties ----

HWND MainWindow::Control(ControlId id) const { return hwnd_ ? GetDlgItem(hwnd_, Id(id)) : nullptr; }

Text MainWindow::GetText(ControlId id) const {
  HWND c = Control(id);
  if (!c) return {};
  const int n = GetWindowTextLengthW(c);
  if (n <= 0) return {};
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(c, buf.data(), n + 1);
  buf.resize(got > 0 ? got : 0);
  return Cp936FromWindowText(buf);
}

void MainWindow::SetText(ControlId id, std::string_view text) {
  HWND c = Control(id);
  if (!c) return;
  const std::wstring wide = WindowTextFromCp936(text);
  if (!IsEditKind(KindOf(id))) {
    SetWindowTextW(c, wide.c_str());
    if (KindOf(id) == Kind::kTransparentLabel) FitTransparentLabel(c);
    return;
  }
  // The box's own notification of this write is swallowed, whether it comes or
  // not (multi-line boxes send none), and exactly one is raised afterwards.
  HWND outer = writingEdit_;
  writingEdit_ = c;
  SetWindowTextW(c, wide.c_str());
  writingEdit_ = outer;
  SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(Id(id), EN_CHANGE), reinterpret_cast<LPARAM>(c));
}

Place MainWindow::ClientPlaceOf(ControlId id) const {
  RECT r{};
  HWND c = Control(id);
  if (!c || !GetWindowRect(c, &r)) return {};
  MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Place MainWindow::GetPlace(ControlId id) const {
  Place p = ClientPlaceOf(id);
  if (IsInGroupBox(id)) {
    const Place group = ClientPlaceOf(DesignPlace(id).group);
    p.left -= group.left;
    p.top -= group.top;
  }
  return p;
}

void MainWindow::MoveControl(ControlId id, const Place& p) {
  SetWindowPos(Control(id), nullptr, p.left, p.top, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::SetPlace(ControlId id, const Place& place) {
  Place p = place;
  if (IsInGroupBox(id)) {
    const Place group = ClientPlaceOf(DesignPlace(id).group);
    p.left += group.left;
    p.top += group.top;
  }
  if (id == ControlId::组合框1) {
    // Its window is the field and the open list together; the place is the field.
    FitComboField(Control(id), p.height);
    p.height += kComboListHeight;
  }
  MoveControl(id, p);
}

void MainWindow::SetHeight(ControlId id, std::int32_t height) {
  Place p = GetPlace(id);
  p.height = height;
  SetPlace(id, p);
}

bool MainWindow::IsVisible(ControlId id) const {
  HWND c = Control(id);
  return c && (GetWindowLongPtrW(c, GWL_STYLE) & WS_VISIBLE) != 0;
}

void MainWindow::SetVisible(ControlId id, bool visible) {
  if (HWND c = Control(id)) ShowWindow(c, visible ? SW_SHOWNA : SW_HIDE);
}

bool MainWindow::IsChecked(ControlId id) const {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::SetChecked(ControlId id, bool checked) {
  if (checked && (id == ControlId::单选框_左 || id == ControlId::单选框_右)) {
    CheckRadioButton(hwnd_, Id(ControlId::单选框_左), Id(ControlId::单选框_右), Id(id));
  } else {
    SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

int MainWindow::CurrentItem() const {
  return static_cast<int>(SendMessageW(Control(ControlId::组合框1), CB_GETCURSEL, 0, 0));
}

void MainWindow::SetCurrentItem(int index) {
  SendMessageW(Control(ControlId::组合框1), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int MainWindow::SelectedIndex() const {
  return static_cast<int>(SendMessageW(Control(ControlId::超级列表框1), LVM_GETNEXTITEM,
                                       static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

void MainWindow::SetPeriod(std::int32_t ms) {
  if (ms < 0) ms = 0;
  if (ms == period_) return;  // the phase stays
  period_ = ms;
  if (ms == 0)
    KillTimer(hwnd_, kTimer时钟1);
  else
    SetTimer(hwnd_, kTimer时钟1, static_cast<UINT>(ms), nullptr);  // replaces a running one
}

Place MainWindow::WindowPlace() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void MainWindow::SetWindowLeft(std::int32_t left) {
  const Place p = WindowPlace();
  SetWindowPos(hwnd_, nullptr, left, p.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::SetWindowTop(std::int32_t top) {
  const Place p = WindowPlace();
  SetWindowPos(hwnd_, nullptr, p.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::SetWindowWidth(std::int32_t width) {
  const Place p = WindowPlace();
  SetWindowPos(hwnd_, nullptr, 0, 0, width, p.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::SetWindowHeight(std::int32_t height) {
  const Place p = WindowPlace();
  SetWindowPos(hwnd_, nullptr, 0, 0, p.width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::SetAlwaysOnTop(bool on) {
  SetWindowPos(hwnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace tvx
