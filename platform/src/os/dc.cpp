// Device contexts: where a DC may draw (its origin and its clip).
#include <vcl/Windows.h>

#include <algorithm>

#include "os/state.h"

using namespace os;

HDC os::CreateDc(HWND wnd, Area area, bool paint, const Region* updateClient) {
  DeviceContext dc;
  dc.paint = paint;
  if (Window* w = Find(wnd)) {
    dc.wnd = wnd;
    const TRect windowRect = WindowRectOnScreen(w);
    dc.origin = area == Area::Client ? ClientOrigin(w) : TPoint{windowRect.Left, windowRect.Top};
    const bool clipChildren = (w->style & WS_CLIPCHILDREN) != 0;
    if (updateClient) {
      // Clipping to the update region first leaves only the windows over it
      // to subtract.
      Region update = *updateClient;
      const TPoint o = ClientOrigin(w);
      update.Offset(o.X, o.Y);
      update &= Region(ScreenRect());
      dc.visible = VisibleRegion(w, area, clipChildren, &update);
    } else {
      dc.visible = VisibleRegion(w, area, clipChildren);
    }
  } else {
    dc.visible = Region(ScreenRect());
  }
  dc.visible &= Region(ScreenRect());
  dc.brush = GetStockObject(WHITE_BRUSH);
  dc.pen = GetStockObject(BLACK_PEN);
  dc.font = GetStockObject(SYSTEM_FONT);
  dc.fontInfo = FindObject(dc.font)->font;
  dc.brushInfo = BrushInfo{false, RGB(255, 255, 255)};
  dc.penInfo = PenInfo{false, RGB(0, 0, 0), 1};
  const HDC h = NewHandle<HDC>();
  S().dcs.emplace(Key(h), std::move(dc));
  return h;
}

void os::ReleaseDcsOf(HWND wnd) {
  std::erase_if(S().dcs, [&](const auto& entry) { return entry.second.wnd == wnd; });
}

int ReleaseDC(HWND, HDC dc) { return S().dcs.erase(Key(dc)) ? 1 : 0; }

Region os::EffectiveClip(const DeviceContext& dc) {
  if (dc.wnd && !Find(dc.wnd)) return Region();
  return dc.hasClip ? dc.visible & dc.clip : dc.visible;
}

namespace {

// The screen position of a logical point of the DC.
TPoint LogicalOrigin(const DeviceContext& dc) {
  return TPoint{dc.origin.X + dc.viewportOrg.X, dc.origin.Y + dc.viewportOrg.Y};
}

TRect Normalized(int l, int t, int r, int b) {
  return TRect{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

// Everything a clip could ever reach, for clips made by exclusion.
const TRect kEverything{-(1 << 30), -(1 << 30), 1 << 30, 1 << 30};

int ClipKind(const DeviceContext& dc) { return EffectiveClip(dc).Kind(); }

}  // namespace

int GetClipBox(HDC hdc, TRect* box) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc || !box) return RGN_ERROR;
  Region clip = EffectiveClip(*dc);
  const TPoint o = LogicalOrigin(*dc);
  clip.Offset(-o.X, -o.Y);
  *box = clip.Box();
  return clip.Kind();
}

int SelectClipRgn(HDC hdc, HRGN rgn) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return RGN_ERROR;
  if (!rgn) {
    dc->hasClip = false;
    return ClipKind(*dc);
  }
  const GdiObject* o = FindObject(rgn);
  if (!o || o->kind != GdiKind::Region) return RGN_ERROR;
  dc->clip = o->region;  // device coordinates
  dc->clip.Offset(dc->origin.X, dc->origin.Y);
  dc->hasClip = true;
  return ClipKind(*dc);
}

int IntersectClipRect(HDC hdc, int l, int t, int r, int b) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return RGN_ERROR;
  Region rect(Normalized(l, t, r, b));
  const TPoint o = LogicalOrigin(*dc);
  rect.Offset(o.X, o.Y);
  dc->clip = dc->hasClip ? dc->clip & rect : rect;
  dc->hasClip = true;
  return ClipKind(*dc);
}

int ExcludeClipRect(HDC hdc, int l, int t, int r, int b) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return RGN_ERROR;
  Region rect(Normalized(l, t, r, b));
  const TPoint o = LogicalOrigin(*dc);
  rect.Offset(o.X, o.Y);
  dc->clip = (dc->hasClip ? dc->clip : Region(kEverything)) - rect;
  dc->hasClip = true;
  return ClipKind(*dc);
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, TPoint* old) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->viewportOrg;
  dc->viewportOrg = TPoint{ClampCoord(x), ClampCoord(y)};
  return TRUE;
}

BOOL GetViewportOrgEx(HDC hdc, TPoint* org) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc || !org) return FALSE;
  *org = dc->viewportOrg;
  return TRUE;
}

BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, TPoint* old) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return FALSE;
  return SetViewportOrgEx(hdc, dc->viewportOrg.X + ClampCoord(dx), dc->viewportOrg.Y + ClampCoord(dy), old);
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return CLR_INVALID;
  const COLORREF old = dc->textColor;
  dc->textColor = color & 0xFFFFFF;
  return old;
}

COLORREF GetTextColor(HDC hdc) {
  DeviceContext* dc = FindDc(hdc);
  return dc ? dc->textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return CLR_INVALID;
  const COLORREF old = dc->bkColor;
  dc->bkColor = color & 0xFFFFFF;
  return old;
}

COLORREF GetBkColor(HDC hdc) {
  DeviceContext* dc = FindDc(hdc);
  return dc ? dc->bkColor : CLR_INVALID;
}

int SetBkMode(HDC hdc, int mode) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  const int old = dc->bkMode;
  dc->bkMode = mode;
  return old;
}

int GetBkMode(HDC hdc) {
  DeviceContext* dc = FindDc(hdc);
  return dc ? dc->bkMode : 0;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN:
      return dc->pen;
    case OBJ_BRUSH:
      return dc->brush;
    case OBJ_FONT:
      return dc->font;
    default:
      return nullptr;
  }
}

HDC GetDC(HWND wnd) {
  if (!wnd) return CreateDc(nullptr, Area::Client, false, nullptr);
  return Find(wnd) ? CreateDc(wnd, Area::Client, false, nullptr) : nullptr;
}

HDC GetWindowDC(HWND wnd) {
  if (!wnd) return CreateDc(nullptr, Area::Window, false, nullptr);
  return Find(wnd) ? CreateDc(wnd, Area::Window, false, nullptr) : nullptr;
}
