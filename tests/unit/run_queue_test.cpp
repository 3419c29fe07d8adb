#include "notify/run_queue.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace lvn {
namespace {

TEST(RunQueue, OneRunAtATimeAndTheNewestOfEachKindWaits) {
  // "change N" and "test N" add a request, "next" ends the run that goes on; started is
  // the request that starts then, as "cN" or "tN" ("" for none).
  const struct {
    const char* step;
    const char* started;
  } steps[] = {
      {"next", ""},
      {"change 1", "c1"},
      {"change 2", ""},
      {"test 3", ""},
      {"change 4", ""},
      {"test 5", ""},
      {"next", "c4"},
      {"change 6", ""},
      {"next", "c6"},
      {"next", "t5"},
      {"next", ""},
      {"test 7", "t7"},
      {"change 8", ""},
      {"next", "c8"},
      {"test 9", ""},
      {"close", ""},
      {"next", ""},
      {"change 10", ""},
      {"next", ""},
  };
  RunQueue queue;
  for (const auto& s : steps) {
    const std::string step = s.step;
    std::optional<RunRequest> started;
    if (step == "next") {
      started = queue.Next();
    } else if (step == "close") {
      queue.Close();
    } else {
      RunRequest request;
      request.Command.Ip = step.substr(step.find(' ') + 1);
      request.Test = step[0] == 't';
      started = queue.Add(request);
    }
    const std::string label = started ? (started->Test ? "t" : "c") + started->Command.Ip : "";
    EXPECT_EQ(label, s.started) << step;
  }
}

}  // namespace
}  // namespace lvn
