// Device contexts: where a DC may draw (its origin and its clip).
#include <vcl/Windows.h>

#include "os/state.h"

using namespace os;

HDC os::CreateDc(HWND wnd, Area area, bool paint, const Region* updateClient) {
  DeviceContext dc;
  dc.paint = paint;
  if (Window* w = Find(wnd)) {
    dc.wnd = wnd;
    const TRect windowRect = WindowRectOnScreen(w);
    dc.origin = area == Area::Client ? ClientOrigin(w) : TPoint{windowRect.Left, windowRect.Top};
    dc.visible = VisibleRegion(w, area, (w->style & WS_CLIPCHILDREN) != 0);
    if (updateClient) {
      Region update = *updateClient;
      const TPoint o = ClientOrigin(w);
      update.Offset(o.X, o.Y);
      dc.visible &= update;
    }
  } else {
    const Window* desktop = Find(S().desktop);
    dc.visible = Region(desktop->window);
  }
  const HDC h = NewHandle<HDC>();
  S().dcs.emplace(Key(h), std::move(dc));
  return h;
}

void os::ReleaseDcsOf(HWND wnd) {
  std::erase_if(S().dcs, [&](const auto& entry) { return entry.second.wnd == wnd; });
}

void os::EnsureStockObjects() {}

void os::CopyScreenBits(const Region&, TPoint) {}

void os::PaintDesktop() {
  Window* desktop = Find(S().desktop);
  desktop->update = Region();
  desktop->erase = false;
}

int ReleaseDC(HWND, HDC dc) { return S().dcs.erase(Key(dc)) ? 1 : 0; }

int GetClipBox(HDC hdc, TRect* box) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc || !box) return RGN_ERROR;
  Region clip = dc->hasClip ? dc->visible & dc->clip : dc->visible;
  clip.Offset(-dc->origin.X - dc->viewportOrg.X, -dc->origin.Y - dc->viewportOrg.Y);
  *box = clip.Box();
  return clip.Kind();
}

HDC GetDC(HWND wnd) {
  if (!wnd) return CreateDc(nullptr, Area::Client, false, nullptr);
  return Find(wnd) ? CreateDc(wnd, Area::Client, false, nullptr) : nullptr;
}

HDC GetWindowDC(HWND wnd) {
  if (!wnd) return CreateDc(nullptr, Area::Window, false, nullptr);
  return Find(wnd) ? CreateDc(wnd, Area::Window, false, nullptr) : nullptr;
}
