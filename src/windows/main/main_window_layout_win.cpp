// The main window built from its layout: the controls, their fonts, the menus and the icon;
// and the status strip laid out again for another lookup host.
#include "windows/main/main_window_win.h"

#include "ui/application_win.h"
#include "ui/controls_win.h"
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
// The window's layout: its controls in tab order, with their names, places and fonts.
enum class Kind { kFlatEdit, kButton, kGrid, kImage, kTransparentImage, kTrayTarget };
enum class FontRole { kDefault, kAddress, kGrid };
struct LayoutEntry {
  const char* name;
  Kind kind;
  int id;
  int x, y, width, height;
  const char* text;
  FontRole font;
};
constexpr LayoutEntry kLayout[] = {
    {"NowIp", Kind::kFlatEdit, kIdNowIp, 4, 4, 337, 21, "", FontRole::kAddress},
    {"UpdateTime", Kind::kFlatEdit, kIdUpdateTime, 4, 32, 265, 21, "", FontRole::kAddress},
    {"Update", Kind::kButton, kIdUpdate, 272, 28, 69, 29, texts::kUpdateButton, FontRole::kDefault},
    {"MainGrid", Kind::kGrid, kIdMainGrid, 5, 60, 336, 342, "", FontRole::kGrid},
    {"Status", Kind::kTransparentImage, kIdStatus, 3, 407, 314, 20, "", FontRole::kDefault},
    {"SizeChangeMark", Kind::kImage, 0, 328, 410, 13, 13, "", FontRole::kDefault},
    // Just below the client area: it only receives the tray icon's notifications.
    {"TaskTrayIbent", Kind::kTrayTarget, kIdTaskTrayIbent, 264, 432, 17, 20,
     texts::kTrayTargetText, FontRole::kDefault},
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
  return static_cast<HICON>(::LoadImageA(ui::ApplicationInstance(), "MAINICON", IMAGE_ICON,
                                         ::GetSystemMetrics(size_metric_x),
                                         ::GetSystemMetrics(size_metric_y), LR_SHARED));
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

bool TfrmMain::BuildLayout() {
  ui::FrameArgs frame;
  frame.class_name = kClassName;
  frame.title = texts::kAppTitle;
  frame.style = kStyle;
  frame.client_width = kClientWidth;
  frame.client_height = kClientHeight;
  frame.centred = true;
  frame.menu = BuildMainMenu();
  if (!CreateFrame(frame)) return false;
  HWND self = Handle();

  for (std::size_t i = 0; i < std::size(kFonts); ++i) {
    fonts_[i].Reset(ui::CreateUiFont(kFonts[i]));
  }
  ::SendMessageA(self, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[0].Get()), FALSE);

  for (const LayoutEntry& entry : kLayout) {
    const HFONT font = fonts_[static_cast<int>(entry.font)].Get();
    const ui::ChildPlace place{self, entry.id, entry.x, entry.y, entry.width, entry.height};
    bool made = false;
    switch (entry.kind) {
      case Kind::kFlatEdit:
      case Kind::kButton:
      case Kind::kTrayTarget: {
        ui::ControlArgs args{place};
        args.class_name = entry.kind == Kind::kButton ? "BUTTON" : "EDIT";
        args.text = entry.text;
        args.style = ControlStyle(entry.kind);
        args.font = font;
        HWND* member = ControlHandle(entry.id);
        // A control without a member to hold it is a mistake of the table.
        if (member == nullptr) return false;
        *member = ui::CreateControl(args);
        made = *member != nullptr;
        break;
      }
      case Kind::kGrid: {
        ui::StringGridArgs grid{place};
        made = MainGrid.Create(grid);
        MainGrid.SetFont(font);
        break;
      }
      case Kind::kTransparentImage:
      case Kind::kImage: {
        ui::ImageArgs image{place};
        image.transparent = entry.kind == Kind::kTransparentImage;
        made = (entry.kind == Kind::kImage ? SizeChangeMark : Status).Create(image);
        break;
      }
    }
    if (!made) return false;
  }

  if (!history_grid_.Create()) return false;
  // The address lines change at every check: drawn in one step, they do not flicker.
  ui::BufferControlPaint(NowIp);
  ui::BufferControlPaint(UpdateTime);
  // An IPv6 address and its check time are wider than the field at the design size.
  if (!now_ip_line_.Attach(NowIp, Handle(), kFonts[static_cast<int>(FontRole::kAddress)])) {
    return false;
  }
  RECT grip{0, 0, SizeChangeMark.CanvasWidth(), SizeChangeMark.CanvasHeight()};
  ::DrawFrameControl(SizeChangeMark.CanvasDc(), &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  // The icon's notifications reach the hidden edit and come on as kMsgTrayNotification.
  if (!tray_.Create(TaskTrayIbent, MainIcon(SM_CXSMICON, SM_CYSMICON), kMsgTrayNotification)) {
    return false;
  }
  scheduler_.Attach(Handle(), kMsgLookupResult, kMsgNetworkChanged);
  scheduler_.SetPeriod(kLayoutTimerPeriod);
  history_grid_.FitColumns();
  return true;
}

void TfrmMain::ChangeLookupUrl(const std::string& url) {
  CopyText(LookupUrl, url.c_str(), sizeof LookupUrl);
  UrlHost(LookupHost, LookupUrl, sizeof LookupHost);
  StatusStrip->LayoutFor(LookupHost);
  ShowIntervalStatus();
}

}  // namespace lvn
