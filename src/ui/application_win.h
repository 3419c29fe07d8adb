// The application object: instance, title, message loop and the standard display of an
// exception that reached the top of a call into our code.
#pragma once

#include <windows.h>

namespace lvn::ui {

void InitializeApplication(HINSTANCE instance);
HINSTANCE ApplicationInstance();

void SetApplicationTitle(const char* title);
const char* ApplicationTitle();

// Runs the message loop until WM_QUIT and returns its exit code. Keyboard navigation
// between the controls of dialog_window (Tab, mnemonics) is handled on the way.
int RunMessageLoop(HWND dialog_window = nullptr);

// A message box with the message and the application title, as for an unhandled error.
void ShowExceptionMessage(const char* message);
// Shows what the exception currently being handled says; call only inside a catch block.
void ShowCurrentException() noexcept;

}  // namespace lvn::ui
