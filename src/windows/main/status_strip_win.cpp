#include "windows/main/status_strip_win.h"

#include <cstring>
#include <utility>
#include <vector>

#include "ui/controls_win.h"
#include "ui/gdi_scope_win.h"
#include "util/text.h"
#include "util/texts.h"

namespace lvn {

namespace {

constexpr COLORREF kMaroon = RGB(128, 0, 0);  // the transparent key
// Cell height 12, a fixed-pitch face wherever MS Gothic is missing.
constexpr ui::FontSpec kFont{"MS Gothic", 12, FIXED_PITCH | FF_MODERN};

void FillBox(HDC dc, const StatusBox& box, COLORREF colour) {
  ScopedBrush brush(::CreateSolidBrush(colour));
  const RECT rect{box.left, box.top, box.right, box.bottom};
  ::FillRect(dc, &rect, brush.Get());
}

}  // namespace

TStatus::TStatus(ui::Image* image)
    : Image(image),
      font_(ui::CreateUiFont(kFont)) {
  HDC dc = Image->CanvasDc();
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  FillBox(dc, StatusBox{0, 0, Image->CanvasWidth(), Image->CanvasHeight()}, kMaroon);
}

void TStatus::Layout(const char* text) {
  HDC dc = Image->CanvasDc();
  // A layout before this one, for a longer host, leaves nothing behind.
  FillBox(dc, StatusBox{0, 0, Image->CanvasWidth(), Image->CanvasHeight()}, kMaroon);
  ScopedSelect font(dc, font_.Get());
  layout_ = LayoutStatus(text, [dc](std::string_view piece, int* width, int* height) {
    SIZE size{};
    if (!::GetTextExtentPoint32A(dc, piece.data(), static_cast<int>(piece.size()), &size)) {
      return false;
    }
    *width = size.cx;
    *height = size.cy;
    return true;
  });
  ScopedPen pen(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW)));
  ScopedSelect pen_in(dc, pen.Get());
  ScopedSelect brush_in(dc, ::GetSysColorBrush(COLOR_BTNFACE));
  for (int i = 0; i < layout_.FieldCount; ++i) {
    const StatusBox& box = layout_.Borders[i];
    ::Rectangle(dc, box.left, box.top, box.right, box.bottom);
  }
  Image->SetWidth(layout_.Edges[layout_.FieldCount]);
  Image->Repaint();
  // The fields keep what they showed.
  for (int i = 0; i < layout_.FieldCount; ++i) {
    if (!fields_[i].empty()) DrawField(i, std::string(fields_[i]).c_str(), false);
  }
}

void TStatus::LayoutFor(const char* lookup_host) {
  char layout[kLayoutTextCapacity];
  JoinTexts(layout, texts::kIntervalSample, ";", lookup_host, ";", texts::kRowSample,
            sizeof layout);
  Layout(layout);
}

void TStatus::DrawField(int index, const char* text, bool highlight) {
  StatusBox fill;
  int x = 0, y = 0;
  if (!StatusFieldInterior(layout_, index, Image->CanvasHeight(), &fill, &x, &y)) return;
  HDC dc = Image->CanvasDc();
  const COLORREF face = ::GetSysColor(highlight ? COLOR_WINDOW : COLOR_BTNFACE);
  FillBox(dc, fill, face);
  ScopedSelect font(dc, font_.Get());
  ::SetBkMode(dc, OPAQUE);
  ::SetBkColor(dc, face);
  ::TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
  Image->Repaint();

  fields_[index] = text;
  std::vector<ui::ImageField> fields;
  for (int i = 0; i < layout_.FieldCount; ++i) {
    const StatusBox& box = layout_.Borders[i];
    fields.push_back({fields_[i], RECT{box.left, box.top, box.right, box.bottom}});
  }
  Image->SetFields(std::move(fields));
}

}  // namespace lvn
