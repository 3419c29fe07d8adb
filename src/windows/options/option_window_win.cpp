#include "windows/options/option_window_win.h"

#include <commctrl.h>

#include "settings/settings.h"
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

// The window's layout, its controls in tab order, at 96 DPI. Places inside a group box are
// the box's place plus the control's place in it.
enum class Kind { kTree, kGroup, kList, kCheck, kButton, kLabel };
enum class FontRole { kWindow, kLarge };
struct LayoutEntry {
  Kind kind;
  int id;
  int x, y, width, height;
  const char* texts::Texts::*text;  // none: null
  FontRole font;
};
constexpr int kGroup1X = 88, kGroup1Y = 16, kGroup2X = 88, kGroup2Y = 80;
// The language choice, beside the interval's box.
constexpr int kLanguageX = 272, kLanguageWidth = 89;
// A drop-down list's height is the field's and its opened list's together.
constexpr int kListDropHeight = 200;
constexpr LayoutEntry kLayout[] = {
    {Kind::kTree, kIdSectionTree, 0, 8, 73, 193, nullptr, FontRole::kLarge},
    {Kind::kGroup, kIdIntervalGroup, kGroup1X, kGroup1Y, 177, 49, &texts::Texts::OptionIntervalGroup,
     FontRole::kWindow},
    {Kind::kList, kIdIntervalCombo, kGroup1X + 8, kGroup1Y + 21, 113, kListDropHeight, nullptr,
     FontRole::kLarge},
    {Kind::kLabel, kIdLanguageLabel, kLanguageX, kGroup1Y, kLanguageWidth, 14,
     &texts::Texts::OptionLanguageLabel, FontRole::kWindow},
    {Kind::kList, kIdLanguageCombo, kLanguageX, kGroup1Y + 21, kLanguageWidth, kListDropHeight,
     nullptr, FontRole::kLarge},
    {Kind::kLabel, kIdLanguageNote, kLanguageX, kGroup1Y + 48, kLanguageWidth, 14,
     &texts::Texts::OptionLanguageNote, FontRole::kWindow},
    {Kind::kGroup, kIdViewGroup, kGroup2X, kGroup2Y, 273, 121, &texts::Texts::OptionViewGroup,
     FontRole::kWindow},
    {Kind::kCheck, kIdViewCheck, kGroup2X + 8, kGroup2Y + 16, 249, 33,
     &texts::Texts::OptionViewCheckStart, FontRole::kWindow},
    {Kind::kCheck, kIdViewConnect, kGroup2X + 8, kGroup2Y + 48, 249, 33,
     &texts::Texts::OptionViewConnectError, FontRole::kWindow},
    {Kind::kCheck, kIdViewOff, kGroup2X + 8, kGroup2Y + 80, 249, 33, &texts::Texts::OptionViewOff,
     FontRole::kWindow},
};
// After every page's controls, so that Tab reaches it last.
constexpr LayoutEntry kOk{Kind::kButton, kIdOptionOk, 240, 208, 121, 25, &texts::Texts::OptionOk,
                          FontRole::kWindow};
// The 動作 page's controls, shown while it is chosen.
constexpr int kActionPage[] = {kIdIntervalGroup, kIdIntervalCombo, kIdLanguageLabel,
                               kIdLanguageCombo, kIdLanguageNote,  kIdViewGroup,
                               kIdViewCheck,     kIdViewConnect,   kIdViewOff};
// The language list after its automatic choice: each language by its own name, whatever the
// interface language, in the order of texts::LanguageChoiceOf.
constexpr const char* kLanguageNames[] = {"日本語", "English"};

constexpr ui::FontSpec kFonts[] = {
    {"ＭＳ Ｐゴシック", -12},  // kWindow
    {"ＭＳ Ｐゴシック", -15},  // kLarge
};

// At 96 DPI.
constexpr int kTreeIndent = 19;
constexpr int kListItemHeight = 15;

