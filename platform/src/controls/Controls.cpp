#include "vcl/Controls.h"

#include <algorithm>

#include "os/nonclient.h"
#include "vcl/Forms.h"

bool NewStyleControls = true;

namespace {

struct CursorName {
  int32_t Value;
  const char* Name;
};

const CursorName kCursorNames[] = {
    {crDefault, "crDefault"},   {crNone, "crNone"},         {crArrow, "crArrow"},
    {crCross, "crCross"},       {crIBeam, "crIBeam"},       {crSize, "crSize"},
    {crSizeNESW, "crSizeNESW"}, {crSizeNS, "crSizeNS"},     {crSizeNWSE, "crSizeNWSE"},
    {crSizeWE, "crSizeWE"},     {crUpArrow, "crUpArrow"},   {crHourGlass, "crHourGlass"},
    {crDrag, "crDrag"},         {crNoDrop, "crNoDrop"},     {crHSplit, "crHSplit"},
    {crVSplit, "crVSplit"},     {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},
    {crNo, "crNo"},             {crAppStart, "crAppStart"}, {crHelp, "crHelp"},
};

// A non-windowed control holding the capture through its parent's window.
TControl* CaptureControl = nullptr;
// The control the last WM_MOUSEMOVE reached.
TControl* MouseControl = nullptr;

// Tells the controls when the mouse moves from one to another. A control
// that goes away while it is the mouse control clears the pointer first.
void SetMouseControl(TControl* control) {
  if (MouseControl == control) return;
  TControl* old = MouseControl;
  MouseControl = control;
  if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
  if (control && MouseControl == control)
    control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
}

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST; }

constexpr WPARAM kButtons = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

// Runs a step on leaving a scope, also when an exception leaves it.
template <class F>
struct Finally {
  F f;
  ~Finally() { f(); }
};
template <class F>
Finally(F) -> Finally<F>;

}  // namespace

bool CursorToIdent(int32_t cursor, std::string& ident) {
  for (const CursorName& c : kCursorNames)
    if (c.Value == cursor) {
      ident = c.Name;
      return true;
    }
  return false;
}

bool IdentToCursor(const std::string& ident, int32_t& cursor) {
  for (const CursorName& c : kCursorNames)
    if (SameText(ident, c.Name)) {
      cursor = c.Value;
      return true;
    }
  return false;
}

PTypeInfo TTypeOf<TCursor>::Info() {
  static const PTypeInfo info =
      MakeIntTypeInfo("TCursor", otSWord, -32768, 32767, CursorToIdent, IdentToCursor);
  return info;
}

PTypeInfo TabOrderTypeInfo() {
  static const PTypeInfo info = MakeIntTypeInfo("TTabOrder", otSWord, -1, 32767);
  return info;
}

PTypeInfo BorderStyleTypeInfo() {
  static const PTypeInfo info = [] {
    PTypeInfo full = TTypeOf<TFormBorderStyle>::Info();
    (void)full;
    return MakeEnumTypeInfo("TBorderStyle", "bsNone, bsSingle");
  }();
  return info;
}

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s;
  if (keys & MK_SHIFT) s.Include(ssShift);
  if (keys & MK_CONTROL) s.Include(ssCtrl);
  if (keys & MK_LBUTTON) s.Include(ssLeft);
  if (keys & MK_RBUTTON) s.Include(ssRight);
  if (keys & MK_MBUTTON) s.Include(ssMiddle);
  return s;
}

TWinControl* FindControl(HWND wnd) {
  if (!wnd || !IsWindow(wnd)) return nullptr;
  return reinterpret_cast<TWinControl*>(GetWindowLongPtr(wnd, GWL_USERDATA));
}

TControl* GetCaptureControl() {
  TControl* result = FindControl(GetCapture());
  if (result && CaptureControl && CaptureControl->Parent() == result) result = CaptureControl;
  return result;
}

// The window that is told first, so that it still knows which of its
// non-windowed children held the capture when WM_CAPTURECHANGED arrives.
void SetCaptureControl(TControl* control) {
  TControl* graphic = nullptr;
  HWND wnd = nullptr;
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    wnd = w->Handle();
  } else if (control && control->Parent()) {
    graphic = control;
    wnd = control->Parent()->Handle();
  }
  if (wnd)
    SetCapture(wnd);
  else
    ReleaseCapture();
  CaptureControl = graphic;
}

TControl* GetMouseControl() { return MouseControl; }

// ---------------------------------------------------------------------------
// TControl

const TClassInfo& TControl::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TControl>("TControl")
          .Prop("Left", &TControl::Left, &TControl::SetLeft)
          .Prop("Top", &TControl::Top, &TControl::SetTop)
          .Prop("Width", &TControl::Width, &TControl::SetWidth)
          .Prop("Height", &TControl::Height, &TControl::SetHeight)
          .Prop("Cursor", &TControl::Cursor, &TControl::SetCursor, Default{crDefault})
          .Prop("Hint", &TControl::Hint, &TControl::SetHint);
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), FFont(new TFont) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FFont->OnChange = [this](TObject* sender) { FontChanged(sender); };
}

