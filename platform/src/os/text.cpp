// Text: drawing characters of the selected font into the screen framebuffer
// (TextOut, ExtTextOut, DrawText) and measuring them. Glyph coverage is
// blended with the text colour over what the screen holds; everything is
// clipped to the DC's clip by rectangles of the clip region.
#include <vcl/Windows.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "os/font.h"
#include "os/state.h"

using namespace os;

namespace {

// Marks on a character of a line.
constexpr uint8_t kUnderlined = 1;  // a prefixed character of DrawText
constexpr uint8_t kHidden = 2;      // an expanded tab: advances, draws nothing

// A line ready to draw: its characters, the advance of each and their marks.
struct Line {
  std::vector<uint8_t> chars;
  std::vector<int32_t> advances;
  std::vector<uint8_t> marks;
  int64_t width = 0;
};

// Where a DC draws text: its screen clip and the screen position of its
// logical origin.
struct TextTarget {
  DeviceContext* dc = nullptr;
  Region clip;
  TPoint origin;
  std::shared_ptr<SizedFace> face;
};

bool PrepareText(HDC hdc, TextTarget* t) {
  t->dc = FindDc(hdc);
  if (!t->dc) return false;
  t->face = FaceFor(t->dc->fontInfo);
  if (!t->face) return false;
  t->clip = EffectiveClip(*t->dc);
  t->origin = TPoint{t->dc->origin.X + t->dc->viewportOrg.X, t->dc->origin.Y + t->dc->viewportOrg.Y};
  return true;
}

TRect ScreenRectOf(const TextTarget& t, int64_t l, int64_t top, int64_t r, int64_t b) {
  return TRect{Saturate(l + t.origin.X), Saturate(top + t.origin.Y), Saturate(r + t.origin.X),
               Saturate(b + t.origin.Y)};
}

int32_t CellHeight(const SizedFace& face) { return face.Metrics().ascent + face.Metrics().descent; }

inline uint32_t Blend(uint32_t dst, uint32_t color, uint32_t a) {
  if (a >= 255) return color;
  const uint32_t ia = 255 - a;
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const uint32_t c = (color >> shift) & 0xFF;
    const uint32_t d = (dst >> shift) & 0xFF;
    out |= ((c * a + d * ia + 127) / 255) << shift;
  }
  return out;
}

// Fills the part of a screen rectangle inside the clip rectangles.
void FillClipped(const std::vector<TRect>& clip, const TRect& r, uint32_t pixel) {
  auto& px = Pixels();
  const size_t width = static_cast<size_t>(S().screenWidth);
  for (const TRect& c : clip) {
    TRect part;
    if (!IntersectRect(part, c, r)) continue;
    for (int32_t y = part.Top; y < part.Bottom; ++y) {
      uint32_t* row = px.data() + static_cast<size_t>(y) * width;
      std::fill(row + part.Left, row + part.Right, pixel);
    }
  }
}

// Blends a glyph whose bitmap's top-left lies at screen (gx, gy).
void BlendGlyph(const std::vector<TRect>& clip, const Glyph& g, int64_t gx, int64_t gy,
                uint32_t pixel) {
  if (g.coverage.empty()) return;
  const TRect box{Saturate(gx), Saturate(gy), Saturate(gx + g.width), Saturate(gy + g.rows)};
  auto& px = Pixels();
  const size_t width = static_cast<size_t>(S().screenWidth);
  for (const TRect& c : clip) {
    TRect part;
    if (!IntersectRect(part, c, box)) continue;
    const int32_t span = part.Right - part.Left;
    for (int32_t y = part.Top; y < part.Bottom; ++y) {
      const uint8_t* src = g.coverage.data() + static_cast<size_t>(y - box.Top) * g.width + (part.Left - box.Left);
      uint32_t* dst = px.data() + static_cast<size_t>(y) * width + part.Left;
      for (int32_t x = 0; x < span; ++x)
        if (const uint32_t a = src[x]) dst[x] = Blend(dst[x], pixel, a);
    }
  }
}

