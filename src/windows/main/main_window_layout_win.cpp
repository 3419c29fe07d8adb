// The main window built: its frame, menus and controls, scaled for the window's DPI and
// again whenever it changes.
#include "windows/main/main_window_win.h"

#include "ui/application_win.h"
#include "ui/dpi_win.h"
#include "util/texts.h"
#include "windows/main/main_menu_win.h"
#include "windows/main/main_window_messages_win.h"

namespace lvn {

namespace {

// Single fixed border with only the system-menu box: no resizing, minimising or maximising.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

constexpr int32_t kLayoutTimerPeriod = 3000;  // until the settings set CheckInterval

HICON MainIcon(int size_metric_x, int size_metric_y) {
  return static_cast<HICON>(::LoadImageW(ui::ApplicationInstance(), L"MAINICON", IMAGE_ICON,
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
  dpi_ = ui::DpiOf(Handle());
  // Made without fonts: ApplyDpi gives every control its font for the window's DPI.
  if (!controls_.Create(Handle(), dpi_)) return false;
  // The strip paints into Status, and the grid's current row shows in it.
  StatusStrip = std::make_unique<TStatus>(&controls_.Status, dpi_);
  if (!history_grid_.Create(Handle(), StatusStrip.get())) return false;
  // The icon's notifications reach the hidden edit and come on as kMsgTrayNotification; its
  // picture comes with the window's DPI.
  if (!tray_.Create(controls_.TaskTrayIbent, nullptr, kMsgTrayNotification)) return false;
  scheduler_.Attach(Handle());
  scheduler_.SetPeriod(kLayoutTimerPeriod);
  return ApplyDpi(dpi_, nullptr);
}

bool TfrmMain::ApplyDpi(UINT dpi, const POINT* top_left) {
  MainControls::Scaled scaled;
  if (!MainControls::Scale(dpi, &scaled)) return false;
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
  if (!controls_.Apply(self, dpi, &scaled)) return false;
  history_grid_.SetDpi(dpi);
  StatusStrip->SetDpi(dpi);
  if (controls_.SmallIcon() != nullptr) tray_.SetIcon(controls_.SmallIcon());
  return true;
}

}  // namespace lvn
