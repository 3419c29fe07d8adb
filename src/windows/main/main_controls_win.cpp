#include "windows/main/main_controls_win.h"

#include <iterator>

#include "ui/application_win.h"
#include "ui/controls_win.h"
#include "ui/dpi_win.h"
#include "util/texts.h"
#include "windows/main/main_window_ids.h"

namespace lvn {
namespace {

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

// The icon in the size a display of dpi asks for: the frame of that size, not a stretched
// one. Not shared: a shared icon keeps the size it was first loaded in.
HICON MainIconForDpi(int size_metric_x, int size_metric_y, UINT dpi) {
  return static_cast<HICON>(::LoadImageW(ui::ApplicationInstance(), L"MAINICON", IMAGE_ICON,
                                         ui::MetricForDpi(size_metric_x, dpi),
                                         ui::MetricForDpi(size_metric_y, dpi), 0));
}

}  // namespace

HWND* MainControls::ControlHandle(int id) {
  switch (id) {
    case kIdNowIp: return &NowIp;
    case kIdUpdateTime: return &UpdateTime;
    case kIdUpdate: return &Update;
    case kIdTaskTrayIbent: return &TaskTrayIbent;
    default: return nullptr;
  }
}

bool MainControls::Create(HWND self, UINT dpi) {
  // Made without fonts: ApplyDpi gives every control its font for the window's DPI.
  for (const LayoutEntry& entry : kLayout) {
    const ui::ChildPlace place = ui::ScaledPlace(entry, self, dpi);
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

  // The address lines change at every check: drawn in one step, they do not flicker.
  ui::BufferControlPaint(NowIp);
  ui::BufferControlPaint(UpdateTime);
  // An IPv6 address and its check time are wider than the field at the design size.
  return NowIpLine.Attach(NowIp, self, kFonts[static_cast<int>(FontRole::kAddress)], dpi);
}

bool MainControls::Scale(UINT dpi, Scaled* scaled) {
  Scaled made{{}, {ScopedIcon(MainIconForDpi(SM_CXICON, SM_CYICON, dpi)),
                   ScopedIcon(MainIconForDpi(SM_CXSMICON, SM_CYSMICON, dpi))}};
  for (std::size_t i = 0; i < std::size(kFonts); ++i) {
    made.Fonts[i].Reset(ui::CreateUiFont(kFonts[i], dpi));
    if (!made.Fonts[i]) return false;
  }
  *scaled = std::move(made);
  return true;
}

bool MainControls::Apply(HWND self, UINT dpi, Scaled* scaled) {
  ScopedFont* fonts = scaled->Fonts;
  ScopedIcon* icons = scaled->Icons;
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
  NowIpLine.SetDpi(dpi);
  if (icons[0]) {
    ::SendMessageW(self, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons[0].Get()));
  }
  if (icons[1]) {
    ::SendMessageW(self, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons[1].Get()));
  }
  // The window and its controls hold the new fonts and icons: the old ones may go.
  for (std::size_t i = 0; i < std::size(kFonts); ++i) fonts_[i] = std::move(fonts[i]);
  for (std::size_t i = 0; i < std::size(icons_); ++i) {
    if (icons[i]) icons_[i] = std::move(icons[i]);
  }
  return true;
}

}  // namespace lvn
