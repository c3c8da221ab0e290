#include "win32/main_form.h"

#include <commctrl.h>

#include <cstdlib>
#include <type_traits>

#include "win32/checked_list.h"
#include "win32/controls.h"
#include "win32/timers_menus.h"

namespace vekhor::win32 {
namespace {

using toolkit::ControlKind;

constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr UINT kActivateMessage = WM_APP + 1;
constexpr int kTitleIcon = 101;

HBRUSH BlackBrush() {
  return static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
}

LRESULT CALLBACK TrayHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* host = reinterpret_cast<TrayHostControl*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (host == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return host->HandleMessage(message, wParam, lParam);
}

void RegisterClasses(HINSTANCE instance, WNDPROC mainProc) {
  WNDCLASSEXW main{};
  main.cbSize = sizeof(main);
  main.lpfnWndProc = mainProc;
  main.hInstance = instance;
  main.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kTitleIcon), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXICON),
                                               ::GetSystemMetrics(SM_CYICON), LR_SHARED));
  main.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kTitleIcon), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  main.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  main.hbrBackground = BlackBrush();
  main.lpszClassName = MainForm::kClassName;
  ::RegisterClassExW(&main);

  WNDCLASSEXW tray{};
  tray.cbSize = sizeof(tray);
  tray.lpfnWndProc = &TrayHostProc;
  tray.hInstance = instance;
  tray.lpszClassName = TrayHostControl::kClassName;
  ::RegisterClassExW(&tray);
}

DWORD StyleOf(const toolkit::ControlLayout& layout) {
  // Overlapping siblings (the View log button over its check box) paint in their Z order.
  const DWORD child = WS_CHILD | WS_CLIPSIBLINGS;
  switch (layout.kind) {
    case ControlKind::OptionButton:
      return child | WS_TABSTOP | BS_RADIOBUTTON | BS_PUSHLIKE | BS_ICON;
    case ControlKind::Button:
      return child | WS_TABSTOP | BS_PUSHBUTTON;
    case ControlKind::CheckBox:
      return child | WS_TABSTOP | BS_3STATE;
    case ControlKind::Label:
      return child | SS_NOTIFY | SS_NOPREFIX |
             (layout.align == toolkit::TextAlign::Centre ? SS_CENTER : SS_LEFT);
    case ControlKind::TextField:
      return child | WS_TABSTOP | ES_AUTOHSCROLL;
    case ControlKind::CheckedList:
      return child | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL |
             LVS_SHOWSELALWAYS;
    case ControlKind::PictureBox:
      return child | SS_BITMAP;
    default:
      return child;
  }
}

const wchar_t* ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::OptionButton:
    case ControlKind::Button:
    case ControlKind::CheckBox:
      return WC_BUTTONW;
    case ControlKind::TextField:
      return WC_EDITW;
    case ControlKind::CheckedList:
      return WC_LISTVIEWW;
    case ControlKind::TrayHost:
      return TrayHostControl::kClassName;
    default:
      return WC_STATICW;
  }
}

}  // namespace

MainForm::MainForm(HINSTANCE instance) {
  context_.instance = instance;
  RegisterClasses(instance, &MainForm::WindowProc);
  // Made hidden and empty; it gets its size once it knows the DPI of the monitor it is on.
  // WM_NCCREATE has handed out the handle already; a window that Windows then fails to make (no
  // display under Wine) leaves it dangling: only the result tells.
  if (::CreateWindowExW(0, kClassName, L"", kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                        nullptr, nullptr, instance, this) == nullptr) {
    context_.main = nullptr;
    return;
  }
  context_.dpi = WindowDpi(context_.main);
  // The shell broadcasts it to top-level windows when the taskbar starts again.
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  // An elevated program would not hear it from the unelevated shell without this.
  ::ChangeWindowMessageFilterEx(context_.main, taskbarCreated_, MSGFLT_ALLOW, nullptr);
  SizeWindowForDpi(nullptr);
  CreateControls();
}