// Draws a line with its top-left at logical (left, top): the cell filled with
// the background colour in OPAQUE mode, the glyphs, then the font's underline
// and strike-out and the underlines of prefixed characters. `extra` narrows
// the clip further (ExtTextOut's and DrawText's rectangles).
void DrawLine(const TextTarget& t, const Line& line, int64_t left, int64_t top, const TRect* extra) {
  const DeviceContext& dc = *t.dc;
  SizedFace& face = *t.face;
  const FontMetrics& m = face.Metrics();
  const int32_t height = CellHeight(face);
  // Glyphs may reach outside their cell; a margin of one em around the line
  // is all the clip needs to hold.
  const int64_t margin = int64_t{dc.fontInfo.pixelSize} + 2;
  Region reach(ScreenRectOf(t, left - margin, top - margin, left + line.width + margin, top + height + margin));
  reach &= t.clip;
  if (extra) reach &= Region(*extra);
  if (reach.Empty()) return;
  const std::vector<TRect> clip = reach.Rects();

  const int64_t sx = left + t.origin.X;
  const int64_t sy = top + t.origin.Y;
  const int64_t baseline = sy + m.ascent;
  const uint32_t text = ToPixel(dc.textColor);
  if (dc.bkMode == OPAQUE)
    FillClipped(clip, TRect{Saturate(sx), Saturate(sy), Saturate(sx + line.width), Saturate(sy + height)},
                ToPixel(dc.bkColor));

  auto rule = [&](int64_t x0, int64_t x1, int32_t rowFromBaseline) {
    const int64_t y = baseline + rowFromBaseline;
    FillClipped(clip, TRect{Saturate(x0), Saturate(y), Saturate(x1), Saturate(y + m.lineThickness)}, text);
  };
  int64_t pen = sx;
  for (size_t i = 0; i < line.chars.size(); ++i) {
    if (!(line.marks[i] & kHidden)) {
      const Glyph& g = face.GlyphOf(line.chars[i]);
      BlendGlyph(clip, g, pen + g.left, baseline - g.top, text);
    }
    if (line.marks[i] & kUnderlined) rule(pen, pen + line.advances[i], m.underlineTop);
    pen += line.advances[i];
  }
  if (dc.fontInfo.logFont.lfUnderline) rule(sx, sx + line.width, m.underlineTop);
  if (dc.fontInfo.logFont.lfStrikeOut) rule(sx, sx + line.width, m.strikeOutTop);
}

// A line of plain characters at their natural advances (or the given ones).
Line PlainLine(const SizedFace& face, const char* text, size_t count, const int* dx) {
  Line line;
  line.chars.assign(reinterpret_cast<const uint8_t*>(text), reinterpret_cast<const uint8_t*>(text) + count);
  line.advances.resize(count);
  line.marks.assign(count, 0);
  for (size_t i = 0; i < count; ++i) {
    line.advances[i] = dx ? dx[i] : face.Advance(line.chars[i]);
    line.width += line.advances[i];
  }
  return line;
}

constexpr size_t kMaxCount = static_cast<size_t>(std::numeric_limits<int32_t>::max());

}  // namespace

UINT SetTextAlign(HDC hdc, UINT align) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return GDI_ERROR;
  const UINT old = dc->textAlign;
  dc->textAlign = align & (TA_UPDATECP | TA_CENTER | TA_BASELINE);
  return old;
}

UINT GetTextAlign(HDC hdc) {
  DeviceContext* dc = FindDc(hdc);
  return dc ? dc->textAlign : GDI_ERROR;
}

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const TRect* rect, const char* text,
                 UINT count, const int* dx) {
  TextTarget t;
  if (!PrepareText(hdc, &t) || count > kMaxCount || (count > 0 && !text)) return FALSE;
  DeviceContext& dc = *t.dc;
  const Line line = PlainLine(*t.face, text, count, dx);
  const FontMetrics& m = t.face->Metrics();

  // The reference point and where the text lies around it.
  const bool updateCp = (dc.textAlign & TA_UPDATECP) != 0;
  const int64_t rx = updateCp ? dc.pos.X : x;
  const int64_t ry = updateCp ? dc.pos.Y : y;
  const UINT horz = dc.textAlign & TA_CENTER;
  const UINT vert = dc.textAlign & TA_BASELINE;
  const int64_t left = horz == TA_CENTER ? rx - line.width / 2 : horz == TA_RIGHT ? rx - line.width : rx;
  const int64_t top = vert == TA_BASELINE ? ry - m.ascent : vert == TA_BOTTOM ? ry - CellHeight(*t.face) : ry;
  if (updateCp && horz != TA_CENTER)
    dc.pos.X = ClampCoord(horz == TA_RIGHT ? rx - line.width : rx + line.width);

  TRect screenRect;
  const bool hasRect = rect && (options & (ETO_OPAQUE | ETO_CLIPPED));
  if (hasRect) screenRect = ScreenRectOf(t, rect->Left, rect->Top, rect->Right, rect->Bottom);
  if (hasRect && (options & ETO_OPAQUE)) FillClipped((t.clip & Region(screenRect)).Rects(), screenRect, ToPixel(dc.bkColor));
  DrawLine(t, line, left, top, hasRect && (options & ETO_CLIPPED) ? &screenRect : nullptr);
  return TRUE;
}