TControl::~TControl() {
  if (MouseControl == this) MouseControl = nullptr;
  if (CaptureControl == this) {
    CaptureControl = nullptr;
    if (FParent && FParent->HandleAllocated() && GetCapture() == FParent->WindowHandle())
      ReleaseCapture();
  }
  TControl::SetParent(nullptr);
  delete FFont;
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  InvalidateControl(FVisible, false);
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  Invalidate();
  RequestAlign();
}

void TControl::SetBoundsRect(const TRect& r) {
  auto extent = [](int32_t from, int32_t to) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{to} - from, INT32_MIN, INT32_MAX));
  };
  SetBounds(r.Left, r.Top, extent(r.Left, r.Right), extent(r.Top, r.Bottom));
}

void TControl::UpdateBoundsRect(const TRect& r) {
  FLeft = r.Left;
  FTop = r.Top;
  FWidth = r.Right - r.Left;
  FHeight = r.Bottom - r.Top;
}

TRect TControl::GetClientRect() const { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientWidth(int32_t v) { SetWidth(FWidth - ClientWidth() + v); }
void TControl::SetClientHeight(int32_t v) { SetHeight(FHeight - ClientHeight() + v); }

TPoint TControl::ClientOrigin() const {
  if (auto* w = dynamic_cast<const TWinControl*>(this); w && w->HandleAllocated()) {
    TPoint p{0, 0};
    ::ClientToScreen(w->WindowHandle(), &p);
    return p;
  }
  if (!FParent) return TPoint{FLeft, FTop};
  TPoint p = FParent->ClientOrigin();
  return TPoint{p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(const TPoint& p) const {
  TPoint o = ClientOrigin();
  return TPoint{p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(const TPoint& p) const {
  TPoint o = ClientOrigin();
  return TPoint{p.X - o.X, p.Y - o.Y};
}

void TControl::SetParent(TWinControl* parent) {
  if (FParent == parent) return;
  if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  for (TControl* p = parent; p; p = p->FParent)
    if (p == this) throw EInvalidOperation("A control cannot be placed inside one of its own children");
  if (FParent) FParent->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetVisible(bool v) {
  if (FVisible == v) return;
  FVisible = v;
  Perform(CM_VISIBLECHANGED, v ? 1 : 0, 0);
  RequestAlign();
}

void TControl::SetEnabled(bool v) {
  if (FEnabled == v) return;
  FEnabled = v;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetAlign(TAlign v) {
  if (FAlign == v) return;
  TAlign old = FAlign;
  FAlign = v;
  // Keep a control that leaves the client alignment at a usable size.
  if (!FComponentState.Contains(csLoading) && old == alClient && v == alNone) return;
  RequestAlign();
}

void TControl::SetColor(TColor v) {
  if (FColor == v) return;
  FColor = v;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool v) {
  if (FParentColor == v) return;
  FParentColor = v;
  if (FParent && !FComponentState.Contains(csReading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool v) {
  if (FParentFont == v) return;
  FParentFont = v;
  if (FParent && !FComponentState.Contains(csReading)) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool v) {
  if (FShowHint == v) return;
  FShowHint = v;
  FParentShowHint = false;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool v) {
  if (FParentShowHint == v) return;
  FParentShowHint = v;
  if (FParent && !FComponentState.Contains(csReading)) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor v) {
  if (FCursor == v) return;
  FCursor = v;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetText(const std::string& v) {
  if (FText == v) return;
  FText = v;
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
    SetWindowText(w->WindowHandle(), v.c_str());
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetName(const std::string& name) {
  // A control whose caption shows its name keeps showing it.
  bool followName = FControlStyle.Contains(csSetCaption) &&
                    !FComponentState.Contains(csLoading) && Name() == GetText() &&
                    (!Owner() || !dynamic_cast<TControl*>(Owner()) ||
                     !Owner()->ComponentState().Contains(csLoading));
  TComponent::SetName(name);
  if (followName) SetText(name);
}

void TControl::Invalidate() { InvalidateControl(FVisible, FControlStyle.Contains(csOpaque)); }

void TControl::InvalidateControl(bool isVisible, bool isOpaque) {
  bool shown = isVisible || (FComponentState.Contains(csDesigning) &&
                             !FControlStyle.Contains(csNoDesignVisible));
  if (shown && FParent && FParent->HandleAllocated()) {
    TRect r = BoundsRect();
    InvalidateRect(FParent->WindowHandle(), &r,
                   !(isOpaque || FParent->ControlStyle().Contains(csOpaque)));
  }
}

void TControl::Repaint() {
  Invalidate();
  if (FParent) FParent->Update();
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::BringToFront() { SetZOrder(true); }
void TControl::SendToBack() { SetZOrder(false); }

void TControl::SetZOrder(bool topMost) {
  if (!FParent) return;
  auto& list = FParent->FControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (topMost)
    list.push_back(this);
  else
    list.insert(list.begin(), this);
  Invalidate();
}

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControl(this);
}

void TControl::Changed() { Perform(CM_CHANGED, 0, 0); }

void TControl::FontChanged(TObject*) {
  FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WndProc(m);
  return m.Result;
}

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool v) {
  if (MouseCapture() != v) SetCaptureControl(v ? this : nullptr);
}

// At design time the form's designer sees every message first and may keep
// it. At run time the mouse messages mark the left button's state, and a
// control without csDoubleClicks takes a double click as a plain press.
void TControl::WndProc(TMessage& message) {
  if (message.Msg == WM_MOUSEMOVE) SetMouseControl(this);
  if (FComponentState.Contains(csDesigning)) {
    TCustomForm* form = GetParentForm(this);
    if (form && form->Designer() && form->Designer()->IsDesignMsg(this, message)) return;
  } else if (IsMouseMessage(message.Msg)) {
    if (!FControlStyle.Contains(csDoubleClicks)) {
      switch (message.Msg) {
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
          message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
          break;
        default:
          break;
      }
    }
    if (message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK)
      FControlState.Include(csLButtonDown);
    else if (message.Msg == WM_LBUTTONUP)
      FControlState.Exclude(csLButtonDown);
  }
  Dispatch(message);
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* value) {
  if (auto* w = dynamic_cast<TWinControl*>(value)) SetParent(w);
}

void TControl::Click() { OnClick(this); }
void TControl::DblClick() { OnDblClick(this); }

void TControl::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  OnMouseDown(this, button, shift, x, y);
}
void TControl::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  OnMouseMove(this, shift, x, y);
}
void TControl::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  OnMouseUp(this, button, shift, x, y);
}

void TControl::WMMouseMove(TMessage& m) {
  MouseMove(KeysToShiftState(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
}

// A press captures the mouse for a csCaptureMouse control; a left press
// starts a click (a double click fires DblClick instead).
void TControl::WMButtonDown(TMessage& m, TMouseButton button, bool dbl) {
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  TShiftState shift = KeysToShiftState(m.WParam);
  if (button == mbLeft && FControlStyle.Contains(csClickEvents)) {
    if (dbl)
      DblClick();
    else
      FControlState.Include(csClicked);
  }
  if (dbl) shift.Include(ssDouble);
  MouseDown(button, shift, GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
}

// The capture ends with the release of the last button held. The click is
// decided before the capture goes, since losing the capture cancels it.
void TControl::WMButtonUp(TMessage& m, TMouseButton button) {
  int32_t x = GET_X_LPARAM(m.LParam);
  int32_t y = GET_Y_LPARAM(m.LParam);
  bool click = false;
  if (button == mbLeft && FControlState.Contains(csClicked)) {
    FControlState.Exclude(csClicked);
    click = PtInRect(ClientRect(), TPoint{x, y});
  }
  if (FControlStyle.Contains(csCaptureMouse) && !(m.WParam & kButtons)) SetMouseCapture(false);
  if (click) Click();
  MouseUp(button, KeysToShiftState(m.WParam), x, y);
}

// A mode is cancelled (a dialog comes up, say): a control holding the
// capture lets it go and, in the middle of a left press, gets the release
// at (-1, -1), outside itself, so that no click follows.
void TControl::WMCancelMode(TMessage&) {
  const bool down = FControlState.Contains(csLButtonDown);
  if (MouseCapture()) {
    SetMouseCapture(false);
    if (down) Perform(WM_LBUTTONUP, 0, MAKELPARAM(0xFFFF, 0xFFFF));
  } else {
    FControlState.Exclude(csLButtonDown);
  }
}

// The window lost the capture to another window or to none: a press in
// progress on it, or on the child control that held the capture through
// it, no longer ends in a click.
void TControl::WMCaptureChanged(TMessage& m) {
  auto* self = dynamic_cast<TWinControl*>(this);
  if (self && reinterpret_cast<HWND>(m.LParam) == self->WindowHandle()) return;
  FControlState.Exclude(csLButtonDown);
  FControlState.Exclude(csClicked);
  if (CaptureControl && CaptureControl->Parent() == this) {
    CaptureControl->FControlState.Exclude(csLButtonDown);
    CaptureControl->FControlState.Exclude(csClicked);
    CaptureControl = nullptr;
  }
}

void TControl::WMWindowPosChanged(TMessage&) {}

void TControl::CMVisibleChanged(TMessage&) {
  InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque));
}

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMFontChanged(TMessage&) { Invalidate(); }

void TControl::CMParentColorChanged(TMessage& m) {
  if (!FParentColor) return;
  SetColor(m.WParam ? static_cast<TColor>(m.LParam) : FParent->FColor);
  FParentColor = true;
}

void TControl::CMParentFontChanged(TMessage& m) {
  if (!FParentFont) return;
  FFont->Assign(m.WParam ? reinterpret_cast<TFont*>(m.LParam) : FParent->FFont);
  FParentFont = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (!FParentShowHint) return;
  SetShowHint(FParent->FShowHint);
  FParentShowHint = true;
}

void TControl::CMHitTest(TMessage& m) { m.Result = HTCLIENT; }

void TControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      WMMouseMove(m);
      break;
    case WM_LBUTTONDOWN:
      WMButtonDown(m, mbLeft, false);
      break;
    case WM_LBUTTONDBLCLK:
      WMButtonDown(m, mbLeft, FControlStyle.Contains(csDoubleClicks));
      break;
    case WM_RBUTTONDOWN:
      WMButtonDown(m, mbRight, false);
      break;
    case WM_RBUTTONDBLCLK:
      WMButtonDown(m, mbRight, FControlStyle.Contains(csDoubleClicks));
      break;
    case WM_MBUTTONDOWN:
      WMButtonDown(m, mbMiddle, false);
      break;
    case WM_MBUTTONDBLCLK:
      WMButtonDown(m, mbMiddle, FControlStyle.Contains(csDoubleClicks));
      break;
    case WM_LBUTTONUP:
      WMButtonUp(m, mbLeft);
      break;
    case WM_RBUTTONUP:
      WMButtonUp(m, mbRight);
      break;
    case WM_MBUTTONUP:
      WMButtonUp(m, mbMiddle);
      break;
    case WM_CANCELMODE:
      WMCancelMode(m);
      break;
    case WM_CAPTURECHANGED:
      WMCaptureChanged(m);
      break;
    case CM_VISIBLECHANGED:
      CMVisibleChanged(m);
      break;
    case CM_ENABLEDCHANGED:
      CMEnabledChanged(m);
      break;
    case CM_COLORCHANGED:
      CMColorChanged(m);
      break;
    case CM_FONTCHANGED:
      CMFontChanged(m);
      break;
    case CM_PARENTCOLORCHANGED:
      CMParentColorChanged(m);
      break;
    case CM_PARENTFONTCHANGED:
      CMParentFontChanged(m);
      break;
    case CM_PARENTSHOWHINTCHANGED:
      CMParentShowHintChanged(m);
      break;
    case CM_HITTEST:
      CMHitTest(m);
      break;
    default:
      TComponent::Dispatch(m);
  }
}

// ---------------------------------------------------------------------------
// TWinControl

const TClassInfo& TWinControl::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TWinControl>("TWinControl")
          .Prop("HelpContext", &TWinControl::HelpContext, &TWinControl::SetHelpContext,
                Default{0});
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), FBrush(new TBrush) {
  FBrush->SetColor(FColor);
}

TWinControl::~TWinControl() {
  Destroying();
  if (FHandle) DestroyHandle();
  // Free the child controls, last first; each is taken off the list first so
  // that it does not ask this control to re-arrange the rest.
  while (ControlCount() > 0) {
    TControl* c = Controls(ControlCount() - 1);
    RemoveChild(c);
    c->Free();
  }
  delete FBrush;
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  CreateHandle();
}

TControl* TWinControl::Controls(int index) const {
  int n = static_cast<int>(FControls.size());
  if (index < 0 || index >= ControlCount())
    throw EListError(Format("List index out of bounds (%d)", {index}));
  return index < n ? FControls[static_cast<size_t>(index)]
                   : FWinControls[static_cast<size_t>(index - n)];
}

bool TWinControl::ContainsControl(TControl* control) const {
  for (TControl* c = control; c; c = c->FParent)
    if (c == this) return true;
  return false;
}

void TWinControl::InsertChild(TControl* c) {
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    FWinControls.push_back(w);
    FTabList.push_back(w);
    w->FTabIndex = static_cast<int>(FTabList.size()) - 1;
  } else {
    FControls.push_back(c);
  }
  c->FParent = this;
}

void TWinControl::RemoveChild(TControl* c) {
  // From the back: children mostly leave in the reverse of their arrival.
  auto drop = [c](auto& list) {
    auto it = std::find(list.rbegin(), list.rend(), c);
    if (it != list.rend()) list.erase(std::next(it).base());
  };
  // All three lists: a windowed control that is being destroyed is no
  // longer known as one by the time it leaves.
  drop(FControls);
  drop(FWinControls);
  drop(FTabList);
  c->FParent = nullptr;
}

void TWinControl::InsertControl(TControl* control) {
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
  InsertChild(control);
  if (!control->ComponentState().Contains(csReading)) {
    control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    control->Perform(CM_PARENTFONTCHANGED, 0, 0);
    control->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
      control->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
      w->UpdateControlState();
    } else if (HandleAllocated()) {
      control->Invalidate();
    }
    AlignControl(control);
  }
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 1);
}

void TWinControl::RemoveControl(TControl* control) {
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 0);
  if (auto* w = dynamic_cast<TWinControl*>(control))
    w->DestroyHandle();
  else if (HandleAllocated())
    control->InvalidateControl(control->Visible(), false);
  RemoveChild(control);
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
  Realign();
}

void TWinControl::SetParent(TWinControl* parent) {
  if (FParent == parent) return;
  TControl::SetParent(parent);
}

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0) --FAlignLevel;
  if (FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::AlignControl(TControl* control) {
  if (!HandleAllocated() || FComponentState.Contains(csDestroying)) return;
  if (FAlignLevel != 0) {
    FControlState.Include(csAlignmentNeeded);
    return;
  }
  DisableAlign();
  Finally done{[this] {
    FControlState.Exclude(csAlignmentNeeded);
    EnableAlign();
  }};
  TRect r = GetClientRect();
  AlignControls(control, r);
}

// The platform's arrangement: top-aligned controls from the top down, then
// bottom, left and right ones, then the client-aligned ones in what is left.
void TWinControl::AlignControls(TControl* control, TRect& rect) {
  bool any = false;
  for (int i = 0; i < ControlCount(); ++i)
    if (Controls(i)->Align() != alNone) any = true;
  if (!any) return;
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) DoAlign(control, rect, a);
}