MainForm::~MainForm() {
  // The window goes first: its controls' procedures still reach their objects while it does.
  if (!unloaded_ && context_.main != nullptr) {
    unloaded_ = true;
    quitWhenDestroyed_ = false;  // no unload: nobody asked the program to end
    ::DestroyWindow(context_.main);
  }
}

template <class T>
T& MainForm::Get(toolkit::ControlId id) {
  const Slot& slot = slots_[static_cast<std::size_t>(id)];
  T* found = nullptr;
  if constexpr (std::is_same_v<T, toolkit::Timer>) {
    found = slot.timer;
  } else if constexpr (std::is_same_v<T, toolkit::PopupMenu>) {
    found = slot.menu;
  } else if constexpr (std::is_same_v<T, toolkit::MenuEntry>) {
    found = slot.entry;
  } else {
    found = dynamic_cast<T*>(slot.control);
  }
  if (found == nullptr) std::abort();  // asked for a control as a kind it is not
  return *found;
}

template <class T, class... Args>
T& MainForm::Add(const toolkit::ControlLayout& layout, Args&&... args) {
  auto holder = std::make_unique<Holder<T>>(std::forward<Args>(args)...);
  T& object = holder->object;
  owned_.push_back(std::move(holder));
  Slot& slot = slots_[static_cast<std::size_t>(layout.id)];
  if constexpr (std::is_base_of_v<toolkit::Control, T>) slot.control = &object;
  if constexpr (std::is_base_of_v<Placed, T>) slot.placed = &object;
  if constexpr (std::is_base_of_v<toolkit::Timer, T>) slot.timer = &object;
  if constexpr (std::is_base_of_v<toolkit::PopupMenu, T>) slot.menu = &object;
  if constexpr (std::is_base_of_v<toolkit::MenuEntry, T>) slot.entry = &object;
  return object;
}

toolkit::Label& MainForm::label(toolkit::ControlId id) {
  return Get<toolkit::Label>(id);
}
toolkit::Button& MainForm::button(toolkit::ControlId id) {
  return Get<toolkit::Button>(id);
}
toolkit::CheckBox& MainForm::checkBox(toolkit::ControlId id) {
  return Get<toolkit::CheckBox>(id);
}
toolkit::OptionButton& MainForm::optionButton(toolkit::ControlId id) {
  return Get<toolkit::OptionButton>(id);
}
toolkit::Frame& MainForm::frame(toolkit::ControlId id) {
  return Get<toolkit::Frame>(id);
}
toolkit::TextField& MainForm::textField(toolkit::ControlId id) {
  return Get<toolkit::TextField>(id);
}
toolkit::CheckedList& MainForm::checkedList(toolkit::ControlId id) {
  return Get<toolkit::CheckedList>(id);
}
toolkit::PictureBox& MainForm::pictureBox(toolkit::ControlId id) {
  return Get<toolkit::PictureBox>(id);
}
toolkit::TrayHost& MainForm::trayHost(toolkit::ControlId id) {
  return Get<toolkit::TrayHost>(id);
}
toolkit::Timer& MainForm::timer(toolkit::ControlId id) {
  return Get<toolkit::Timer>(id);
}
toolkit::PopupMenu& MainForm::popupMenu(toolkit::ControlId id) {
  return Get<toolkit::PopupMenu>(id);
}
toolkit::MenuEntry& MainForm::menuEntry(toolkit::ControlId id) {
  return Get<toolkit::MenuEntry>(id);
}

MainForm::Slot* MainForm::SlotOfIdentifier(int identifier) {
  const int index = identifier - toolkit::kFirstControlId;
  if (index < 0 || index >= toolkit::kControlCount) return nullptr;
  return &slots_[static_cast<std::size_t>(index)];
}

void MainForm::CreateControls() {
  for (const toolkit::ControlLayout& layout : toolkit::MainWindowLayout()) CreateControl(layout);
  // The first page button is down when the window is made.
  dynamic_cast<OptionButtonControl&>(Get<toolkit::OptionButton>(toolkit::ControlId::optSync0))
      .SetValue(true);
  controlsMade_ = true;
}

