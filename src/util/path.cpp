#include "util/path.h"

namespace lvn {

std::size_t FolderPartLength(std::string_view path) {
  const std::size_t separator = path.rfind('\\');
  return separator == std::string_view::npos ? 0 : separator + 1;
}

std::string HelpPagePath(std::string_view exe_path, std::string_view page) {
  std::string path(exe_path.substr(0, FolderPartLength(exe_path)));
  return path.append("help\\").append(page);
}

}  // namespace lvn
