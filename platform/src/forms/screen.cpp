// The screen object: its size and the cursor list behind Screen.Cursors,
// with the platform's standard cursors (system cursors and the library's
// own cursor resources) and those the application adds.
#include <map>

#include "vcl/Forms.h"

TScreen* Screen = nullptr;

namespace {

// The screen object exists for the whole process.
struct ScreenInit {
  ScreenInit() { Screen = new TScreen(nullptr); }
};
ScreenInit screenInit;

// Where a standard cursor comes from: a system cursor (IDC_ id) or a
// cursor resource of the library's own module.
struct StandardCursor {
  TCursor index;
  const char* system;
  const char* resource;
};

const StandardCursor kStandardCursors[] = {
    {crArrow, IDC_ARROW, nullptr},
    {crCross, IDC_CROSS, nullptr},
    {crIBeam, IDC_IBEAM, nullptr},
    {crSize, IDC_SIZEALL, nullptr},
    {crSizeNESW, IDC_SIZENESW, nullptr},
    {crSizeNS, IDC_SIZENS, nullptr},
    {crSizeNWSE, IDC_SIZENWSE, nullptr},
    {crSizeWE, IDC_SIZEWE, nullptr},
    {crUpArrow, IDC_UPARROW, nullptr},
    {crHourGlass, IDC_WAIT, nullptr},
    {crDrag, nullptr, "DRAG"},
    {crNoDrop, nullptr, "NODROP"},
    {crHSplit, nullptr, "HSPLIT"},
    {crVSplit, nullptr, "VSPLIT"},
    {crMultiDrag, nullptr, "MULTIDRAG"},
    {crSQLWait, nullptr, "SQLWAIT"},
    {crNo, IDC_NO, nullptr},
    {crAppStart, IDC_APPSTARTING, nullptr},
    {crHelp, IDC_HELP, nullptr},
};

}  // namespace

// The list is filled on first use rather than at start-up: the library's
// resources register during static initialisation too, in no fixed order.
struct TScreen::Impl {
  bool loaded = false;
  HCURSOR defaultCursor = nullptr;
  std::map<int, HCURSOR> cursors;

  void Load() {
    if (loaded) return;
    loaded = true;
    defaultCursor = LoadCursor(nullptr, IDC_ARROW);
    const HINSTANCE library = os::ModuleHandle("vcl30");
    for (const StandardCursor& c : kStandardCursors) {
      const HCURSOR h = c.system ? LoadCursor(nullptr, c.system) : LoadCursor(library, c.resource);
      if (h) cursors[c.index] = h;
    }
  }
};

const TClassInfo& TScreen::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("TScreen", &TComponent::StaticClass());
  return info;
}

TScreen::TScreen(TComponent* owner) : TComponent(owner), FImpl(new Impl) {}

TScreen::~TScreen() {
  for (auto& [index, handle] : FImpl->cursors) DestroyCursor(handle);
  delete FImpl;
}

// crNone has no cursor; an index without a cursor of its own shows the
// default one.
HCURSOR TScreen::Cursors(int index) const {
  FImpl->Load();
  if (index == crNone) return nullptr;
  if (index == crDefault) return FImpl->defaultCursor;
  auto it = FImpl->cursors.find(index);
  return it == FImpl->cursors.end() ? FImpl->defaultCursor : it->second;
}

// Setting crDefault replaces the default cursor (0 brings back the arrow);
// setting another index destroys the cursor it had and keeps the new one
// (0 removes the entry).
void TScreen::SetCursors(int index, HCURSOR handle) {
  FImpl->Load();
  if (index == crDefault) {
    FImpl->defaultCursor = handle ? handle : LoadCursor(nullptr, IDC_ARROW);
    return;
  }
  auto it = FImpl->cursors.find(index);
  if (it != FImpl->cursors.end()) {
    if (it->second != handle) DestroyCursor(it->second);
    FImpl->cursors.erase(it);
  }
  if (handle) FImpl->cursors[index] = handle;
}

// A new screen cursor shows at once; going back to crDefault lets the window
// under the mouse choose again through WM_SETCURSOR.
void TScreen::SetCursor(TCursor v) {
  if (v == FCursor) return;
  FCursor = v;
  if (v == crDefault) {
    TPoint p;
    GetCursorPos(&p);
    if (HWND wnd = WindowFromPoint(p)) {
      const LRESULT code =
          SendMessage(wnd, WM_NCHITTEST, 0,
                      MAKELPARAM(static_cast<WORD>(p.X), static_cast<WORD>(p.Y)));
      SendMessage(wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd),
                  MAKELPARAM(static_cast<WORD>(code), static_cast<WORD>(WM_MOUSEMOVE)));
      return;
    }
  }
  ::SetCursor(Cursors(v));
}

int32_t TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int32_t TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }
