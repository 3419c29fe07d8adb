#include <windows.h>

#include "util/text.h"

namespace lvn {

bool IsLeadByte(unsigned char b) { return ::IsDBCSLeadByte(b) != FALSE; }

}  // namespace lvn
