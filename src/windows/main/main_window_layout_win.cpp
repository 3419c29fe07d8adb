// The main window built from its layout: the controls, their fonts, the menus and the icon,
// all scaled for the window's DPI and again whenever it changes; and the status strip laid
// out again for another lookup host.
#include "windows/main/main_window_win.h"

#include "ui/application_win.h"
#include "ui/controls_win.h"
#include "ui/dpi_win.h"
#include "util/text.h"
#include "util/texts.h"
#include "windows/main/main_menu_win.h"
#include "windows/main/main_window_ids.h"
#include "windows/main/main_window_messages_win.h"

namespace lvn {

namespace {

// Single fixed border with only the system-menu box: no resizing, minimising or maximising.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

constexpr int32_t kLayoutTimerPeriod = 3000;  // until the settings set CheckInterval
// The window's layout: its controls in tab order, with their names, places and fonts. The
// places are at 96 DPI.
enum class Kind { kFlatEdit, kButton, kGrid, kImage, kTransparentImage, kTrayTarget };
enum class FontRole { kDefault, kAddress, kGrid };
struct LayoutEntry {
  const char* name;
  Kind kind;
  int id;
  int x, y, width, height;
  const char* text;  // the Update button's comes from the interface language's texts
  FontRole font;
};
constexpr LayoutEntry kLayout[] = {
    {"NowIp", Kind::kFlatEdit, kIdNowIp, 4, 4, 337, 21, "", FontRole::kAddress},
    {"UpdateTime", Kind::kFlatEdit, kIdUpdateTime, 4, 32, 265, 21, "", FontRole::kAddress},
    {"Update", Kind::kButton, kIdUpdate, 272, 28, 69, 29, "", FontRole::kDefault},
    {"MainGrid", Kind::kGrid, kIdMainGrid, 5, 60, 336, 342, "", FontRole::kGrid},
    {"Status", Kind::kTransparentImage, kIdStatus, 3, 407, 314, 20, "", FontRole::kDefault},
    {"SizeChangeMark", Kind::kImage, 0, 328, 410, 13, 13, "", FontRole::kDefault},
    // Just below the client area: it only receives the tray icon's notifications.
    {"TaskTrayIbent", Kind::kTrayTarget, kIdTaskTrayIbent, 264, 432, 17, 20,
     "TaskTrayIbent", FontRole::kDefault},
};

DWORD ControlStyle(Kind kind) {
  switch (kind) {
    case Kind::kFlatEdit:
      return WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_READONLY | ES_AUTOHSCROLL;
    case Kind::kButton:
      return WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    case Kind::kTrayTarget:
      return WS_CHILD | WS_DISABLED | ES_READONLY;  // hidden, never focused
    default:
      return WS_CHILD | WS_VISIBLE;
  }
}

constexpr ui::FontSpec kFonts[] = {
    {"ＭＳ Ｐゴシック", -12},  // kDefault
    {"ＭＳ ゴシック", -15},    // kAddress
    {"ＭＳ Ｐゴシック", -15},  // kGrid
};

HICON MainIcon(int size_metric_x, int size_metric_y) {
  return static_cast<HICON>(::LoadImageW(ui::ApplicationInstance(), L"MAINICON", IMAGE_ICON,
                                         ::GetSystemMetrics(size_metric_x),
                                         ::GetSystemMetrics(size_metric_y), LR_SHARED));
}

// The icon in the size a display of dpi asks for: the frame of that size, not a stretched
// one. Not shared: a shared icon keeps the size it was first loaded in.
HICON MainIconForDpi(int size_metric_x, int size_metric_y, UINT dpi) {
  return static_cast<HICON>(::LoadImageW(ui::ApplicationInstance(), L"MAINICON", IMAGE_ICON,
                                         ui::MetricForDpi(size_metric_x, dpi),
                                         ui::MetricForDpi(size_metric_y, dpi), 0));
}

}  // namespace

bool TfrmMain::RegisterWindowClass() {
  ui::WindowClassArgs args;
  args.name = kClassName;
  args.icon = MainIcon(SM_CXICON, SM_CYICON);
  args.small_icon = MainIcon(SM_CXSMICON, SM_CYSMICON);
  return ui::Window::RegisterWindowClass(args);
}

HWND* TfrmMain::ControlHandle(int id) {
  switch (id) {
    case kIdNowIp:
      return &NowIp;
    case kIdUpdateTime:
      return &UpdateTime;
    case kIdUpdate:
      return &Update;
    case kIdTaskTrayIbent:
      return &TaskTrayIbent;
    default:
      return nullptr;
  }
}

ui::FrameArgs TfrmMain::Frame() const {
  ui::FrameArgs frame;
  frame.class_name = kClassName;
  frame.title = texts::Ui().AppTitle;
  frame.style = kStyle;
  frame.client_width = kClientWidth;
  frame.client_height = kClientHeight;
  frame.centred = true;
  frame.menu = Handle() != nullptr ? ::GetMenu(Handle()) : nullptr;
  return frame;
}

bool TfrmMain::BuildLayout() {
  ui::FrameArgs frame = Frame();
  frame.menu = BuildMainMenu();
  if (!CreateFrame(frame)) return false;
  HWND self = Handle();
  dpi_ = ui::DpiOf(self);

  // Made without fonts: ApplyDpi gives every control its font for the window's DPI.
  for (const LayoutEntry& entry : kLayout) {
    const ui::ChildPlace place = ui::ScaledPlace(entry, self, dpi_);
    HWND made = nullptr;
    switch (entry.kind) {
      case Kind::kFlatEdit:
      case Kind::kButton:
      case Kind::kTrayTarget: {
        ui::ControlArgs args{place};
        args.class_name = entry.kind == Kind::kButton ? "BUTTON" : "EDIT";
        args.text = entry.id == kIdUpdate ? texts::Ui().UpdateButton : entry.text;
        args.style = ControlStyle(entry.kind);
        HWND* member = ControlHandle(entry.id);
        // A control without a member to hold it is a mistake of the table.
        if (member == nullptr) return false;
        *member = ui::CreateControl(args);
        made = *member;
        break;
      }
      case Kind::kGrid: {
        ui::StringGridArgs grid{place};
        if (MainGrid.Create(grid)) made = MainGrid.Handle();
        break;
      }
      case Kind::kTransparentImage:
      case Kind::kImage: {
        ui::ImageArgs image{place};
        image.transparent = entry.kind == Kind::kTransparentImage;
        ui::Image& control = entry.kind == Kind::kImage ? SizeChangeMark : Status;
        if (control.Create(image)) made = control.Handle();
        break;
      }
    }
    if (made == nullptr) return false;
    layout_controls_.push_back(made);
  }

  if (!history_grid_.Create()) return false;
  // The address lines change at every check: drawn in one step, they do not flicker.
  ui::BufferControlPaint(NowIp);
  ui::BufferControlPaint(UpdateTime);
  // An IPv6 address and its check time are wider than the field at the design size.
  if (!now_ip_line_.Attach(NowIp, Handle(), kFonts[static_cast<int>(FontRole::kAddress)],
                           dpi_)) {
    return false;
  }
  // The icon's notifications reach the hidden edit and come on as kMsgTrayNotification; its
  // picture comes with the window's DPI.
  if (!tray_.Create(TaskTrayIbent, nullptr, kMsgTrayNotification)) return false;
  scheduler_.Attach(Handle(), kMsgLookupResult, kMsgNetworkChanged);
  scheduler_.SetPeriod(kLayoutTimerPeriod);
  return ApplyDpi(dpi_, nullptr);
}

bool TfrmMain::ApplyDpi(UINT dpi, const POINT* top_left) {
  ScopedFont fonts[std::size(kFonts)];
  for (std::size_t i = 0; i < std::size(kFonts); ++i) {
    fonts[i].Reset(ui::CreateUiFont(kFonts[i], dpi));
    if (!fonts[i]) return false;
  }
  ScopedIcon icons[] = {ScopedIcon(MainIconForDpi(SM_CXICON, SM_CYICON, dpi)),
                        ScopedIcon(MainIconForDpi(SM_CXSMICON, SM_CYSMICON, dpi))};
  dpi_ = dpi;
  HWND self = Handle();
  // One paint for the whole change, once everything has its new place and font.
  ui::RedrawPause pause(self);
  if (top_left != nullptr) {
    // Sized by the layout, not stretched from the old size.
    const SIZE size = ui::FrameSizeForDpi(Frame(), dpi);
    ::SetWindowPos(self, nullptr, top_left->x, top_left->y, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::SendMessageW(self, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[0].Get()), FALSE);
  for (std::size_t i = 0; i < std::size(kLayout) && i < layout_controls_.size(); ++i) {
    const LayoutEntry& entry = kLayout[i];
    const ui::ChildPlace place = ui::ScaledPlace(entry, self, dpi);
    ::SetWindowPos(layout_controls_[i], nullptr, place.x, place.y, place.width, place.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    const HFONT font = fonts[static_cast<int>(entry.font)].Get();
    switch (entry.kind) {
      case Kind::kGrid:
        MainGrid.SetFont(font);
        break;
      case Kind::kImage: {
        if (!SizeChangeMark.ResizeCanvas(place.width, place.height)) return false;
        RECT grip{0, 0, place.width, place.height};
        ::DrawFrameControl(SizeChangeMark.CanvasDc(), &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
        break;
      }
      case Kind::kTransparentImage:
        // The strip has no font of the window's; its own comes below.
        break;
      default:
        ::SendMessageW(layout_controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        break;
    }
  }
  history_grid_.SetDpi(dpi);
  now_ip_line_.SetDpi(dpi);
  if (StatusStrip) StatusStrip->SetDpi(dpi);
  if (icons[0]) {
    ::SendMessageW(self, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons[0].Get()));
  }
  if (icons[1]) {
    ::SendMessageW(self, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons[1].Get()));
    tray_.SetIcon(icons[1].Get());
  }
  // The window and its controls hold the new fonts and icons: the old ones may go.
  for (std::size_t i = 0; i < std::size(kFonts); ++i) fonts_[i] = std::move(fonts[i]);
  for (std::size_t i = 0; i < std::size(icons); ++i) {
    if (icons[i]) icons_[i] = std::move(icons[i]);
  }
  return true;
}

void TfrmMain::ChangeLookupUrl(const std::string& url) {
  CopyText(LookupUrl, url.c_str(), sizeof LookupUrl);
  UrlHost(LookupHost, LookupUrl, sizeof LookupHost);
  StatusStrip->LayoutFor(LookupHost);
  ShowIntervalStatus();
}

}  // namespace lvn
