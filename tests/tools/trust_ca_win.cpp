// Puts the tests' CA into the current user's Root store, so that the system's own check of
// a server certificate accepts the local TLS servers' ones: trust_ca.exe CA.pem
// Exit code 0 once the store holds it; adding it again changes nothing. (Windows would ask
// the user first; Wine does not.)
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tool_arguments_win.h"
#include "util/scoped_win.h"
#include "util/system_library_win.h"

namespace {

// crypt32 is no KnownDLL: taken from System32, as the program takes WinINet.
struct CryptApi {
  decltype(&::CryptStringToBinaryW) CryptStringToBinaryW = nullptr;
  decltype(&::CertOpenStore) CertOpenStore = nullptr;
  decltype(&::CertAddEncodedCertificateToStore) CertAddEncodedCertificateToStore = nullptr;
  decltype(&::CertCloseStore) CertCloseStore = nullptr;
};

const CryptApi* Api() {
  static const CryptApi* const api = []() -> const CryptApi* {
    static CryptApi table;
    const HMODULE module = lvn::LoadSystemLibrary("crypt32.dll");
    const bool complete =
        module != nullptr &&
        lvn::BindSystemFunction(module, "CryptStringToBinaryW", &table.CryptStringToBinaryW) &&
        lvn::BindSystemFunction(module, "CertOpenStore", &table.CertOpenStore) &&
        lvn::BindSystemFunction(module, "CertAddEncodedCertificateToStore",
                                &table.CertAddEncodedCertificateToStore) &&
        lvn::BindSystemFunction(module, "CertCloseStore", &table.CertCloseStore);
    return complete ? &table : nullptr;
  }();
  return api;
}

// Stores exist only once Api() has loaded, so it is there to close them.
void CloseStore(HCERTSTORE store) { Api()->CertCloseStore(store, 0); }
using ScopedStore = lvn::Scoped<lvn::NullHandleTraits<HCERTSTORE, &CloseStore>>;

std::string ReadFileBytes(const std::string& path) {
  lvn::ScopedHandle file(::CreateFileW(lvn::Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (file && ::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  return bytes;
}

int Fail(const char* what) {
  std::fprintf(stderr, "trust_ca: %s (error %lu)\n", what, ::GetLastError());
  return 1;
}

}  // namespace

int main() {
  const std::vector<std::string> arguments = lvn::tools::Arguments();
  if (arguments.size() != 1) return Fail("usage: trust_ca.exe CA.pem");
  const CryptApi* api = Api();
  if (api == nullptr) return Fail("crypt32.dll lacks a function");
  // A PEM file is ASCII.
  const std::wstring pem = lvn::Wide(ReadFileBytes(arguments[0]));
  DWORD size = 0;
  if (pem.empty() ||
      !api->CryptStringToBinaryW(pem.c_str(), static_cast<DWORD>(pem.size()),
                                 CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr)) {
    return Fail("no PEM certificate in the file");
  }
  std::vector<BYTE> der(size);
  if (!api->CryptStringToBinaryW(pem.c_str(), static_cast<DWORD>(pem.size()),
                                 CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr,
                                 nullptr)) {
    return Fail("the PEM certificate does not decode");
  }
  ScopedStore store(
      api->CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root"));
  if (!store) return Fail("the Root store does not open");
  if (!api->CertAddEncodedCertificateToStore(store.Get(), X509_ASN_ENCODING, der.data(), size,
                                             CERT_STORE_ADD_REPLACE_EXISTING, nullptr)) {
    return Fail("the Root store refuses the certificate");
  }
  return 0;
}
