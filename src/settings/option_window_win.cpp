#include "settings/option_window_win.h"

#include "util/texts.h"

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
  ui::FrameArgs args;
  args.class_name = kClassName;
  args.title = texts::kOptionCaption;
  args.style = kStyle;
  args.client_width = kClientWidth;
  args.client_height = kClientHeight;
  args.x = kLeft;
  args.y = kTop;
  return CreateFrame(args);
}

}  // namespace lvn
