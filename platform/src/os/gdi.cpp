// GDI objects: brushes, pens, fonts, the stock objects and the system colours.
#include <vcl/Windows.h>

#include <cstdio>
#include <iterator>

#include "os/state.h"

using namespace os;

namespace {

// The classic fixed colour scheme.
constexpr COLORREF kSysColors[] = {
    RGB(0xC0, 0xC0, 0xC0),  // COLOR_SCROLLBAR
    RGB(0x00, 0x80, 0x80),  // COLOR_BACKGROUND
    RGB(0x00, 0x00, 0x80),  // COLOR_ACTIVECAPTION
    RGB(0x80, 0x80, 0x80),  // COLOR_INACTIVECAPTION
    RGB(0xC0, 0xC0, 0xC0),  // COLOR_MENU
    RGB(0xFF, 0xFF, 0xFF),  // COLOR_WINDOW
    RGB(0x00, 0x00, 0x00),  // COLOR_WINDOWFRAME
    RGB(0x00, 0x00, 0x00),  // COLOR_MENUTEXT
    RGB(0x00, 0x00, 0x00),  // COLOR_WINDOWTEXT
    RGB(0xFF, 0xFF, 0xFF),  // COLOR_CAPTIONTEXT
    RGB(0xC0, 0xC0, 0xC0),  // COLOR_ACTIVEBORDER
    RGB(0xC0, 0xC0, 0xC0),  // COLOR_INACTIVEBORDER
    RGB(0x80, 0x80, 0x80),  // COLOR_APPWORKSPACE
    RGB(0x00, 0x00, 0x80),  // COLOR_HIGHLIGHT
    RGB(0xFF, 0xFF, 0xFF),  // COLOR_HIGHLIGHTTEXT
    RGB(0xC0, 0xC0, 0xC0),  // COLOR_BTNFACE
    RGB(0x80, 0x80, 0x80),  // COLOR_BTNSHADOW
    RGB(0x80, 0x80, 0x80),  // COLOR_GRAYTEXT
    RGB(0x00, 0x00, 0x00),  // COLOR_BTNTEXT
    RGB(0xC0, 0xC0, 0xC0),  // COLOR_INACTIVECAPTIONTEXT
    RGB(0xFF, 0xFF, 0xFF),  // COLOR_BTNHIGHLIGHT
    RGB(0x00, 0x00, 0x00),  // COLOR_3DDKSHADOW
    RGB(0xC0, 0xC0, 0xC0),  // COLOR_3DLIGHT
    RGB(0x00, 0x00, 0x00),  // COLOR_INFOTEXT
    RGB(0xFF, 0xFF, 0xE1),  // COLOR_INFOBK
};
constexpr int kSysColorCount = static_cast<int>(std::size(kSysColors));

HGDIOBJ AddObject(GdiObject obj) {
  const HGDIOBJ h = NewHandle<HGDIOBJ>();
  S().objects.emplace(Key(h), std::move(obj));
  return h;
}

GdiObject Brush(bool null, COLORREF color, bool stock) {
  GdiObject o;
  o.kind = GdiKind::Brush;
  o.stock = stock;
  o.brush = BrushInfo{null, color & 0xFFFFFF};
  return o;
}

GdiObject Pen(bool null, COLORREF color, int width, bool stock) {
  GdiObject o;
  o.kind = GdiKind::Pen;
  o.stock = stock;
  o.pen = PenInfo{null, color & 0xFFFFFF, width};
  return o;
}

GdiObject Font(const LOGFONTA& lf, bool stock) {
  GdiObject o;
  o.kind = GdiKind::Font;
  o.stock = stock;
  o.font = ResolveFont(lf);
  return o;
}

LOGFONTA StockLogFont(LONG height, BYTE pitchAndFamily, const char* face) {
  LOGFONTA lf;
  lf.lfHeight = height;
  lf.lfPitchAndFamily = pitchAndFamily;
  std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", face);
  return lf;
}

}  // namespace

