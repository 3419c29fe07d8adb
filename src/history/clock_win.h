// The local clock.
#pragma once

#include "history/local_time.h"

namespace lvn {

// The current local date and time, to the second.
LocalTime CurrentLocalTime();

}  // namespace lvn
