#include "windows/options/option_window_win.h"

#include <commctrl.h>

#include "ui/application_win.h"
#include "ui/controls_win.h"
#include "ui/dpi_win.h"
#include "util/texts.h"
#include "util/wide_text_win.h"

namespace lvn {

namespace {

// Not WS_CLIPCHILDREN: the group boxes are children that leave their inside to the window's
// own background.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

// The window's own controls at 96 DPI; each page places its own.
struct OwnEntry {
  int id;
  int x, y, width, height;
};
constexpr OwnEntry kTree{kIdSectionTree, 0, 8, 73, 193};
// After every page's controls, so that Tab reaches it last.
constexpr OwnEntry kOk{kIdOptionOk, 240, 208, 121, 25};

constexpr ui::FontSpec kFonts[] = {
    kOptionsFont,             // the window's
    {"ＭＳ Ｐゴシック", -15},  // the tree's and the lists'
};

// At 96 DPI.
constexpr int kTreeIndent = 19;

// Made without a font: ApplyDpi gives every control its font for the window's DPI.
HWND CreateTree(HWND parent, UINT dpi) {
  ui::ControlArgs args{ui::ScaledPlace(kTree, parent, dpi)};
  args.class_name = WC_TREEVIEWA;
  args.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | TVS_HASLINES | TVS_LINESATROOT |
               TVS_SHOWSELALWAYS;
  args.ex_style = WS_EX_CLIENTEDGE;
  return ui::CreateControl(args);
}

HWND CreateOk(HWND parent, UINT dpi) {
  ui::ControlArgs args{ui::ScaledPlace(kOk, parent, dpi)};
  args.class_name = "BUTTON";
  args.text = texts::Ui().OptionOk;
  args.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON;
  return ui::CreateControl(args);
}

void Place(HWND parent, const OwnEntry& entry, HFONT font, UINT dpi) {
  HWND control = ::GetDlgItem(parent, entry.id);
  const ui::ChildPlace to = ui::ScaledPlace(entry, parent, dpi);
  ::SetWindowPos(control, nullptr, to.x, to.y, to.width, to.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

HTREEITEM AddSection(HWND tree, const char* text) {
  std::wstring wide = Wide(text);
  TVINSERTSTRUCTW item{};
  item.hParent = TVI_ROOT;
  item.hInsertAfter = TVI_LAST;
  item.item.mask = TVIF_TEXT;
  item.item.pszText = wide.data();
  return reinterpret_cast<HTREEITEM>(
      ::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

}  // namespace

TfrmOption::~TfrmOption() {
  DestroyHandle();  // its WM_DESTROY tells the host, while this object is whole
}

bool TfrmOption::RegisterWindowClass() {
  ui::WindowClassArgs args;
  args.name = kClassName;
  return ui::Window::RegisterWindowClass(args) && TargetDialog::RegisterWindowClass();
}

bool TfrmOption::Create(HWND owner) {
  if (!CreateFrame(Frame(owner)) || !BuildLayout()) return false;
  ui::UseDialogKeys(Handle(), true);
  return true;
}

bool TfrmOption::BuildLayout() {
  dpi_ = ui::DpiOf(Handle());
  SectionTree = CreateTree(Handle(), dpi_);
  if (SectionTree == nullptr || !action_page_.Create(Handle(), dpi_, host_) ||
      !notify_page_.Create(Handle(), nullptr, dpi_, host_) ||
      !connection_page_.Create(Handle(), nullptr, dpi_, host_) ||
      !targets_page_.Create(Handle(), nullptr, dpi_, host_) || CreateOk(Handle(), dpi_) == nullptr) {
    return false;
  }

  action_item_ = AddSection(SectionTree, texts::Ui().OptionSection);
  notify_item_ = AddSection(SectionTree, texts::Ui().OptionNotifySection);
  connection_item_ = AddSection(SectionTree, texts::Ui().OptionConnectionSection);
  targets_item_ = AddSection(SectionTree, texts::Ui().OptionTargetsSection);
  ::SendMessageW(SectionTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(action_item_));
  return ApplyDpi(dpi_, nullptr);
}

ui::FrameArgs TfrmOption::Frame(HWND owner) const {
  ui::FrameArgs args;
  args.class_name = kClassName;
  args.title = texts::Ui().OptionCaption;
  args.style = kStyle;
  args.client_width = kClientWidth;
  args.client_height = kClientHeight;
  args.x = kLeft;
  args.y = kTop;
  args.owner = owner;
  return args;
}

bool TfrmOption::ApplyDpi(UINT dpi, const POINT* top_left) {
  ScopedFont fonts[std::size(kFonts)];
  for (std::size_t i = 0; i < std::size(kFonts); ++i) {
    fonts[i].Reset(ui::CreateUiFont(kFonts[i], dpi));
    if (!fonts[i]) return false;
  }
  dpi_ = dpi;
  HWND self = Handle();
  // One paint for the whole change, once everything has its new place and font.
  ui::RedrawPause pause(self);
  if (top_left != nullptr) {
    // Sized by the layout, not stretched from the old size.
    const SIZE size = ui::FrameSizeForDpi(Frame(nullptr), dpi);
    ::SetWindowPos(self, nullptr, top_left->x, top_left->y, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const HFONT font = fonts[0].Get(), large_font = fonts[1].Get();
  ::SendMessageW(self, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  Place(self, kTree, large_font, dpi);
  ::SendMessageW(SectionTree, TVM_SETINDENT, static_cast<WPARAM>(ui::Scale(kTreeIndent, dpi)), 0);
  action_page_.ApplyDpi(font, large_font, dpi);
  notify_page_.ApplyDpi(font, dpi);
  connection_page_.ApplyDpi(font, dpi);
  targets_page_.ApplyDpi(font, dpi);
  Place(self, kOk, font, dpi);
  // The controls hold the new fonts: the old ones may go.
  for (std::size_t i = 0; i < std::size(kFonts); ++i) fonts_[i] = std::move(fonts[i]);
  return true;
}

void TfrmOption::ShowPage(HTREEITEM section) {
  action_page_.Show(section != notify_item_ && section != connection_item_ &&
                    section != targets_item_);
  notify_page_.Show(section == notify_item_);
  connection_page_.Show(section == connection_item_);
  targets_page_.Show(section == targets_item_);
}

void TfrmOption::Show() {
  ::ShowWindow(Handle(), SW_SHOWNORMAL);
  ::SetForegroundWindow(Handle());
  ::SetFocus(SectionTree);
}

void TfrmOption::OkClick() {
  // Enter in the field presses OK without leaving it. A command refused keeps the window
  // open, on the page whose field says why.
  if (!notify_page_.TakeCommand(true)) {
    ::SendMessageW(SectionTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(notify_item_));
    ::SetFocus(::GetDlgItem(Handle(), kIdCommandEdit));
    return;
  }
  // Closed once the click has been handled.
  ::PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

LRESULT TfrmOption::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      const UINT code = HIWORD(wparam);
      if (action_page_.OnCommand(id, code) || notify_page_.OnCommand(id, code) ||
          connection_page_.OnCommand(id, code) || targets_page_.OnCommand(id, code)) {
        return 0;
      }
      if (id == kIdOptionOk && code == BN_CLICKED) OkClick();
      return 0;
    }
    case WM_NOTIFY: {
      // Only the window's own controls notify; a pointer from elsewhere is not followed.
      const auto* head = reinterpret_cast<const NMHDR*>(lparam);
      if (!ui::IsReadableMemory(head, sizeof *head)) return 0;
      if (head->hwndFrom != SectionTree) {
        targets_page_.OnNotify(*head);
        return 0;
      }
      const auto* note = reinterpret_cast<const NMTREEVIEWW*>(lparam);
      if (!ui::IsReadableMemory(note, sizeof *note)) return 0;
      if (note->hdr.idFrom == kIdSectionTree &&
          (note->hdr.code == TVN_SELCHANGEDA || note->hdr.code == TVN_SELCHANGEDW)) {
        ShowPage(note->itemNew.hItem);
      }
      return 0;
    }
    case WM_ACTIVATE:
      // As in a dialog: the control that had the focus gets it back.
      if (LOWORD(wparam) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(Handle(), focus)) focus_ = focus;
      } else if (!targets_page_.ActivateDialog()) {  // a target's dialog, open, comes first
        ::SetFocus(focus_ != nullptr && ::IsWindow(focus_) ? focus_ : SectionTree);
        // Back from a test send's box, or from elsewhere: the last results as they are now.
        targets_page_.Refresh();
      }
      return 0;
    case WM_TIMER:
      notify_page_.OnTimer(wparam);
      connection_page_.OnTimer(wparam);
      return 0;
    case WM_MOVE:
      // The balloon of a refused field would not move with the window.
      notify_page_.HideBalloon();
      connection_page_.HideBalloon();
      return 0;
    case WM_SHOWWINDOW:
      if (wparam == FALSE) {
        notify_page_.HideBalloon();
        connection_page_.HideBalloon();
      }
      targets_page_.OnWindowShown(wparam != FALSE);
      return ui::Window::OnMessage(message, wparam, lparam);
    case WM_DPICHANGED: {
      UINT dpi = 0;
      POINT top_left{};
      if (ui::SystemDpiChange(Handle(), wparam, lparam, dpi_, &dpi, &top_left)) {
        ApplyDpi(dpi, &top_left);
      }
      return 0;
    }
    case WM_DESTROY:
      ui::UseDialogKeys(Handle(), false);
      // Destroyed without being hidden first (the program exits), no field was left.
      notify_page_.TakeCommand(false);
      host_->OptionWindowClosed();
      return 0;
    default:
      return ui::Window::OnMessage(message, wparam, lparam);
  }
}

}  // namespace lvn
