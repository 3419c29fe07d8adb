#include "ui/com_parts_win.h"

#include <oleauto.h>

#include <algorithm>
#include <utility>

namespace lvn::ui {
namespace {

// The selected children of a control with several, for get_accSelection.
class ChildEnum final : public ComObject<ChildEnum, IEnumVARIANT> {
 public:
  explicit ChildEnum(std::vector<long> children, std::size_t next = 0)
      : children_(std::move(children)), next_(next) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
    if (out == nullptr || (count > 1 && fetched == nullptr)) return E_POINTER;
    ULONG given = 0;
    while (given < count && next_ < children_.size()) SetChild(&out[given++], children_[next_++]);
    if (fetched != nullptr) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    const std::size_t left = children_.size() - next_;
    next_ += std::min<std::size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    return Guarded([&] {
      auto* copy = new (std::nothrow) ChildEnum(children_, next_);
      if (copy == nullptr) return E_OUTOFMEMORY;
      *out = copy;
      return S_OK;
    });
  }

 private:
  friend ComObject;  // the last Release deletes
  ~ChildEnum() = default;

  std::vector<long> children_;
  std::size_t next_;
};

}  // namespace

IEnumVARIANT* NewChildEnum(std::vector<long> children) {
  return new (std::nothrow) ChildEnum(std::move(children));
}

}  // namespace lvn::ui
