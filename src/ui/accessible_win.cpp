#include "ui/accessible_win.h"

#include <ole2.h>
#include <oleacc.h>

#include <algorithm>
#include <new>
#include <utility>

#include "ui/com_parts_win.h"
#include "util/system_library_win.h"
#include "util/wide_text_win.h"

namespace lvn::ui {

class AccessibleObject;

namespace {

// oleacc.dll is no KnownDLL: taken from System32, once, as WinINet is.
using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using CreateStdAccessibleObjectFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);

struct Oleacc {
  LresultFromObjectFn lresult_from_object = nullptr;
  CreateStdAccessibleObjectFn create_std_accessible_object = nullptr;
};

const Oleacc& OleaccFunctions() {
  static const Oleacc functions = [] {
    Oleacc bound;
    const HMODULE module = LoadSystemLibrary("oleacc.dll");
    if (module != nullptr) {
      BindSystemFunction(module, "LresultFromObject", &bound.lresult_from_object);
      BindSystemFunction(module, "CreateStdAccessibleObject",
                         &bound.create_std_accessible_object);
    }
    return bound;
  }();
  return functions;
}

// A text as a BSTR; null for an empty text or when memory is short.
BSTR TextToBstr(const std::string& text) {
  const std::wstring wide = Wide(text);
  if (wide.empty()) return nullptr;
  return ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

}  // namespace

class AccessibleObject final : public ComObject<AccessibleObject, IAccessible, IDispatch> {
 public:
  AccessibleObject(HWND window, const AccessibleSource* source)
      : window_(window), source_(source) {}

  void Detach() {
    source_ = nullptr;
    window_ = nullptr;
  }