void TWinControl::DoAlign(TControl* control, TRect& rect, TAlign align) {
  auto takesPart = [align](TControl* c) {
    return c->Align() == align &&
           (c->ComponentState().Contains(csDesigning) || c->Visible());
  };
  auto insertBefore = [align](TControl* c1, TControl* c2) {
    switch (align) {
      case alTop:
        return c1->Top() < c2->Top();
      case alBottom:
        return c1->Top() + c1->Height() > c2->Top() + c2->Height();
      case alLeft:
        return c1->Left() < c2->Left();
      case alRight:
        return c1->Left() + c1->Width() > c2->Left() + c2->Width();
      default:
        return false;
    }
  };
  std::vector<TControl*> list;
  if (control && takesPart(control)) list.push_back(control);
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c == control || !takesPart(c)) continue;
    size_t j = 0;
    while (j < list.size() && !insertBefore(c, list[j])) ++j;
    list.insert(list.begin() + static_cast<long>(j), c);
  }
  for (TControl* c : list) {
    int32_t w = rect.Right - rect.Left;
    if (w < 0 || align == alLeft || align == alRight) w = c->Width();
    int32_t h = rect.Bottom - rect.Top;
    if (h < 0 || align == alTop || align == alBottom) h = c->Height();
    int32_t l = rect.Left, t = rect.Top;
    switch (align) {
      case alTop:
        rect.Top += h;
        break;
      case alBottom:
        rect.Bottom -= h;
        t = rect.Bottom;
        break;
      case alLeft:
        rect.Left += w;
        break;
      case alRight:
        rect.Right -= w;
        l = rect.Right;
        break;
      default:
        break;
    }
    c->SetBounds(l, t, w, h);
  }
}

void TWinControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  if (HandleAllocated()) {
    SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
  }
  RequestAlign();
}

// Before the window exists the client area is the one the window would get
// from the styles it would be created with.
TRect TWinControl::GetClientRect() const {
  TRect r;
  if (FHandle) {
    ::GetClientRect(FHandle, &r);
    return r;
  }
  TCreateParams params;
  const_cast<TWinControl*>(this)->CreateParams(params);
  os::NonClientLayout nc = os::LayoutNonClient(Rect(0, 0, FWidth, FHeight), params.Style,
                                               params.ExStyle);
  return Rect(0, 0, std::max(nc.client.Width(), 0), std::max(nc.client.Height(), 0));
}

void TWinControl::UpdateBounds() {
  TRect r;
  ::GetWindowRect(FHandle, &r);
  HWND parent = ::GetParent(FHandle);
  if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<TPoint*>(&r), 2);
  UpdateBoundsRect(r);
}

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::InvalidateControl(bool isVisible, bool isOpaque) {
  TControl::InvalidateControl(isVisible, isOpaque);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::SetCtl3D(bool v) {
  if (FCtl3D == v) return;
  FCtl3D = v;
  FParentCtl3D = false;
  Perform(CM_CTL3DCHANGED, 0, 0);
}

void TWinControl::SetParentCtl3D(bool v) {
  if (FParentCtl3D == v) return;
  FParentCtl3D = v;
  if (FParent && !FComponentState.Contains(csReading)) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

int TWinControl::TabIndex() const {
  if (!FParent) return -1;
  const auto& l = FParent->FTabList;
  if (FTabIndex >= 0 && static_cast<size_t>(FTabIndex) < l.size() && l[static_cast<size_t>(FTabIndex)] == this)
    return FTabIndex;
  // The list has changed since this control last looked: number every
  // entry, so that the others' next look-ups are direct again.
  int found = -1;
  for (size_t i = 0; i < l.size(); ++i) {
    l[i]->FTabIndex = static_cast<int>(i);
    if (l[i] == this) found = static_cast<int>(i);
  }
  return found;
}

TTabOrder TWinControl::TabOrder() const { return static_cast<TTabOrder>(TabIndex()); }

void TWinControl::SetTabOrder(TTabOrder v) {
  int cur = TabIndex();
  if (cur < 0) return;
  auto& l = FParent->FTabList;
  int count = static_cast<int>(l.size());
  int target = std::clamp(static_cast<int>(v), 0, count - 1);
  if (target == cur) return;
  l.erase(l.begin() + cur);
  l.insert(l.begin() + target, this);
}

void TWinControl::SetTabStop(bool v) {
  if (FTabStop == v) return;
  FTabStop = v;
  if (FHandle) {
    LONG style = GetWindowLong(FHandle, GWL_STYLE);
    SetWindowLong(FHandle, GWL_STYLE,
                  v ? (style | static_cast<LONG>(WS_TABSTOP)) : (style & ~static_cast<LONG>(WS_TABSTOP)));
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

// Windows ------------------------------------------------------------------

void TWinControl::CreateParams(TCreateParams& params) {
  params = TCreateParams{};
  params.Caption = FText;
  params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FControlStyle.Contains(csAcceptsControls)) {
    params.Style |= WS_CLIPCHILDREN;
    params.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (!FComponentState.Contains(csDesigning) && !Enabled()) params.Style |= WS_DISABLED;
  if (FTabStop) params.Style |= WS_TABSTOP;
  params.X = FLeft;
  params.Y = FTop;
  params.Width = FWidth;
  params.Height = FHeight;
  params.WndParent = FParent ? FParent->WindowHandle() : nullptr;
  params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  params.WindowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  params.WindowClass.lpfnWndProc = DefWindowProc;
  params.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
  if (FParent) FParent->HandleNeeded();
  TCreateParams params;
  CreateParams(params);
  if (!params.WndParent && (params.Style & WS_CHILD))
    throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  FDefWndProc = params.WindowClass.lpfnWndProc;
  WNDCLASS existing;
  bool registered = GetClassInfo(nullptr, params.WinClassName.c_str(), &existing);
  if (!registered || existing.lpfnWndProc != StdWndProc ||
      existing.style != params.WindowClass.style) {
    if (registered) UnregisterClass(params.WinClassName.c_str(), nullptr);
    WNDCLASS wc = params.WindowClass;
    wc.lpfnWndProc = StdWndProc;
    wc.lpszClassName = params.WinClassName.c_str();
    if (!RegisterClass(&wc))
      throw EOutOfResources("Cannot register window class " + params.WinClassName);
  }
  CreateWindowHandle(params);
  if (!FHandle) throw EOutOfResources("Error creating window");
  UpdateBounds();
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
  HWND wnd = CreateWindowEx(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                            params.Style, params.X, params.Y, params.Width, params.Height,
                            params.WndParent, nullptr, nullptr, this);
  FHandle = wnd;
}

void TWinControl::DestroyWnd() {
  FText = GetText();
  if (FHandle) DestroyWindow(FHandle);
  FHandle = nullptr;
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  if (FParent) {
    // Stack the window so that the window order follows the control order:
    // below the window of the next control that has one, else on top.
    HWND after = HWND_TOP;
    auto& list = FParent->FWinControls;
    auto it = std::find(list.begin(), list.end(), this);
    if (it != list.end())
      for (++it; it != list.end(); ++it)
        if ((*it)->FHandle) {
          after = (*it)->FHandle;
          break;
        }
    SetWindowPos(FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

// A windowed control moves within its parent's windowed children and its
// window to the top or the bottom of its siblings.
void TWinControl::SetZOrder(bool topMost) {
  if (!FParent) return;
  auto& list = FParent->FWinControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (topMost)
    list.push_back(this);
  else
    list.insert(list.begin(), this);
  if (FHandle)
    SetWindowPos(FHandle, topMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TWinControl* w : FWinControls) w->DestroyHandle();
  FControlState.Include(csDestroyingHandle);
  Finally done{[this] { FControlState.Exclude(csDestroyingHandle); }};
  DestroyWnd();
}

void TWinControl::RecreateWnd() {
  if (FHandle) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::UpdateControlState() {
  TWinControl* top = this;
  while (top->FParent) {
    top = top->FParent;
    if (!top->Showing()) return;
  }
  if (dynamic_cast<TCustomForm*>(top)) UpdateShowing();
}

void TWinControl::UpdateShowing() {
  bool show = (FVisible || (FComponentState.Contains(csDesigning) &&
                            !FControlStyle.Contains(csNoDesignVisible))) &&
              !FControlState.Contains(csReadingState);
  if (show) {
    if (!FHandle) CreateHandle();
    std::vector<TWinControl*> children = FWinControls;
    for (TWinControl* w : children) w->UpdateShowing();
  }
  if (FHandle && FShowing != show) {
    FShowing = show;
    try {
      Perform(CM_SHOWINGCHANGED, 0, 0);
    } catch (...) {
      FShowing = !show;
      throw;
    }
  }
}

void TWinControl::PaintWindow(HDC dc) {
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintHandler(TMessage& m) {
  PAINTSTRUCT ps;
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (!dc) dc = BeginPaint(FHandle, &ps);
  Finally done{[&] {
    if (!m.WParam) EndPaint(FHandle, &ps);
  }};
  PaintWindow(dc);
}

// Messages ------------------------------------------------------------------

LRESULT TWinControl::StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
    auto* control = static_cast<TWinControl*>(cs->lpCreateParams);
    SetWindowLongPtr(wnd, GWL_USERDATA, reinterpret_cast<intptr_t>(control));
    control->FHandle = wnd;
  }
  TWinControl* control = FindControl(wnd);
  if (!control) return DefWindowProc(wnd, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  control->MainWndProc(m);
  return m.Result;
}

void TWinControl::MainWndProc(TMessage& message) {
  try {
    WndProc(message);
  } catch (Exception& e) {
    Application->HandleException(e);
  }
}

void TWinControl::WndProc(TMessage& message) {
  if (IsMouseMessage(message.Msg) && IsControlMouseMsg(message)) {
    // The child's handling may have destroyed this window.
    if (message.Result == 0 && HandleAllocated())
      DefWindowProc(FHandle, message.Msg, message.WParam, message.LParam);
    return;
  }
  TControl::WndProc(message);
}

TControl* TWinControl::ControlAtPos(const TPoint& pos, bool allowDisabled) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    const bool shown = c->Visible() || (c->ComponentState().Contains(csDesigning) &&
                                        !c->ControlStyle().Contains(csNoDesignVisible));
    if (!shown || !(c->Enabled() || allowDisabled)) continue;
    const TRect r = c->BoundsRect();
    if (!PtInRect(r, pos)) continue;
    const TPoint local{pos.X - r.Left, pos.Y - r.Top};
    if (c->Perform(CM_HITTEST, 0, MAKELPARAM(static_cast<WORD>(local.X),
                                                 static_cast<WORD>(local.Y))) != 0)
      return c;
  }
  return nullptr;
}

bool TWinControl::IsControlMouseMsg(TMessage& m) {
  TControl* control = nullptr;
  if (FHandle && GetCapture() == FHandle) {
    if (CaptureControl && CaptureControl->Parent() == this) control = CaptureControl;
  } else {
    control = ControlAtPos(TPoint{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}, false);
  }
  if (!control) return false;
  const int32_t x = GET_X_LPARAM(m.LParam) - control->Left();
  const int32_t y = GET_Y_LPARAM(m.LParam) - control->Top();
  m.Result = control->Perform(m.Msg, m.WParam,
                              MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
  return true;
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (FHandle && FDefWndProc)
    m.Result = CallWindowProc(FDefWndProc, FHandle, m.Msg, m.WParam, m.LParam);
}

void TWinControl::WMPaint(TMessage& m) { PaintHandler(m); }

// The background is the control's colour.
void TWinControl::WMEraseBkgnd(TMessage& m) {
  TRect r = GetClientRect();
  HBRUSH b = CreateSolidBrush(ColorToRGB(FBrush->Color()));
  ::FillRect(reinterpret_cast<HDC>(m.WParam), &r, b);
  DeleteObject(b);
  m.Result = 1;
}

void TWinControl::WMSize(TMessage& m) {
  UpdateBounds();
  DefaultHandler(m);
  Realign();
}

void TWinControl::WMWindowPosChanged(TMessage& m) {
  if (!FControlState.Contains(csDestroyingHandle)) UpdateBounds();
  DefaultHandler(m);
}

void TWinControl::WMNCHitTest(TMessage& m) { DefaultHandler(m); }

// Over its own client area the control shows Screen.Cursor, or else the
// cursor of the child control under the mouse, or else its own; at design
// time the arrow. crDefault leaves the choice to the window's default
// handling (the parent first, then the class cursor).
void TWinControl::WMSetCursor(TMessage& m) {
  const auto cursorWnd = reinterpret_cast<HWND>(m.WParam);
  const auto hitTest = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(m.LParam)));
  if (FHandle && cursorWnd == FHandle && hitTest == HTCLIENT) {
    TCursor cursor = Screen ? Screen->Cursor() : crDefault;
    if (cursor == crDefault) {
      TPoint p;
      GetCursorPos(&p);
      if (TControl* c = ControlAtPos(ScreenToClient(p), false))
        cursor = c->ComponentState().Contains(csDesigning) ? crArrow : c->Cursor();
      if (cursor == crDefault)
        cursor = FComponentState.Contains(csDesigning) ? crArrow : FCursor;
    }
    if (cursor != crDefault && Screen) {
      ::SetCursor(Screen->Cursors(cursor));
      m.Result = 1;
      return;
    }
  }
  DefaultHandler(m);
}

void TWinControl::WMDestroy(TMessage& m) { DefaultHandler(m); }

void TWinControl::WMNCDestroy(TMessage& m) {
  DefaultHandler(m);
  FHandle = nullptr;
  FShowing = false;
}

void TWinControl::CMVisibleChanged(TMessage&) {
  if (!FComponentState.Contains(csDesigning) || FControlStyle.Contains(csNoDesignVisible))
    UpdateControlState();
}

void TWinControl::CMShowingChanged(TMessage&) {
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                   (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMEnabledChanged(TMessage&) {
  if (FHandle) EnableWindow(FHandle, Enabled());
}

void TWinControl::CMColorChanged(TMessage& m) {
  TControl::CMColorChanged(m);
  FBrush->SetColor(FColor);
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TWinControl::CMCtl3DChanged(TMessage&) {
  if (NewStyleControls && FControlStyle.Contains(csFramed)) RecreateWnd();
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::CMParentCtl3DChanged(TMessage& m) {
  if (!FParentCtl3D) return;
  SetCtl3D(m.WParam ? m.LParam != 0 : FParent->FCtl3D);
  FParentCtl3D = true;
}

void TWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      WMPaint(m);
      break;
    case WM_ERASEBKGND:
      WMEraseBkgnd(m);
      break;
    case WM_SIZE:
      WMSize(m);
      break;
    case WM_WINDOWPOSCHANGED:
      WMWindowPosChanged(m);
      break;
    case WM_NCHITTEST:
      WMNCHitTest(m);
      break;
    case WM_SETCURSOR:
      WMSetCursor(m);
      break;
    case WM_DESTROY:
      WMDestroy(m);
      break;
    case WM_NCDESTROY:
      WMNCDestroy(m);
      break;
    case CM_VISIBLECHANGED:
      TControl::Dispatch(m);
      CMVisibleChanged(m);
      break;
    case CM_SHOWINGCHANGED:
      CMShowingChanged(m);
      break;
    case CM_ENABLEDCHANGED:
      CMEnabledChanged(m);
      break;
    case CM_COLORCHANGED:
      CMColorChanged(m);
      break;
    case CM_CTL3DCHANGED:
      CMCtl3DChanged(m);
      break;
    case CM_PARENTCTL3DCHANGED:
      CMParentCtl3DChanged(m);
      break;
    case CM_FONTCHANGED:
      TControl::Dispatch(m);
      for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_PARENTFONTCHANGED, 0, 0);
      break;
    case CM_SHOWHINTCHANGED:
      for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
      break;
    case CM_RECREATEWND: {
      bool showing = FShowing;
      DestroyHandle();
      if (showing) UpdateControlState();
      break;
    }
    default:
      TControl::Dispatch(m);
  }
}

// ---------------------------------------------------------------------------
// TCustomControl and TGraphicControl

const TClassInfo& TCustomControl::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("TCustomControl", &TWinControl::StaticClass());
  return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), FCanvas(new TCanvas) {}

TCustomControl::~TCustomControl() { delete FCanvas; }

void TCustomControl::PaintWindow(HDC dc) {
  FControlState.Include(csCustomPaint);
  FCanvas->SetHandle(dc);
  Finally done{[this] {
    FCanvas->SetHandle(nullptr);
    FControlState.Exclude(csCustomPaint);
  }};
  Paint();
}

const TClassInfo& TGraphicControl::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("TGraphicControl", &TControl::StaticClass());
  return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), FCanvas(new TCanvas) {}

TGraphicControl::~TGraphicControl() { delete FCanvas; }

void TGraphicControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    FCanvas->SetHandle(reinterpret_cast<HDC>(m.WParam));
    Finally done{[this] { FCanvas->SetHandle(nullptr); }};
    Paint();
    return;
  }
  TControl::Dispatch(m);
}