BOOL TextOutA(HDC hdc, int x, int y, const char* text, int count) {
  if (count < 0) return FALSE;
  return ExtTextOutA(hdc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

BOOL GetTextExtentPoint32A(HDC hdc, const char* text, int count, SIZE* size) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc || !size || count < 0 || (count > 0 && !text)) return FALSE;
  const std::shared_ptr<SizedFace> face = FaceFor(dc->fontInfo);
  if (!face) return FALSE;
  int64_t width = 0;
  for (int i = 0; i < count; ++i) width += face->Advance(static_cast<uint8_t>(text[i]));
  size->cx = Saturate(width);
  size->cy = CellHeight(*face);
  return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* tm) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc || !tm) return FALSE;
  const std::shared_ptr<SizedFace> face = FaceFor(dc->fontInfo);
  if (!face) return FALSE;
  const FontMetrics& m = face->Metrics();
  const FontInfo& f = dc->fontInfo;
  *tm = TEXTMETRICA{};
  tm->tmHeight = m.ascent + m.descent;
  tm->tmAscent = m.ascent;
  tm->tmDescent = m.descent;
  tm->tmInternalLeading = m.internalLeading;
  tm->tmExternalLeading = m.externalLeading;
  tm->tmAveCharWidth = m.aveCharWidth;
  tm->tmMaxCharWidth = m.maxCharWidth;
  tm->tmWeight = f.bold ? FW_BOLD : FW_NORMAL;
  tm->tmItalic = f.italic ? 1 : 0;
  tm->tmUnderlined = f.logFont.lfUnderline ? 1 : 0;
  tm->tmStruckOut = f.logFont.lfStrikeOut ? 1 : 0;
  const BYTE family = f.family == FontFamily::Mono ? FF_MODERN : f.family == FontFamily::Serif ? FF_ROMAN : FF_SWISS;
  // The fixed-pitch bit set means variable pitch.
  tm->tmPitchAndFamily =
      static_cast<BYTE>(family | TMPF_VECTOR | TMPF_TRUETYPE | (f.family == FontFamily::Mono ? 0 : TMPF_FIXED_PITCH));
  tm->tmCharSet = f.logFont.lfCharSet;
  return TRUE;
}

// ---------------------------------------------------------------------------
// DrawText

namespace {

// The characters DrawText shows, with the prefixed ones marked.
struct Shown {
  std::vector<uint8_t> chars;
  std::vector<uint8_t> marks;
};

Shown ApplyPrefixes(const char* text, size_t count, bool prefixes) {
  Shown s;
  s.chars.reserve(count);
  s.marks.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    uint8_t mark = 0;
    if (prefixes && text[i] == '&') {
      if (++i == count) break;  // a lone '&' at the end shows nothing
      if (text[i] != '&') mark = kUnderlined;
    }
    s.chars.push_back(static_cast<uint8_t>(text[i]));
    s.marks.push_back(mark);
  }
  return s;
}

struct Layout {
  const SizedFace* face = nullptr;
  bool expandTabs = false;
  int64_t tabWidth = 8;

  bool IsTab(uint8_t ch) const { return expandTabs && ch == '\t'; }
  // The advance of a character at x from the line's start.
  int64_t Advance(uint8_t ch, int64_t x) const {
    if (IsTab(ch)) return tabWidth > 0 ? (x / tabWidth + 1) * tabWidth - x : 0;
    return face->Advance(ch);
  }
  int64_t Width(const Shown& s, size_t begin, size_t end, int64_t x = 0) const {
    for (size_t i = begin; i < end; ++i) x += Advance(s.chars[i], x);
    return x;
  }
  Line Make(const Shown& s, size_t begin, size_t end) const {
    Line line;
    for (size_t i = begin; i < end; ++i) {
      const int64_t a = Advance(s.chars[i], line.width);
      line.chars.push_back(s.chars[i]);
      line.advances.push_back(static_cast<int32_t>(a));
      line.marks.push_back(static_cast<uint8_t>(s.marks[i] | (IsTab(s.chars[i]) ? kHidden : 0)));
      line.width += a;
    }
    return line;
  }
};

bool IsBlank(uint8_t ch) { return ch == ' ' || ch == '\t'; }