  // IDispatch: readers call IAccessible directly; there is no type library.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (parent == nullptr) return E_POINTER;
    *parent = nullptr;
    if (source_ == nullptr) return CO_E_OBJNOTCONNECTED;
    const auto create = OleaccFunctions().create_std_accessible_object;
    if (create == nullptr) return E_FAIL;
    return create(window_, OBJID_WINDOW, __uuidof(IDispatch), reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (count == nullptr) return E_POINTER;
    if (source_ == nullptr) return CO_E_OBJNOTCONNECTED;
    *count = source_->AccChildCount();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
    if (child == nullptr) return E_POINTER;
    *child = nullptr;
    long which = 0;
    const HRESULT checked = ChildOf(id, &which);
    if (FAILED(checked)) return checked;
    // Children are simple elements, answered through this object.
    return which == CHILDID_SELF ? E_INVALIDARG : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override {
    if (name == nullptr) return E_POINTER;
    *name = nullptr;
    long which = 0;
    const HRESULT checked = ChildOf(id, &which);
    if (FAILED(checked)) return checked;
    // The control itself has no name of its own: a reader takes its label.
    if (which == CHILDID_SELF) return S_FALSE;
    return Guarded([&] {
      *name = TextToBstr(source_->AccChildName(which));
      return *name != nullptr ? S_OK : S_FALSE;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override {
    return NoText(value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* description) override {
    return NoText(description);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
    if (role == nullptr) return E_POINTER;
    ::VariantInit(role);
    long which = 0;
    const HRESULT checked = ChildOf(id, &which);
    if (FAILED(checked)) return checked;
    SetChild(role, which == CHILDID_SELF ? source_->AccRole() : source_->AccChildRole());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
    if (state == nullptr) return E_POINTER;
    ::VariantInit(state);
    long which = 0;
    const HRESULT checked = ChildOf(id, &which);
    if (FAILED(checked)) return checked;
    unsigned bits = 0;
    if (which == CHILDID_SELF) {
      if (!::IsWindowVisible(window_)) bits |= STATE_SYSTEM_INVISIBLE;
      if (::GetFocus() == window_) bits |= STATE_SYSTEM_FOCUSED;
    } else {
      bits = source_->AccChildState(which);
    }
    SetChild(state, static_cast<long>(bits));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return NoText(help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
    if (file != nullptr) *file = nullptr;
    if (topic != nullptr) *topic = 0;
    return source_ == nullptr ? CO_E_OBJNOTCONNECTED : DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override {
    return NoText(shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (focus == nullptr) return E_POINTER;
    ::VariantInit(focus);
    if (source_ == nullptr) return CO_E_OBJNOTCONNECTED;
    if (::GetFocus() != window_) return S_FALSE;
    SetChild(focus, source_->AccFocusChild());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (selection == nullptr) return E_POINTER;
    ::VariantInit(selection);
    if (source_ == nullptr) return CO_E_OBJNOTCONNECTED;
    return Guarded([&] {
      std::vector<long> children = source_->AccSelectedChildren();
      if (children.empty()) return S_FALSE;
      if (children.size() == 1) {
        SetChild(selection, children.front());
        return S_OK;
      }
      auto* all = NewChildEnum(std::move(children));
      if (all == nullptr) return E_OUTOFMEMORY;
      V_VT(selection) = VT_UNKNOWN;
      V_UNKNOWN(selection) = all;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* action) override {
    return NoText(action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return NotThere(); }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT id) override {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
      return E_POINTER;
    }
    *left = *top = *width = *height = 0;
    long which = 0;
    const HRESULT checked = ChildOf(id, &which);
    if (FAILED(checked)) return checked;
    RECT rect{};
    if (which == CHILDID_SELF) {
      ::GetClientRect(window_, &rect);
    } else if (!source_->AccChildRect(which, &rect)) {
      return S_FALSE;
    }
    POINT origin{rect.left, rect.top};
    if (!::ClientToScreen(window_, &origin)) return E_FAIL;
    *left = origin.x;
    *top = origin.y;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    if (end == nullptr) return E_POINTER;
    ::VariantInit(end);
    long from = 0;
    const HRESULT checked = ChildOf(start, &from);
    if (FAILED(checked)) return checked;
    const long count = source_->AccChildCount();
    long to = 0;
    if (from == CHILDID_SELF) {
      if (direction == NAVDIR_FIRSTCHILD) to = 1;
      else if (direction == NAVDIR_LASTCHILD) to = count;
      // Siblings of the control itself are its window's business.
      else return S_FALSE;
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) {
      to = from + 1;
    } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) {
      to = from - 1;
    } else {
      return direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD ? E_INVALIDARG
                                                                             : S_FALSE;
    }
    if (to < 1 || to > count) return S_FALSE;
    SetChild(end, to);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* at) override {
    if (at == nullptr) return E_POINTER;
    ::VariantInit(at);
    if (source_ == nullptr) return CO_E_OBJNOTCONNECTED;
    POINT point{x, y};
    RECT client{};
    if (!::ScreenToClient(window_, &point) || !::GetClientRect(window_, &client)) return E_FAIL;
    if (!::PtInRect(&client, point)) return S_FALSE;
    SetChild(at, source_->AccChildAt(point));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return NotThere(); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return NotThere(); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return NotThere(); }

 private:
  friend ComObject;  // the last Release deletes
  ~AccessibleObject() = default;

  // *child := the child id a VARIANT names, CHILDID_SELF for the control.
  HRESULT ChildOf(const VARIANT& id, long* child) const {
    if (source_ == nullptr) return CO_E_OBJNOTCONNECTED;
    if (V_VT(&id) != VT_I4) return E_INVALIDARG;
    const long which = V_I4(&id);
    if (which < 0 || which > source_->AccChildCount()) return E_INVALIDARG;
    *child = which;
    return S_OK;
  }
  HRESULT NotThere() const {
    return source_ == nullptr ? CO_E_OBJNOTCONNECTED : DISP_E_MEMBERNOTFOUND;
  }
  HRESULT NoText(BSTR* text) const {
    if (text == nullptr) return E_POINTER;
    *text = nullptr;
    return NotThere();
  }

  HWND window_;
  const AccessibleSource* source_;
};

bool AccessibleLink::Answer(HWND window, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  // The object id travels as a DWORD in the low half of lParam.
  if (static_cast<DWORD>(lparam) != static_cast<DWORD>(OBJID_CLIENT)) return false;
  const auto lresult_from_object = OleaccFunctions().lresult_from_object;
  if (lresult_from_object == nullptr) return false;
  if (object_ == nullptr) object_ = new (std::nothrow) AccessibleObject(window, source_);
  if (object_ == nullptr) return false;
  const LRESULT answer =
      lresult_from_object(__uuidof(IAccessible), wparam, static_cast<IAccessible*>(object_));
  // A failure is an HRESULT, negative; DefWindowProc then gives the system's own object.
  if (answer < 0) return false;
  *result = answer;
  return true;
}

void AccessibleLink::Detach() {
  if (object_ == nullptr) return;
  object_->Detach();
  // Other processes' proxies let go of it now, not when their process ends.
  ::CoDisconnectObject(static_cast<IAccessible*>(object_), 0);
  object_->Release();
  object_ = nullptr;
}

void TellAccessEvent(HWND window, DWORD event, long child) {
  if (window != nullptr) ::NotifyWinEvent(event, window, OBJID_CLIENT, child);
}

}  // namespace lvn::ui
