// The screen: a 32-bit framebuffer under the desktop window, saved as PNG on
// request.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "os/state.h"

using namespace os;

std::vector<uint32_t>& os::Pixels() {
  State& s = S();
  const size_t size = static_cast<size_t>(s.screenWidth) * static_cast<size_t>(s.screenHeight);
  if (s.pixels.size() != size) s.pixels.assign(size, ToPixel(GetSysColor(COLOR_BACKGROUND)));
  return s.pixels;
}

TRect os::ScreenRect() { return TRect{0, 0, S().screenWidth, S().screenHeight}; }

void os::CopyScreenBits(const Region& dst, TPoint delta) {
  if (dst.Empty() || (delta.X == 0 && delta.Y == 0)) return;
  auto& px = Pixels();
  const int32_t width = S().screenWidth;
  const int32_t height = S().screenHeight;
  const Region target = dst & Region(ScreenRect());
  // The row pieces whose source lies on the screen; a target pixel whose
  // source is off the screen keeps its value.
  struct Piece {
    int32_t x0, x1, y;
  };
  // Rects() lists the rectangles band by band; going row by row through
  // each band puts the pieces in order of rows, then of columns.
  std::vector<Piece> pieces;
  const std::vector<TRect> rects = target.Rects();
  for (size_t first = 0; first < rects.size();) {
    size_t last = first;
    while (last < rects.size() && rects[last].Top == rects[first].Top) ++last;
    for (int32_t y = rects[first].Top; y < rects[first].Bottom; ++y) {
      const int64_t sy = int64_t{y} - delta.Y;
      if (sy < 0 || sy >= height) continue;
      for (size_t i = first; i < last; ++i) {
        const int64_t x0 = std::max<int64_t>(rects[i].Left, int64_t{delta.X});
        const int64_t x1 = std::min<int64_t>(rects[i].Right, int64_t{width} + delta.X);
        if (x1 > x0) pieces.push_back(Piece{static_cast<int32_t>(x0), static_cast<int32_t>(x1), y});
      }
    }
    first = last;
  }
  // Source and target overlap. Going against the direction of the move
  // (from the last row up when moving down, from the right end of a row when
  // moving right along it) reads every source pixel before it is written.
  const bool backwards = delta.Y > 0 || (delta.Y == 0 && delta.X > 0);
  auto copy = [&](const Piece& p) {
    const uint32_t* src = px.data() + static_cast<size_t>(p.y - delta.Y) * width + (p.x0 - delta.X);
    std::memmove(px.data() + static_cast<size_t>(p.y) * width + p.x0, src,
                 static_cast<size_t>(p.x1 - p.x0) * sizeof(uint32_t));
  };
  if (backwards) {
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) copy(*it);
  } else {
    for (const Piece& p : pieces) copy(p);
  }
}

void os::PaintDesktop() {
  Window* desktop = Find(S().desktop);
  if (desktop->update.Empty()) return;
  const Region update = desktop->update;
  desktop->update = Region();
  desktop->erase = false;
  HDC dc = CreateDc(desktop->handle, Area::Client, true, &update);
  const TRect all = ScreenRect();
  FillRect(dc, &all, GetSysColorBrush(COLOR_BACKGROUND));
  ReleaseDC(desktop->handle, dc);
}

namespace os {

bool SetScreenSize(int width, int height) {
  State& s = S();
  Window* desktop = Find(s.desktop);
  if (!desktop->children.empty() || width <= 0 || height <= 0 || width > 16384 || height > 16384)
    return false;
  s.screenWidth = width;
  s.screenHeight = height;
  desktop->window = desktop->client = TRect{0, 0, width, height};
  s.pixels.clear();
  Pixels();
  return true;
}

COLORREF ScreenPixel(int x, int y) {
  if (!PtInRect(ScreenRect(), TPoint{x, y})) return CLR_INVALID;
  return ToColorRef(Pixels()[static_cast<size_t>(y) * S().screenWidth + x]);
}

bool SaveScreenPng(const std::string& path) {
  const auto& px = Pixels();
  const int32_t width = S().screenWidth;
  const int32_t height = S().screenHeight;
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  std::vector<png_byte> row(static_cast<size_t>(width) * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t p = px[static_cast<size_t>(y) * width + x];
      row[3 * x] = static_cast<png_byte>(p >> 16);
      row[3 * x + 1] = static_cast<png_byte>(p >> 8);
      row[3 * x + 2] = static_cast<png_byte>(p);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fflush(file.get()) == 0;
}

}  // namespace os