// Breaks a paragraph [begin, end) into lines no wider than maxWidth, at
// blanks; the blanks where a line breaks are dropped.
void BreakWords(const Layout& layout, const Shown& s, size_t begin, size_t end, int64_t maxWidth,
                std::vector<std::pair<size_t, size_t>>& lines) {
  size_t start = begin;
  for (;;) {
    size_t lineEnd = start;
    int64_t width = 0;
    size_t i = start;
    while (i < end) {
      size_t wordStart = i;
      while (wordStart < end && IsBlank(s.chars[wordStart])) ++wordStart;
      size_t wordEnd = wordStart;
      while (wordEnd < end && !IsBlank(s.chars[wordEnd])) ++wordEnd;
      if (wordEnd == wordStart) {  // only blanks remain
        lineEnd = end;
        i = end;
        break;
      }
      const int64_t w = layout.Width(s, i, wordEnd, width);
      if (lineEnd != start && w > maxWidth) break;
      lineEnd = wordEnd;
      width = w;
      i = wordEnd;
    }
    lines.emplace_back(start, lineEnd);
    start = lineEnd;
    while (start < end && IsBlank(s.chars[start])) ++start;
    if (start >= end) return;
  }
}

}  // namespace

int DrawTextA(HDC hdc, const char* text, int count, TRect* rect, UINT format) {
  TextTarget t;
  if (!rect || !PrepareText(hdc, &t)) return 0;
  const size_t length = count < 0 ? (text ? std::strlen(text) : 0) : static_cast<size_t>(count);
  if (length > 0 && !text) return 0;
  const SizedFace& face = *t.face;
  const FontMetrics& m = face.Metrics();

  Layout layout;
  layout.face = &face;
  layout.expandTabs = (format & DT_EXPANDTABS) != 0;
  const int64_t tabChars = (format & DT_TABSTOP) ? (format >> 8) & 0xFF : 8;
  layout.tabWidth = tabChars * m.aveCharWidth;
  const Shown shown = ApplyPrefixes(text, length, (format & DT_NOPREFIX) == 0);

  // Lines: paragraphs between line breaks, each broken at words when asked.
  std::vector<std::pair<size_t, size_t>> ranges;
  const size_t n = shown.chars.size();
  const bool single = (format & DT_SINGLELINE) != 0;
  const int64_t maxWidth = int64_t{rect->Right} - rect->Left;
  size_t p = 0;
  while (p < n) {
    size_t e = p;
    if (!single)
      while (e < n && shown.chars[e] != '\n' && shown.chars[e] != '\r') ++e;
    else
      e = n;
    if ((format & DT_WORDBREAK) && e > p)
      BreakWords(layout, shown, p, e, maxWidth, ranges);
    else
      ranges.emplace_back(p, e);
    if (e >= n) break;
    p = e + ((shown.chars[e] == '\r' && e + 1 < n && shown.chars[e + 1] == '\n') ? 2 : 1);
  }

  const int64_t lineHeight = CellHeight(face) + ((format & DT_EXTERNALLEADING) ? m.externalLeading : 0);
  const int64_t textHeight = lineHeight * static_cast<int64_t>(ranges.size());
  if (format & DT_CALCRECT) {
    int64_t widest = 0;
    for (auto [b, e] : ranges) widest = std::max(widest, layout.Width(shown, b, e));
    rect->Right = Saturate(rect->Left + widest);
    rect->Bottom = Saturate(rect->Top + textHeight);
    return Saturate(textHeight);
  }

  int64_t top = rect->Top;
  if (single && (format & DT_BOTTOM))
    top = rect->Bottom - lineHeight;
  else if (single && (format & DT_VCENTER))
    top = (int64_t{rect->Top} + rect->Bottom - lineHeight) / 2;
  TRect clipRect;
  const bool clipped = (format & DT_NOCLIP) == 0;
  if (clipped) clipRect = ScreenRectOf(t, rect->Left, rect->Top, rect->Right, rect->Bottom);
  int64_t y = top;
  for (auto [b, e] : ranges) {
    const Line line = layout.Make(shown, b, e);
    const int64_t x = (format & DT_CENTER)  ? (int64_t{rect->Left} + rect->Right - line.width) / 2
                      : (format & DT_RIGHT) ? rect->Right - line.width
                                            : int64_t{rect->Left};
    DrawLine(t, line, x, y, clipped ? &clipRect : nullptr);
    y += lineHeight;
  }
  if (single && (format & (DT_VCENTER | DT_BOTTOM))) return Saturate(top - rect->Top + lineHeight);
  return Saturate(textHeight);
}