// Made where it goes and shown with its page: placing and showing each afterwards would cost a
// round of window changes more. One made after the start takes its place in the tab order, and
// in the order overlapping controls paint, right after the control before it in the layout.
HWND MainForm::CreateChild(const toolkit::ControlLayout& layout, const toolkit::TwipsRect& rect,
                           bool shown, const PageFrame* page) {
  const bool sunken =
      layout.kind == ControlKind::TextField || layout.kind == ControlKind::CheckedList;
  const toolkit::TwipsRect origin = page != nullptr ? page->Rect() : toolkit::TwipsRect{};
  const HWND child = ::CreateWindowExW(
      sunken ? WS_EX_CLIENTEDGE : 0, ClassOf(layout.kind), L"",
      StyleOf(layout) | (shown ? WS_VISIBLE : 0), context_.Pixels(origin.left + rect.left),
      context_.Pixels(origin.top + rect.top), context_.Pixels(rect.width),
      context_.Pixels(rect.height), context_.main,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdentifier(layout.id))),
      context_.instance, nullptr);
  if (child != nullptr && controlsMade_) {
    HWND before = HWND_TOP;
    for (const toolkit::ControlLayout& other : toolkit::MainWindowLayout()) {
      if (other.id == layout.id) break;
      const Placed* made = slots_[static_cast<std::size_t>(other.id)].placed;
      if (made != nullptr && made->Window() != nullptr) before = made->Window();
    }
    ::SetWindowPos(child, before, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  return child;
}

void MainForm::CreateControl(const toolkit::ControlLayout& layout) {
  const auto identifier = static_cast<UINT>(ControlIdentifier(layout.id));
  PageFrame* page = nullptr;
  if (layout.container != toolkit::ControlId::frmMain &&
      slots_[static_cast<std::size_t>(layout.container)].control != nullptr) {
    page = dynamic_cast<PageFrame*>(slots_[static_cast<std::size_t>(layout.container)].control);
  }
  // A page's controls are made when their page first shows, the window's own ones now.
  const WindowMaker child = [this, &layout, page](const toolkit::TwipsRect& rect, bool shown) {
    return CreateChild(layout, rect, shown, page);
  };
  Placed* placed = nullptr;
  switch (layout.kind) {
    case ControlKind::Window:
      return;
    case ControlKind::Frame:
      Add<PageFrame>(layout, layout);
      return;
    case ControlKind::OptionButton:
      placed = &Add<OptionButtonControl>(layout, context_, layout, page, child);
      break;
    case ControlKind::Button:
      placed = &Add<ButtonControl>(layout, context_, layout, page, child);
      break;
    case ControlKind::Label:
      placed = &Add<LabelControl>(layout, context_, layout, page, child);
      break;
    case ControlKind::CheckBox:
      placed = &Add<CheckBoxControl>(layout, context_, layout, page, child);
      break;
    case ControlKind::TextField:
      placed = &Add<TextFieldControl>(layout, context_, layout, page, child);
      break;
    case ControlKind::CheckedList:
      placed = &Add<CheckedListControl>(layout, context_, layout, page, child);
      break;
    case ControlKind::PictureBox:
      placed = &Add<PictureBoxControl>(layout, context_, layout, page, child);
      break;
    case ControlKind::TrayHost:
      placed = &Add<TrayHostControl>(layout, context_, layout, page, child);
      break;
    case ControlKind::Timer:
      Add<WindowTimer>(layout, context_.main, identifier);
      return;
    case ControlKind::PopupMenu:
      Add<WindowPopupMenu>(layout, context_.main);
      return;
    case ControlKind::MenuEntry: {
      auto& menu = dynamic_cast<WindowPopupMenu&>(Get<toolkit::PopupMenu>(layout.container));
      if (layout.caption == "-") {
        ::AppendMenuW(menu.Menu(), MF_SEPARATOR, identifier, nullptr);
      } else {
        ::AppendMenuA(menu.Menu(), MF_STRING, identifier, std::string(layout.caption).c_str());
      }
      Add<WindowMenuEntry>(layout, menu.Menu(), identifier);
      return;
    }
  }
  if (page != nullptr) page->Contain(*placed);
  if (page == nullptr) {
    placed->Make();
  } else {
    placed->UpdateShown();  // made if it shows
  }
}

void MainForm::SizeWindowForDpi(const RECT* suggested) {
  const SIZE outer = OuterSizeForClient(context_.Pixels(toolkit::kClientWidthTwips),
                                        context_.Pixels(toolkit::kClientHeightTwips), kWindowStyle,
                                        0, context_.dpi);
  POINT at{};
  RECT current{};
  if (suggested != nullptr) {
    at = {suggested->left, suggested->top};
  } else if (::IsWindowVisible(context_.main) && ::GetWindowRect(context_.main, &current)) {
    at = {current.left, current.top};
  } else {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(context_.main, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    at = {work.left + (work.right - work.left - outer.cx) / 2,
          work.top + (work.bottom - work.top - outer.cy) / 2};
  }
  ::SetWindowPos(context_.main, nullptr, at.x, at.y, outer.cx, outer.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame drawn may differ from the one computed (Wine draws it at the system's DPI): the
  // client area is what must come out exact.
  RECT client{};
  ::GetClientRect(context_.main, &client);
  const int wrongWidth = client.right - context_.Pixels(toolkit::kClientWidthTwips);
  const int wrongHeight = client.bottom - context_.Pixels(toolkit::kClientHeightTwips);
  if (wrongWidth != 0 || wrongHeight != 0) {
    ::SetWindowPos(context_.main, nullptr, 0, 0, outer.cx - wrongWidth, outer.cy - wrongHeight,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }
}

void MainForm::LayOut() {
  for (Slot& slot : slots_) {
    if (slot.placed == nullptr) continue;
    slot.placed->ApplyDpi();
    slot.placed->Place();
    slot.placed->UpdateShown();
  }
}

// The tips' window is made when the pointer first moves over a control, not at every start.
void MainForm::RelayToToolTips(MSG& message) {
  if (message.message < WM_MOUSEFIRST || message.message > WM_MOUSELAST ||
      context_.main == nullptr || ::GetParent(message.hwnd) != context_.main) {
    return;
  }
  if (context_.toolTips == nullptr) {
    context_.toolTips = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                          WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0,
                                          context_.main, nullptr, context_.instance, nullptr);
    if (context_.toolTips == nullptr) return;
    for (Slot& slot : slots_) {
      if (slot.placed != nullptr) slot.placed->AddToolTip();
    }
  }
  ::SendMessageW(context_.toolTips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

void MainForm::SetCaption(const std::string& title) {
  ::SetWindowTextA(context_.main, title.c_str());
}

void MainForm::SetVisible(bool visible) {
  ::ShowWindow(context_.main, visible ? SW_SHOW : SW_HIDE);
  // A control that draws only when seen learns that it is.
  for (Slot& slot : slots_) {
    if (auto* list = dynamic_cast<CheckedListControl*>(slot.control)) list->UpdateShown();
  }
}

bool MainForm::Visible() const {
  return ::IsWindowVisible(context_.main) != FALSE;
}

int MainForm::WindowState() const {
  if (::IsIconic(context_.main)) return toolkit::kWindowMinimised;
  return ::IsZoomed(context_.main) ? 2 : toolkit::kWindowNormal;
}

bool MainForm::RequestUnload(int mode) {
  if (unloaded_) return true;
  int cancel = 0;
  if (onQueryUnload) onQueryUnload(cancel, mode);
  if (cancel != 0) return false;
  if (onUnload) onUnload(cancel);
  if (cancel != 0) return false;
  unloaded_ = true;
  ::DestroyWindow(context_.main);
  return true;
}

LRESULT CALLBACK MainForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<MainForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->context_.main = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<MainForm*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return form->HandleMessage(message, wParam, lParam);
}

LRESULT MainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      Slot* slot = SlotOfIdentifier(static_cast<int>(header.idFrom));
      if (auto* list = slot != nullptr ? dynamic_cast<CheckedListControl*>(slot->control) : nullptr)
        list->Notified(header);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (const LRESULT brush =
              OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
        return brush;
      break;
    case WM_TIMER: {
      Slot* slot = SlotOfIdentifier(static_cast<int>(wParam));
      if (slot != nullptr && slot->timer != nullptr)
        static_cast<WindowTimer*>(slot->timer)->Ticked();
      return 0;
    }
    case WM_MOUSEMOVE:
      if (onMouseMove) {
        const MouseArguments at = ToMouseArguments(wParam, lParam, context_.dpi);
        onMouseMove(at.button, at.shift, at.x, at.y);
      }
      return 0;
    case WM_SIZE:
      if (onResize && !owned_.empty()) onResize();
      return 0;
    case WM_SHOWWINDOW:
      // Activation comes once the window is on screen, after whatever showed it has finished.
      if (wParam != FALSE) ::PostMessageW(context_.main, kActivateMessage, 0, 0);
      break;
    case kActivateMessage:
      if (onActivate && Visible()) onActivate();
      return 0;
    case WM_CLOSE:
      RequestUnload(toolkit::kUnloadFromControlMenu);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;  // nothing to ask the user: the unload stores all there is
    case WM_ENDSESSION:
      // The process is ended once this returns: the unload runs in full first.
      if (wParam != FALSE) RequestUnload(toolkit::kUnloadFromWindows);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_POWERBROADCAST:
      // Sent on every wake; the clock is most wrong then.
      if (wParam == PBT_APMRESUMEAUTOMATIC && onResume) onResume();
      return TRUE;
    case WM_DESTROY:
      if (quitWhenDestroyed_) ::PostQuitMessage(0);
      return 0;
    default:
      if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        if (onTaskbarCreated) onTaskbarCreated();
        return 0;
      }
      break;
  }
  return ::DefWindowProcW(context_.main, message, wParam, lParam);
}

void MainForm::OnCommand(WPARAM wParam, LPARAM lParam) {
  Slot* slot = SlotOfIdentifier(LOWORD(wParam));
  if (slot == nullptr) return;
  if (lParam == 0) {  // a menu entry
    if (slot->entry != nullptr) static_cast<WindowMenuEntry*>(slot->entry)->Clicked();
    return;
  }
  if (HIWORD(wParam) != BN_CLICKED) return;
  if (auto* button = dynamic_cast<ButtonControl*>(slot->control)) {
    button->Clicked();
  } else if (auto* box = dynamic_cast<CheckBoxControl*>(slot->control)) {
    box->Clicked();
  } else if (auto* option = dynamic_cast<OptionButtonControl*>(slot->control)) {
    // Graphical option buttons of one array: the clicked one goes down, the others up.
    for (Slot& other : slots_) {
      if (auto* each = dynamic_cast<OptionButtonControl*>(other.control))
        each->SetValue(each == option);
    }
    option->Clicked();
  }
}

LRESULT MainForm::OnControlColour(HDC dc, HWND control) {
  Slot* slot = SlotOfIdentifier(::GetDlgCtrlID(control));
  if (slot == nullptr || slot->control == nullptr) return 0;
  const int index = static_cast<int>(slot - slots_.data());
  const toolkit::ControlLayout& layout = toolkit::LayoutOf(static_cast<toolkit::ControlId>(index));
  toolkit::Color fore = layout.foreColor;
  if (auto* label = dynamic_cast<LabelControl*>(slot->control)) fore = label->ForeColor();
  if (fore != toolkit::kSystemColor) ::SetTextColor(dc, fore);
  ::SetBkColor(dc, toolkit::kBlack);
  // Everything stands on the black window: buttons' corners too.
  return reinterpret_cast<LRESULT>(BlackBrush());
}

void MainForm::OnDpiChanged(int dpi, const RECT* suggested) {
  context_.dpi = dpi;
  SizeWindowForDpi(suggested);
  LayOut();
  context_.fonts.DropAllBut(dpi);
}

}  // namespace vekhor::win32
