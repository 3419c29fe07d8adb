#include "util/secret_win.h"

#include <windows.h>
#include <wincrypt.h>

#include "util/base64.h"
#include "util/scoped_win.h"
#include "util/system_library_win.h"

namespace lvn {
namespace {

// crypt32 is not a KnownDLL, so it is taken from System32 by hand rather than imported.
struct CryptApi {
  decltype(&::CryptProtectData) Protect = nullptr;
  decltype(&::CryptUnprotectData) Unprotect = nullptr;
};

const CryptApi* Api() {
  static const CryptApi* const api = []() -> const CryptApi* {
    static CryptApi table;
    const HMODULE module = LoadSystemLibrary("crypt32.dll");
    if (module == nullptr) return nullptr;
    const bool complete = BindSystemFunction(module, "CryptProtectData", &table.Protect) &&
                          BindSystemFunction(module, "CryptUnprotectData", &table.Unprotect);
    return complete ? &table : nullptr;
  }();
  return api;
}

// Our own entropy: another program of the same user gets nothing from our blobs by a plain
// call, and its blobs are never taken for ours.
constexpr std::string_view kEntropy = "Lorvane: secrets of update targets";

// The calls only read their input, but DATA_BLOB has no const form.
DATA_BLOB BlobOf(std::string_view bytes) {
  return {static_cast<DWORD>(bytes.size()),
          reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()))};
}

std::string_view BytesOf(const DATA_BLOB& blob) {
  return {reinterpret_cast<const char*>(blob.pbData), blob.cbData};
}

// Declared after the blob's owner, so that a plain output is zeroed before it is freed.
struct WipeOnExit {
  const DATA_BLOB& Blob;
  ~WipeOnExit() { ::SecureZeroMemory(Blob.pbData, Blob.cbData); }
};

}  // namespace

std::optional<std::string> ProtectSecret(std::string_view plain) {
  const CryptApi* const api = Api();
  if (api == nullptr || plain.size() > MAXDWORD) return std::nullopt;
  DATA_BLOB in = BlobOf(plain);
  DATA_BLOB entropy = BlobOf(kEntropy);
  DATA_BLOB out{};
  if (!api->Protect(&in, nullptr, &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out)) {
    return std::nullopt;
  }
  const ScopedLocal owner(out.pbData);
  return Base64Of(BytesOf(out));
}

std::optional<std::string> UnprotectSecret(std::string_view protected_base64) {
  const CryptApi* const api = Api();
  if (api == nullptr) return std::nullopt;
  const std::optional<std::string> sealed = BytesOfBase64(protected_base64);
  if (!sealed || sealed->empty() || sealed->size() > MAXDWORD) return std::nullopt;
  DATA_BLOB in = BlobOf(*sealed);
  DATA_BLOB entropy = BlobOf(kEntropy);
  DATA_BLOB out{};
  if (!api->Unprotect(&in, nullptr, &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN,
                      &out)) {
    return std::nullopt;
  }
  const ScopedLocal owner(out.pbData);
  const WipeOnExit wipe{out};
  return std::string(BytesOf(out));
}

void WipeSecret(std::string* text) {
  ::SecureZeroMemory(text->data(), text->size());
  text->clear();
}

}  // namespace lvn
