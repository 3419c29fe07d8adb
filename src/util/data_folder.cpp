#include "util/data_folder.h"

#include "util/path.h"

namespace lvn {
namespace {

std::string BelowAppData(std::string_view app_data) {
  if (app_data.empty()) return "";
  return std::string(app_data) + "\\Lorvane\\";
}

std::string FittingProgramFolder(std::string_view exe_path) {
  if (exe_path.empty()) return "";
  std::string folder(exe_path.substr(0, FolderPartLength(exe_path)));
  return DataFolderFits(folder) ? folder : "";
}

}  // namespace

std::size_t Utf16Length(std::string_view utf8) {
  std::size_t units = 0;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    // Each character counts at its first byte; one of four bytes needs a surrogate pair.
    if ((byte & 0xC0) != 0x80) ++units;
    if (byte >= 0xF0) ++units;
  }
  return units;
}

bool DataFolderFits(std::string_view folder) {
  const std::size_t length = Utf16Length(folder);
  return length <= kMaxFolderPath && length + kLongestDataFileName <= kMaxFilePath;
}

std::string ComposeDataFolder(const DataFolderPlaces& places) {
  if (places.Portable) return FittingProgramFolder(places.ExePath);
  const std::string below_app_data = BelowAppData(places.AppData);
  if (!below_app_data.empty() && DataFolderFits(below_app_data)) return below_app_data;
  // The program's folder, as when the shell cannot tell where application data goes.
  return FittingProgramFolder(places.ExePath);
}

}  // namespace lvn
