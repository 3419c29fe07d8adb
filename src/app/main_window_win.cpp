#include "app/main_window_win.h"

#include "app/texts.h"
#include "ui/application_win.h"

namespace lvn {

namespace {

// Single fixed border with only the system-menu box: no resizing, minimising or maximising.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

}  // namespace

bool TfrmMain::RegisterWindowClass() {
  const HINSTANCE instance = ui::ApplicationInstance();
  ui::WindowClassArgs args;
  args.name = kClassName;
  args.icon = static_cast<HICON>(::LoadImageA(instance, "MAINICON", IMAGE_ICON,
                                              ::GetSystemMetrics(SM_CXICON),
                                              ::GetSystemMetrics(SM_CYICON), LR_SHARED));
  args.small_icon = static_cast<HICON>(::LoadImageA(instance, "MAINICON", IMAGE_ICON,
                                                    ::GetSystemMetrics(SM_CXSMICON),
                                                    ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  return ui::Window::RegisterWindowClass(args);
}

bool TfrmMain::Create() {
  ui::FrameArgs args;
  args.class_name = kClassName;
  args.title = texts::kAppTitle;
  args.style = kStyle;
  args.client_width = kClientWidth;
  args.client_height = kClientHeight;
  args.centred = true;
  return CreateFrame(args);
}

void TfrmMain::Show() {
  ::ShowWindow(Handle(), SW_SHOWNORMAL);
  ::UpdateWindow(Handle());
}

LRESULT TfrmMain::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_DESTROY:
      // The main window's end is the application's end.
      ::PostQuitMessage(0);
      return 0;
    default:
      return ui::Window::OnMessage(message, wparam, lparam);
  }
}

}  // namespace lvn
