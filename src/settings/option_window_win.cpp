#include "settings/option_window_win.h"

#include "app/texts.h"

namespace lvn {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

}  // namespace

bool TfrmOption::RegisterWindowClass() {
  ui::WindowClassArgs args;
  args.name = kClassName;
  return ui::Window::RegisterWindowClass(args);
}

bool TfrmOption::Create() {
  const SIZE size = ui::WindowSizeForClient(kClientWidth, kClientHeight, kStyle, 0, false);
  ui::CreateWindowArgs args;
  args.class_name = kClassName;
  args.title = texts::kOptionCaption;
  args.style = kStyle;
  args.x = kLeft;
  args.y = kTop;
  args.width = size.cx;
  args.height = size.cy;
  return CreateHandle(args);
}

}  // namespace lvn
