// The application object: instance, title, message loop and the standard display of an
// exception that reached the top of a call into our code.
#pragma once

#include <windows.h>

namespace lvn::ui {

void InitializeApplication(HINSTANCE instance);

// The calling thread's COM apartment (single-threaded), entered for the owner's life: the
// accessible objects of the controls are answered from it, through the message loop.
class ComApartment {
 public:
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool entered_ = false;
};
HINSTANCE ApplicationInstance();

// The title (UTF-8) message boxes and the tray icon show.
void SetApplicationTitle(const char* title);
const char* ApplicationTitle();

// Lets the keys move between the controls of a top-level window as in a dialog (Tab,
// arrows, mnemonics), or stops it; a window stops it before it is destroyed.
void UseDialogKeys(HWND window, bool use);

// Runs the message loop until WM_QUIT and returns its exit code, with dialog keys for the
// windows that use them.
int RunMessageLoop();

// A message box with the message (UTF-8) and the application title, as for an unhandled
// error.
void ShowExceptionMessage(const char* message);
// Shows what the exception currently being handled says; call only inside a catch block.
void ShowCurrentException() noexcept;

}  // namespace lvn::ui
