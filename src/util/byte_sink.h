// Somewhere bytes go piece by piece, in order: a file being written, a string being built.
#pragma once

#include <functional>
#include <string_view>

namespace lvn {

// Takes the next piece; false when it cannot, which ends the writing.
using ByteSink = std::function<bool(std::string_view bytes)>;

}  // namespace lvn
