// The per-user data folder, composed from what the system says.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lvn {

// Windows' limits for the ANSI file calls, without the terminating zero: a file's full
// path (MAX_PATH - 1) and a folder that CreateDirectoryA makes (MAX_PATH - 13).
inline constexpr std::size_t kMaxAnsiFilePath = 259;
inline constexpr std::size_t kMaxAnsiFolderPath = 247;
// The longest name of a file the program keeps in the data folder: the temporary file of a
// replacement of the records kept from failed appends ("log.pending.csv.tmp").
inline constexpr std::size_t kLongestDataFileName = 19;

// True when folder, ending in "\", can be made and every file the program keeps in it
// reached by the ANSI file calls, so that no path to it is ever cut.
bool DataFolderFits(std::string_view folder);

// What the system says of the places the data folder can be in, each as the ANSI code page
// gives it and in its short (8.3) form; empty when unknown.
struct DataFolderPlaces {
  std::string_view AppData;  // the roaming application-data folder
  std::string_view AppDataShort;
  std::string_view ExePath;  // the executable's full path
  std::string_view ExePathShort;
  // lvn.ini stands beside the executable: a portable copy, whose data stays with it.
  bool Portable = false;
};

// The data folder, ending in "\": AppData followed by "\Lorvane\", else the same below
// AppDataShort, else the folder of ExePath, else of ExePathShort: the first that fits. For
// a portable copy the executable's folder comes first. Empty when none fits.
std::string ComposeDataFolder(const DataFolderPlaces& places);

}  // namespace lvn
