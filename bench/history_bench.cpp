// Benchmark, not a test: the history log at 100,000 records. Times one reload of the grid
// model, one Remove(-1) rewrite and one Write against reading the same file and counting
// its lines. The file side does natively what the Windows side does: the whole-file
// read, the rewrite streamed into a temporary file that is flushed and moved over the
// log, the append after a look at the last byte.
//   history_bench [records, default 100000] [repeats, default 7]
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "history/history_view.h"
#include "history/local_time.h"
#include "history/log_format.h"
#include "history/log_write.h"

namespace {

double Now() {
  timespec t{};
  ::clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

bool ReadWhole(const std::string& path, std::string* content) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0;
  if (ok) {
    content->resize(static_cast<std::size_t>(info.st_size));
    std::size_t filled = 0;
    while (ok && filled < content->size()) {
      const ssize_t got = ::read(fd, content->data() + filled, content->size() - filled);
      ok = got > 0;
      if (ok) filled += static_cast<std::size_t>(got);
    }
  }
  ::close(fd);
  return ok;
}

bool WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put <= 0) return false;
    done += static_cast<std::size_t>(put);
  }
  return true;
}

// A temporary file beside path, written by produce, flushed and moved over path.
bool ReplaceWith(const std::string& path, const std::function<bool(const lvn::ByteSink&)>& produce) {
  const std::string temp = path + ".tmp";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  const lvn::ByteSink write = [fd](std::string_view bytes) { return WriteAll(fd, bytes); };
  const bool written = produce(write) && ::fsync(fd) == 0;
  ::close(fd);
  return written && std::rename(temp.c_str(), path.c_str()) == 0;
}

bool ReplaceContent(const std::string& path, std::string_view content) {
  return ReplaceWith(path, [content](const lvn::ByteSink& write) { return write(content); });
}

bool Append(const std::string& path, const std::string& line) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0644);
  if (fd < 0) return false;
  struct stat info {};
  std::string bytes;
  char last = '\n';
  bool ok = ::fstat(fd, &info) == 0;
  if (ok && info.st_size > 0) ok = ::pread(fd, &last, 1, info.st_size - 1) == 1;
  if (ok && lvn::EndsInTornLine(last)) bytes = "\r\n";
  bytes += line;
  ok = ok && ::lseek(fd, 0, SEEK_END) >= 0 && WriteAll(fd, bytes);
  ::close(fd);
  return ok;
}

// A history as the program writes it: runs that start and end checking, address
// changes, outages, off markers; and a few lines a hand edit broke.
std::string MakeLog(int records) {
  std::mt19937 random(4);
  std::string content;
  lvn::LocalTime t{2019, 7, 4, 9, 5, 0};
  int key = 0;
  int phase = 0;
  const auto add = [&](int32_t code, const std::string& text) {
    t.Second = static_cast<int>(random() % 60);
    t.Minute = static_cast<int>(random() % 60);
    t.Hour = static_cast<int>(random() % 24);
    t.Day = 1 + static_cast<int>(random() % 28);
    content += lvn::RecordLine(key++, code, text.c_str(), t);
  };
  while (key < records) {
    switch (phase++ % 10) {
      case 0: add(lvn::kEventCheckStart, "チェック開始"); break;
      case 1:
      case 2:
      case 3:
      case 6:
        add(lvn::kEventAddressChange, "203.0.113." + std::to_string(random() % 256));
        break;
      case 4: add(lvn::kEventCommError, ""); break;
      case 5: add(lvn::kEventCommRecovered, ""); break;
      case 7: add(lvn::kEventCheckEnd, "チェック終了"); break;
      case 8: add(lvn::kEventOff, "***"); break;
      default: add(lvn::kEventAddressChange, "198.51.100.7"); break;
    }
    if (key % 20000 == 0) content += "a line someone typed, with,far,too many,fields\r\n\r\n";
  }
  return content;
}

// Median of repeated runs, in seconds; prepare runs before each, untimed.
double Time(int repeats, const std::function<void()>& run,
            const std::function<void()>& prepare = [] {}) {
  std::vector<double> seconds;
  for (int i = 0; i < repeats; ++i) {
    prepare();
    const double start = Now();
    run();
    seconds.push_back(Now() - start);
  }
  std::sort(seconds.begin(), seconds.end());
  return seconds[seconds.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
  const auto folder = std::filesystem::temp_directory_path() /
                      ("lvn_history_bench_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "log.csv").string();
  const std::string original = MakeLog(records);
  const auto reset = [&] { ReplaceContent(path, original); };
  reset();
  const double megabytes = static_cast<double>(original.size()) / 1e6;

  std::size_t sink = 0;
  const double read_count = Time(repeats, [&] {
    std::string content;
    ReadWhole(path, &content);
    sink += static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n'));
  });
  const lvn::ViewSwitches view;
  bool compact = false;
  const double reload = Time(repeats, [&] {
    std::string content;
    ReadWhole(path, &content);
    const lvn::HistoryView grid = lvn::HistoryView::FromLog(std::move(content), view);
    sink += static_cast<std::size_t>(grid.RowCount());
    compact = grid.NeedsCompaction();
  });
  const double rewrite = Time(
      repeats,
      [&] {
        std::string content;
        ReadWhole(path, &content);
        int32_t last_key = -1;
        ReplaceWith(path, [&](const lvn::ByteSink& write) {
          return lvn::StreamLogRewrite(content, -1, -1, view, write, &last_key);
        });
        sink += static_cast<std::size_t>(last_key);
      },
      reset);
  reset();
  const std::string line = lvn::RecordLine(records, lvn::kEventAddressChange, "203.0.113.99",
                                           lvn::LocalTime{2019, 7, 5, 8, 0, 0});
  const double write = Time(repeats, [&] { Append(path, line); });

  std::printf("log.csv: %d records, %.2f MB, %s\n", records, megabytes,
              compact ? "with invalid lines (a reload would compact it)" : "clean");
  std::printf("read and count lines  %8.2f ms\n", read_count * 1e3);
  std::printf("reload of the model   %8.2f ms  %5.1f x read-and-count  %6.2f M records/s  %7.1f MB/s\n",
              reload * 1e3, reload / read_count, records / reload / 1e6, megabytes / reload);
  std::printf("Remove(-1) rewrite    %8.2f ms  %5.1f x read-and-count  %6.2f M records/s  %7.1f MB/s\n",
              rewrite * 1e3, rewrite / read_count, records / rewrite / 1e6,
              megabytes / rewrite);
  std::printf("one Write             %8.3f ms\n", write * 1e3);
  std::printf("(median of %d runs; targets: reload <= 3 x, rewrite <= 5 x)\n", repeats);
  std::filesystem::remove_all(folder);
  return sink == 0 ? 1 : 0;
}
