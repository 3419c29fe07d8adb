// Pieces of the COM objects the controls hand to screen readers: their reference count,
// the guard that keeps exceptions inside, and an enumerator of child ids.
#pragma once

#include <ole2.h>
#include <oleauto.h>

#include <atomic>
#include <new>
#include <vector>

namespace lvn::ui {

// IUnknown for Object, which implements Interface and answers for it, for IUnknown and for
// the interfaces Interface derives from that are listed in Bases. Starts with one reference.
template <typename Object, typename Interface, typename... Bases>
class ComObject : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(Interface) ||
        (... || (iid == __uuidof(Bases)))) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete static_cast<Object*>(this);
    return left;
  }

 private:
  std::atomic<ULONG> refs_{1};
};

// Calls into the control may allocate; no exception leaves a COM method.
template <typename Body>
HRESULT Guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

// A VARIANT that names a child by its id.
inline void SetChild(VARIANT* out, long child) {
  V_VT(out) = VT_I4;
  V_I4(out) = child;
}

// The children for IAccessible::get_accSelection when there are several; null when memory
// is short. The caller owns the one reference.
IEnumVARIANT* NewChildEnum(std::vector<long> children);

}  // namespace lvn::ui
