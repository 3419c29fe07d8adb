// Native builds have no system code page to ask, so they assume code page 932.
#include "util/text.h"

namespace lvn {

bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace lvn
