#include "util/data_folder.h"

#include "util/path.h"

namespace lvn {
namespace {

std::string BelowAppData(std::string_view app_data) {
  if (app_data.empty()) return "";
  return std::string(app_data) + "\\Lorvane\\";
}

std::string FolderOf(std::string_view exe_path) {
  const std::string path(exe_path);
  return path.substr(0, FolderPartLength(path.c_str()));
}

}  // namespace

bool DataFolderFits(std::string_view folder) {
  return folder.size() <= kMaxAnsiFolderPath &&
         folder.size() + kLongestDataFileName <= kMaxAnsiFilePath;
}

std::string ComposeDataFolder(const DataFolderPlaces& places) {
  const auto program_folder = [&]() -> std::string {
    for (std::string_view exe_path : {places.ExePath, places.ExePathShort}) {
      if (exe_path.empty()) continue;
      const std::string folder = FolderOf(exe_path);
      if (DataFolderFits(folder)) return folder;
    }
    return "";
  };
  if (places.Portable) return program_folder();
  for (std::string_view app_data : {places.AppData, places.AppDataShort}) {
    const std::string folder = BelowAppData(app_data);
    if (!folder.empty() && DataFolderFits(folder)) return folder;
  }
  // The program's folder, as when the shell cannot tell where application data goes.
  return program_folder();
}

}  // namespace lvn
