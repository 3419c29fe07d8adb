// Pieces of the COM objects the controls hand to screen readers: the guard that keeps
// exceptions inside, and an enumerator of child ids.
#pragma once

#include <ole2.h>
#include <oleauto.h>

#include <new>
#include <vector>

namespace lvn::ui {

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
