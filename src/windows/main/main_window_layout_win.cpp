// The main window built from its layout: the controls, their fonts, the menus and the icon.
#include "windows/main/main_window_win.h"

#include "windows/main/main_window_ids.h"
#include "desktop/status_layout.h"
#include "desktop/tray_win.h"
#include "ui/application_win.h"
#include "ui/controls_win.h"
#include "util/texts.h"

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

HMENU BuildMainMenu() {
  HMENU file = ::CreatePopupMenu();
  ::AppendMenuA(file, MF_STRING, kCmdOpenFolder, texts::kMenuOpenFolder);
  ::AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(file, MF_STRING, kCmdExitApp, texts::kMenuExit);
  HMENU settings = ::CreatePopupMenu();
  ::AppendMenuA(settings, MF_STRING, kCmdOptions, texts::kMenuOptions);
  HMENU help = ::CreatePopupMenu();
  ::AppendMenuA(help, MF_STRING, kCmdHelp, texts::kMenuHelpPage);
  ::AppendMenuA(help, MF_STRING, kCmdHomePage, texts::kMenuHomePage);
  ::AppendMenuA(help, MF_STRING, kCmdVersion, texts::kMenuVersion);
  HMENU bar = ::CreateMenu();
  ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), texts::kMenuFile);
  ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(settings), texts::kMenuSettings);
  ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), texts::kMenuHelp);
  return bar;
}

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

HWND& TfrmMain::ControlHandle(int id) {
  switch (id) {
    case kIdNowIp:
      return NowIp;
    case kIdUpdateTime:
      return UpdateTime;
    case kIdUpdate:
      return Update;
    default:
      return TaskTrayIbent;
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
        HWND control = ui::CreateControl(args);
        ControlHandle(entry.id) = control;
        made = control != nullptr;
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

  MainGrid.SetSource(this, kGridHeaderRows);
  MainGrid.on_select_cell = [this](int, int row) {
    ShowRowStatus(RowIndicatorText(row, MainGrid.RowCount()).c_str());
  };
  if (!grid_commands_.Create()) return false;
  // The address lines change at every check: drawn in one step, they do not flicker.
  ui::BufferControlPaint(NowIp);
  ui::BufferControlPaint(UpdateTime);
  // An IPv6 address and its check time are wider than the field at the design size.
  if (!now_ip_line_.Attach(NowIp, Handle(), kFonts[static_cast<int>(FontRole::kAddress)])) {
    return false;
  }
  MainGrid.on_key_down = [this](WORD& key, bool shift, bool ctrl, bool alt) {
    grid_commands_.OnKeyDown(key, shift, ctrl, alt);
  };
  MainGrid.on_context_menu = [this](POINT screen) { grid_commands_.OnContextMenu(screen); };
  RECT grip{0, 0, SizeChangeMark.CanvasWidth(), SizeChangeMark.CanvasHeight()};
  ::DrawFrameControl(SizeChangeMark.CanvasDc(), &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  // Notifications arrive as the callback message, posted to the hidden edit.
  ui::HookControl(TaskTrayIbent, [this](HWND, UINT message, WPARAM, LPARAM lparam, LRESULT* result) {
    if (message != kTrayCallbackMessage) return false;
    OnTrayNotification(static_cast<short>(LOWORD(lparam)));
    *result = 0;
    return true;
  });

  TaskBarPop.Reset(::CreatePopupMenu());
  ::AppendMenuA(TaskBarPop.Get(), MF_STRING, kCmdTrayExit, texts::kTrayExit);
  icon_ = MainIcon(SM_CXSMICON, SM_CYSMICON);
  SetTimerPeriod(kLayoutTimerPeriod);
  FormResize();
  return true;
}

}  // namespace lvn