void os::EnsureStockObjects() {
  State& s = S();
  if (s.stockMade) return;
  s.stockMade = true;
  s.stock[WHITE_BRUSH] = AddObject(Brush(false, RGB(255, 255, 255), true));
  s.stock[LTGRAY_BRUSH] = AddObject(Brush(false, RGB(0xC0, 0xC0, 0xC0), true));
  s.stock[GRAY_BRUSH] = AddObject(Brush(false, RGB(0x80, 0x80, 0x80), true));
  s.stock[DKGRAY_BRUSH] = AddObject(Brush(false, RGB(0x40, 0x40, 0x40), true));
  s.stock[BLACK_BRUSH] = AddObject(Brush(false, RGB(0, 0, 0), true));
  s.stock[NULL_BRUSH] = AddObject(Brush(true, 0, true));
  s.stock[WHITE_PEN] = AddObject(Pen(false, RGB(255, 255, 255), 1, true));
  s.stock[BLACK_PEN] = AddObject(Pen(false, RGB(0, 0, 0), 1, true));
  s.stock[NULL_PEN] = AddObject(Pen(true, 0, 1, true));
  // The default font of a DC and of dialogs is the 8-point sans; the fixed
  // stock fonts are a 9-point monospaced face.
  const LOGFONTA sans = StockLogFont(-11, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
  const LOGFONTA fixed = StockLogFont(-12, FIXED_PITCH | FF_MODERN, "Courier New");
  for (int f : {ANSI_VAR_FONT, SYSTEM_FONT, DEVICE_DEFAULT_FONT, DEFAULT_GUI_FONT})
    s.stock[f] = AddObject(Font(sans, true));
  for (int f : {OEM_FIXED_FONT, ANSI_FIXED_FONT, SYSTEM_FIXED_FONT})
    s.stock[f] = AddObject(Font(fixed, true));
  for (int i = 0; i < kSysColorCount; ++i)
    s.sysBrushes[i] = static_cast<HBRUSH>(AddObject(Brush(false, kSysColors[i], true)));
}

bool os::ResolveBrush(HBRUSH brush, BrushInfo* out) {
  const uintptr_t value = Key(brush);
  if (value >= 1 && value <= static_cast<uintptr_t>(kSysColorCount)) {
    *out = BrushInfo{false, kSysColors[value - 1]};
    return true;
  }
  const GdiObject* o = FindObject(brush);
  if (!o || o->kind != GdiKind::Brush) return false;
  *out = o->brush;
  return true;
}

COLORREF GetSysColor(int index) {
  return index >= 0 && index < kSysColorCount ? kSysColors[index] : 0;
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= kSysColorCount) return nullptr;
  EnsureStockObjects();
  return S().sysBrushes[index];
}

HGDIOBJ GetStockObject(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(S().stock))) return nullptr;
  EnsureStockObjects();
  return S().stock[index];
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return static_cast<HBRUSH>(AddObject(Brush(false, color, false)));
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style < PS_SOLID || style > PS_INSIDEFRAME) return nullptr;
  return static_cast<HPEN>(AddObject(Pen(style == PS_NULL, color, std::max(width, 1), false)));
}

HFONT CreateFontIndirectA(const LOGFONTA* lf) {
  if (!lf) return nullptr;
  return static_cast<HFONT>(AddObject(Font(*lf, false)));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight,
                  DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                  DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                  const char* faceName) {
  LOGFONTA lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = italic ? 1 : 0;
  lf.lfUnderline = underline ? 1 : 0;
  lf.lfStrikeOut = strikeOut ? 1 : 0;
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  // Longer names are cut to the LOGFONT's 31 characters.
  if (faceName) std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", faceName);
  return CreateFontIndirectA(&lf);
}

BOOL DeleteObject(HGDIOBJ obj) {
  GdiObject* o = FindObject(obj);
  if (!o) return FALSE;
  if (o->stock) return TRUE;  // stock objects stay
  S().objects.erase(Key(obj));
  return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj) {
  DeviceContext* dc = FindDc(hdc);
  const GdiObject* o = FindObject(obj);
  if (!dc || !o) return nullptr;
  HGDIOBJ previous = nullptr;
  switch (o->kind) {
    case GdiKind::Brush:
      previous = dc->brush;
      dc->brush = obj;
      dc->brushInfo = o->brush;
      break;
    case GdiKind::Pen:
      previous = dc->pen;
      dc->pen = obj;
      dc->penInfo = o->pen;
      break;
    case GdiKind::Font:
      previous = dc->font;
      dc->font = obj;
      dc->fontInfo = o->font;
      break;
    case GdiKind::Region:
      return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(SelectClipRgn(hdc, static_cast<HRGN>(obj))));
  }
  return previous;
}
