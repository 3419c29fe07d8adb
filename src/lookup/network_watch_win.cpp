#include "lookup/network_watch_win.h"

#include <winsock2.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <netioapi.h>

#include "util/system_library_win.h"

namespace lvn {
namespace {

struct IpHelperApi {
  decltype(&::NotifyIpInterfaceChange) NotifyIpInterfaceChange = nullptr;
  decltype(&::NotifyUnicastIpAddressChange) NotifyUnicastIpAddressChange = nullptr;
  decltype(&::CancelMibChangeNotify2) CancelMibChangeNotify2 = nullptr;
};

// iphlpapi.dll is no KnownDLL: from System32, once, or not at all.
const IpHelperApi* Api() {
  static const IpHelperApi api = [] {
    IpHelperApi a;
    const HMODULE module = LoadSystemLibrary("iphlpapi.dll");
    if (module == nullptr || !BindSystemFunction(module, "NotifyIpInterfaceChange",
                                                 &a.NotifyIpInterfaceChange) ||
        !BindSystemFunction(module, "NotifyUnicastIpAddressChange",
                            &a.NotifyUnicastIpAddressChange) ||
        !BindSystemFunction(module, "CancelMibChangeNotify2", &a.CancelMibChangeNotify2)) {
      return IpHelperApi{};
    }
    return a;
  }();
  return api.CancelMibChangeNotify2 != nullptr ? &api : nullptr;
}

template <typename Row>
void CALLBACK OnChange(void* context, Row*, MIB_NOTIFICATION_TYPE type) {
  // The first call reports the state at registration, which is no change.
  if (type == MibInitialNotification) return;
  auto* target = static_cast<NetworkWatchTarget*>(context);
  target->Changed.store(true);
  ::PostMessageW(target->Window, target->Message, 0, 0);
}

}  // namespace

bool NetworkWatcher::Start(HWND target, UINT message) {
  Stop();
  const IpHelperApi* api = Api();
  if (api == nullptr) return false;
  target_ = std::make_unique<NetworkWatchTarget>();
  target_->Window = target;
  target_->Message = message;
  void* context = target_.get();
  const bool interfaces =
      api->NotifyIpInterfaceChange(AF_UNSPEC, &OnChange<MIB_IPINTERFACE_ROW>, context, FALSE,
                                   &interfaces_) == NO_ERROR;
  const bool addresses =
      api->NotifyUnicastIpAddressChange(AF_UNSPEC, &OnChange<MIB_UNICASTIPADDRESS_ROW>, context,
                                        FALSE, &addresses_) == NO_ERROR;
  if (!interfaces) interfaces_ = nullptr;
  if (!addresses) addresses_ = nullptr;
  if (interfaces_ == nullptr && addresses_ == nullptr) {
    target_.reset();
    return false;
  }
  return true;
}

bool NetworkWatcher::TakeChange() { return target_ && target_->Changed.exchange(false); }

void NetworkWatcher::Stop() {
  const IpHelperApi* api = Api();
  // Cancelling waits for a callback that runs, so the target may go after it.
  for (HANDLE* handle : {&interfaces_, &addresses_}) {
    if (*handle != nullptr && api != nullptr) api->CancelMibChangeNotify2(*handle);
    *handle = nullptr;
  }
  target_.reset();
}

}  // namespace lvn
