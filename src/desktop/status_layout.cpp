#include "desktop/status_layout.h"

#include "util/texts.h"
#include "util/text.h"

namespace lvn {

StatusLayout LayoutStatus(const char* text, const MeasureStatusText& measure,
                          const StatusSpacing& spacing) {
  char work[200];
  CopyText(work, text, sizeof work);
  StatusLayout layout;
  layout.Spacing = spacing;
  StatusBox box;
  int width = 0, height = 0;
  const std::string_view all(work);
  std::size_t pos = 0;
  while (layout.FieldCount < kMaxStatusFields) {
    pos = all.find_first_not_of(';', pos);
    if (pos == std::string_view::npos) break;
    std::size_t end = all.find(';', pos);
    if (end == std::string_view::npos) end = all.size();
    const std::string_view piece = all.substr(pos, end - pos);
    pos = end;

    box.left = box.right + spacing.Gap;
    layout.Edges[layout.FieldCount] = box.left;
    int measured_width = 0, measured_height = 0;
    if (measure(piece, &measured_width, &measured_height)) {
      width = measured_width + spacing.PadWidth;
      height = measured_height + spacing.PadHeight;
    }
    box.right = box.left + width;
    box.bottom = box.top + height;
    layout.Borders[layout.FieldCount] = box;
    ++layout.FieldCount;
  }
  layout.Edges[layout.FieldCount] = box.right + spacing.Gap;
  return layout;
}

bool StatusFieldInterior(const StatusLayout& layout, int index, int image_height,
                         StatusBox* fill, int* text_x, int* text_y) {
  if (index < 0 || index >= layout.FieldCount) return false;
  fill->left = layout.Edges[index] + 1;
  fill->top = 1;
  // Inside the one-pixel border, short of the gap before the next field.
  fill->right = layout.Edges[index + 1] - layout.Spacing.Gap - 2;
  fill->bottom = image_height - 1;
  *text_x = layout.Edges[index] + layout.Spacing.TextLeft;
  *text_y = layout.Spacing.TextTop;
  return true;
}

std::string IntervalStatusText(int32_t check_interval_ms) {
  const int32_t minutes = check_interval_ms / 60000;
  const int32_t seconds = check_interval_ms / 1000;
  char text[kIntervalTextCapacity];
  if (minutes > 0) {
    JoinTexts(text, texts::Ui().AutoPrefix, std::to_string(minutes).c_str(), texts::Ui().Minutes,
              sizeof text);
  } else {
    JoinTexts(text, texts::Ui().AutoPrefix, std::to_string(seconds).c_str(), texts::Ui().Seconds,
              sizeof text);
  }
  return text;
}

std::string RowIndicatorText(int row, int row_count) {
  char text[kRowTextCapacity];
  JoinTexts(text, texts::Ui().RowPrefix, std::to_string(row).c_str(), "/",
            std::to_string(row_count - 1).c_str(), sizeof text);
  return text;
}

}  // namespace lvn
