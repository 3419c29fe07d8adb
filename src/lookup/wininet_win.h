// The one network exchange of the program: a plain HTTP GET of the lookup URL, of whose
// answer the first part is kept, redirects followed by hand. Blocking; runs on the lookup
// worker only.
#pragma once

#include <cstddef>

#include "lookup/lookup_answer.h"
#include "settings/settings.h"

namespace lvn {

class WinInet {
 public:
  // Fetches url into answer (capacity n). The answer is written only when the read step
  // is reached.
  FetchResult Fetch(char* answer, const char* url, std::size_t n);

  const char* Host() const { return Host_; }
  const char* Site() const { return Site_; }
  const char* ObjectName() const { return ObjectName_; }

 private:
  // Host_, Site_ and ObjectName_ of the URL a request goes to.
  void SplitUrl(const char* url);

  char Host_[kUrlCapacity] = "";
  char Site_[kUrlCapacity] = "";
  char ObjectName_[kUrlCapacity] = "";
};

}  // namespace lvn
