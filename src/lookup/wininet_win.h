// The one network exchange of the program: an HTTP GET of the lookup URL, over TLS for
// https, of whose answer the first part is kept, redirects followed by hand. Blocking; runs
// on the lookup worker only.
#pragma once

#include <cstddef>

#include "lookup/lookup_answer.h"

namespace lvn {

class WinInet {
 public:
  // Fetches url into answer (capacity n). The answer is written only when the read step
  // is reached.
  FetchResult Fetch(char* answer, const char* url, std::size_t n);
};

}  // namespace lvn
