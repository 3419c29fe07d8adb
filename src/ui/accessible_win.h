// Active Accessibility for the controls we draw ourselves: an IAccessible that a control
// hands to screen readers (and to UI Automation, which maps it) through WM_GETOBJECT. The
// object asks the control for everything when asked and keeps nothing; its children are
// simple elements named by child id 1 .. count, never objects of their own.
//
// The object lives as long as a client holds it. Its control detaches it when its window
// goes; every call after that returns CO_E_OBJNOTCONNECTED and touches nothing of the
// control. The thread that answers WM_GETOBJECT must have entered a COM apartment
// (ui::ComApartment).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace lvn::ui {

// What the object asks its control, always on the control's thread. child is 1 .. count.
class AccessibleSource {
 public:
  // ROLE_SYSTEM_* of the control, and of every child.
  virtual long AccRole() const = 0;
  virtual long AccChildRole() const = 0;
  virtual long AccChildCount() const = 0;
  // UTF-8 text.
  virtual std::string AccChildName(long child) const = 0;
  // STATE_SYSTEM_* bits.
  virtual unsigned AccChildState(long child) const = 0;
  // The child's rectangle in the control's client coordinates; false when it has none.
  virtual bool AccChildRect(long child, RECT* client) const = 0;
  // The child at a point of the client area, 0 for none.
  virtual long AccChildAt(POINT client) const = 0;
  // The child that has the focus while the control has it, 0 when the control itself.
  virtual long AccFocusChild() const { return 0; }
  // The selected children, in order.
  virtual std::vector<long> AccSelectedChildren() const { return {}; }

 protected:
  ~AccessibleSource() = default;
};

// A control's end of its accessible object: made on the first WM_GETOBJECT, detached
// when the window goes or this ends, whichever is first.
class AccessibleLink {
 public:
  explicit AccessibleLink(const AccessibleSource* source) : source_(source) {}
  ~AccessibleLink() { Detach(); }
  AccessibleLink(const AccessibleLink&) = delete;
  AccessibleLink& operator=(const AccessibleLink&) = delete;

  // The answer to WM_GETOBJECT for OBJID_CLIENT; false for any other object, or when no
  // object can be made, and the message goes on to DefWindowProc.
  bool Answer(HWND window, WPARAM wparam, LPARAM lparam, LRESULT* result);
  // At WM_DESTROY: the object answers nothing more and clients let go of it.
  void Detach();

 private:
  const AccessibleSource* source_;
  // One reference, held while attached.
  class AccessibleObject* object_ = nullptr;
};

// Tells readers that something happened to a child (0: the control itself) of window's
// client object: EVENT_OBJECT_*.
void TellAccessEvent(HWND window, DWORD event, long child);

}  // namespace lvn::ui
