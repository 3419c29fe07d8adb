// The arithmetic of the status strip at the foot of the main window: fields sized to
// sample texts, and the texts shown in them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace lvn {

struct StatusBox {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};

inline constexpr int kMaxStatusFields = 9;

// The strip's spacing in pixels, these figures at 96 DPI; the window scales them for its
// display. The border lines are one pixel at any scale.
struct StatusSpacing {
  int Gap = 2;         // before each field, and after the last
  int PadWidth = 12;   // a field's width beyond its sample's
  int PadHeight = 8;   // a field's height beyond its sample's
  int TextLeft = 6;    // the text's start from the field's left edge
  int TextTop = 4;     // the text's top from the strip's
};

struct StatusLayout {
  // Entry i < FieldCount: left edge of field i; entry FieldCount: right end of the last
  // field plus 2 (the strip's width).
  int Edges[kMaxStatusFields + 1] = {};
  int FieldCount = 0;
  StatusBox Borders[kMaxStatusFields];  // the bordered rectangle drawn for each field
  StatusSpacing Spacing;
};

// Measures a text in the strip's font; false when it cannot.
using MeasureStatusText = std::function<bool(std::string_view text, int* width, int* height)>;

// Fields for the ";"-separated samples in text (runs of ";" count as one, empty pieces are
// skipped, at most 9 fields from the first 199 bytes). A sample that cannot be measured
// gets the size of the field before it.
StatusLayout LayoutStatus(const char* text, const MeasureStatusText& measure,
                          const StatusSpacing& spacing = {});

// The interior a field's text is drawn into and where the text starts. False when the
// field was never laid out; nothing is drawn then.
bool StatusFieldInterior(const StatusLayout& layout, int index, int image_height,
                         StatusBox* fill, int* text_x, int* text_y);

// Capacities of the texts below, terminating zero included.
inline constexpr std::size_t kIntervalTextCapacity = 50;
inline constexpr std::size_t kRowTextCapacity = 100;
// And of the layout text: the three samples with their separators.
inline constexpr std::size_t kLayoutTextCapacity = 300;

// "自動:" and the check interval in whole minutes, or in whole seconds below a minute.
std::string IntervalStatusText(int32_t check_interval_ms);
// "行:" row "/" data rows.
std::string RowIndicatorText(int row, int row_count);

}  // namespace lvn