ui::ControlArgs ArgsFor(const LayoutEntry& entry, HWND parent, UINT dpi) {
  ui::ControlArgs args{ui::ScaledPlace(entry, parent, dpi)};
  args.text = entry.text != nullptr ? texts::Ui().*entry.text : "";
  switch (entry.kind) {
    case Kind::kTree:
      args.class_name = WC_TREEVIEWA;
      args.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | TVS_HASLINES |
                   TVS_LINESATROOT | TVS_SHOWSELALWAYS;
      args.ex_style = WS_EX_CLIENTEDGE;
      break;
    case Kind::kGroup:
      args.class_name = "BUTTON";
      args.style = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
      break;
    case Kind::kList:
      args.class_name = "COMBOBOX";
      args.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWNLIST;
      break;
    case Kind::kCheck:
      args.class_name = "BUTTON";
      args.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
      if (entry.id == kIdViewCheck) args.style |= WS_GROUP;
      break;
    case Kind::kButton:
      args.class_name = "BUTTON";
      args.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON;
      break;
    case Kind::kLabel:
      args.class_name = "STATIC";
      args.style = WS_CHILD | WS_VISIBLE | SS_LEFT;
      break;
  }
  return args;
}

// Made without a font: ApplyDpi gives every control its font for the window's DPI.
HWND CreateEntry(const LayoutEntry& entry, HWND parent, UINT dpi) {
  return ui::CreateControl(ArgsFor(entry, parent, dpi));
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

void AddListItem(HWND list, const char* text) {
  ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

int ListChoice(HWND list) { return static_cast<int>(::SendMessageW(list, CB_GETCURSEL, 0, 0)); }

bool Checked(HWND box) { return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND box, bool checked) {
  ::SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace

TfrmOption::~TfrmOption() {
  DestroyHandle();  // its WM_DESTROY tells the host, while this object is whole
}

bool TfrmOption::RegisterWindowClass() {
  ui::WindowClassArgs args;
  args.name = kClassName;
  return ui::Window::RegisterWindowClass(args);
}

bool TfrmOption::Create(HWND owner) {
  if (!CreateFrame(Frame(owner)) || !BuildLayout()) return false;
  ui::UseDialogKeys(Handle(), true);
  return true;
}

bool TfrmOption::BuildLayout() {
  dpi_ = ui::DpiOf(Handle());
  for (const LayoutEntry& entry : kLayout) {
    HWND control = CreateEntry(entry, Handle(), dpi_);
    if (control == nullptr) return false;
    switch (entry.id) {
      case kIdSectionTree: SectionTree = control; break;
      case kIdIntervalCombo: IntervalCombo = control; break;
      case kIdLanguageCombo: LanguageCombo = control; break;
      case kIdViewCheck: ViewCheck = control; break;
      case kIdViewConnect: ViewConnect = control; break;
      case kIdViewOff: ViewOff = control; break;
      default: break;
    }
  }
  if (!notify_page_.Create(Handle(), nullptr, dpi_, host_) ||
      !connection_page_.Create(Handle(), nullptr, dpi_, host_) ||
      CreateEntry(kOk, Handle(), dpi_) == nullptr) {
    return false;
  }

  action_item_ = AddSection(SectionTree, texts::Ui().OptionSection);
  notify_item_ = AddSection(SectionTree, texts::Ui().OptionNotifySection);
  connection_item_ = AddSection(SectionTree, texts::Ui().OptionConnectionSection);
  ::SendMessageW(SectionTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(action_item_));

  for (int i = 0; i < kIntervalChoiceCount; ++i) {
    AddListItem(IntervalCombo, IntervalChoiceText(i).c_str());
  }
  // An interval the list does not hold shows the nearest item and stays until a pick.
  ::SendMessageW(IntervalCombo, CB_SETCURSEL,
                 static_cast<WPARAM>(IntervalChoiceOf(host_->CurrentCheckInterval())), 0);
  AddListItem(LanguageCombo, texts::Ui().OptionLanguageAuto);
  for (const char* name : kLanguageNames) AddListItem(LanguageCombo, name);
  ::SendMessageW(LanguageCombo, CB_SETCURSEL, static_cast<WPARAM>(host_->LanguageChoice()), 0);

  const ViewSwitches views = host_->Views();
  SetChecked(ViewCheck, views.CheckStart);
  SetChecked(ViewConnect, views.ConnectError);
  SetChecked(ViewOff, views.Off);
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
  ::SendMessageW(self, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[0].Get()), FALSE);
  auto place = [&](const LayoutEntry& entry) {
    HWND control = ::GetDlgItem(self, entry.id);
    const ui::ChildPlace to = ui::ScaledPlace(entry, self, dpi);
    ::SetWindowPos(control, nullptr, to.x, to.y, to.width, to.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(control, WM_SETFONT,
                   reinterpret_cast<WPARAM>(fonts[static_cast<int>(entry.font)].Get()), FALSE);
  };
  for (const LayoutEntry& entry : kLayout) place(entry);
  place(kOk);
  notify_page_.ApplyDpi(fonts[0].Get(), dpi);
  connection_page_.ApplyDpi(fonts[0].Get(), dpi);
  ::SendMessageW(SectionTree, TVM_SETINDENT, static_cast<WPARAM>(ui::Scale(kTreeIndent, dpi)), 0);
  for (HWND list : {IntervalCombo, LanguageCombo}) {
    ::SendMessageW(list, CB_SETITEMHEIGHT, 0, ui::Scale(kListItemHeight, dpi));
  }
  // The controls hold the new fonts: the old ones may go.
  for (std::size_t i = 0; i < std::size(kFonts); ++i) fonts_[i] = std::move(fonts[i]);
  return true;
}

void TfrmOption::ShowPage(HTREEITEM section) {
  const bool action = section != notify_item_ && section != connection_item_;
  for (const int id : kActionPage) {
    ::ShowWindow(::GetDlgItem(Handle(), id), action ? SW_SHOWNA : SW_HIDE);
  }
  notify_page_.Show(section == notify_item_);
  connection_page_.Show(section == connection_item_);
}

void TfrmOption::Show() {
  ::ShowWindow(Handle(), SW_SHOWNORMAL);
  ::SetForegroundWindow(Handle());
  ::SetFocus(SectionTree);
}

void TfrmOption::IntervalComboChange() {
  host_->ChangeCheckInterval(IntervalOfChoice(ListChoice(IntervalCombo)));
}

void TfrmOption::LanguageComboChange() {
  const int choice = ListChoice(LanguageCombo);
  if (choice >= 0) host_->ChangeLanguageChoice(choice);
}

void TfrmOption::ViewClick(int id) {
  ViewSwitches views = host_->Views();
  HWND box = ::GetDlgItem(Handle(), id);
  switch (id) {
    case kIdViewCheck: views.CheckStart = Checked(box); break;
    case kIdViewConnect: views.ConnectError = Checked(box); break;
    default: views.Off = Checked(box); break;
  }
  host_->ChangeViews(views);
  ::SetFocus(box);
}

LRESULT TfrmOption::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      const UINT code = HIWORD(wparam);
      if (notify_page_.OnCommand(id, code) || connection_page_.OnCommand(id, code)) return 0;
      if (id == kIdIntervalCombo && code == CBN_SELCHANGE) {
        IntervalComboChange();
      } else if (id == kIdLanguageCombo && code == CBN_SELCHANGE) {
        LanguageComboChange();
      } else if ((id == kIdViewCheck || id == kIdViewConnect || id == kIdViewOff) &&
                 code == BN_CLICKED) {
        ViewClick(id);
      } else if (id == kIdOptionOk && code == BN_CLICKED) {
        // Enter in the field presses OK without leaving it. A command refused keeps the
        // window open, on the page whose field says why.
        if (!notify_page_.TakeCommand(true)) {
          ::SendMessageW(SectionTree, TVM_SELECTITEM, TVGN_CARET,
                         reinterpret_cast<LPARAM>(notify_item_));
          ::SetFocus(::GetDlgItem(Handle(), kIdCommandEdit));
          return 0;
        }
        // Closed once the click has been handled.
        ::PostMessageW(Handle(), WM_CLOSE, 0, 0);
      }
      return 0;
    }
    case WM_NOTIFY: {
      // Only the window's own tree notifies; a pointer from elsewhere is not followed.
      const auto* note = reinterpret_cast<const NMTREEVIEWW*>(lparam);
      if (!ui::IsReadableMemory(note, sizeof *note) || note->hdr.hwndFrom != SectionTree) {
        return 0;
      }
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
      } else {
        ::SetFocus(focus_ != nullptr && ::IsWindow(focus_) ? focus_ : SectionTree);
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
