// The per-user data folder, composed from what the system says.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lvn {

// Windows' limits for the file calls on paths without the "\\?\" prefix, in UTF-16 units
// and without the terminating zero: a file's full path (MAX_PATH - 1) and a folder that
// CreateDirectoryW makes (MAX_PATH - 13).
inline constexpr std::size_t kMaxFilePath = 259;
inline constexpr std::size_t kMaxFolderPath = 247;
// The longest name of a file the program keeps in the data folder: the temporary file of a
// replacement of the records kept from failed appends ("log.pending.csv.tmp").
inline constexpr std::size_t kLongestDataFileName = 19;

// The UTF-16 units a UTF-8 text takes: what Windows counts a path's length in.
std::size_t Utf16Length(std::string_view utf8);

// True when folder (UTF-8), ending in "\", can be made and every file the program keeps in
// it reached by the file calls, so that no path to it is ever cut.
bool DataFolderFits(std::string_view folder);

// What the system says of the places the data folder can be in, in UTF-8; empty when
// unknown.
struct DataFolderPlaces {
  std::string_view AppData;  // the roaming application-data folder
  std::string_view ExePath;  // the executable's full path
  // lvn.ini stands beside the executable: a portable copy, whose data stays with it.
  bool Portable = false;
};

// The data folder, ending in "\": AppData followed by "\Lorvane\", else the folder of
// ExePath: the first that fits. For a portable copy the executable's folder only. Empty
// when none fits.
std::string ComposeDataFolder(const DataFolderPlaces& places);

}  // namespace lvn
