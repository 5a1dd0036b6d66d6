#include "vcl/Forms.h"

#include <algorithm>

TApplication* Application = nullptr;

namespace {
// The application object exists for the whole process.
struct ApplicationInit {
  ApplicationInit() { Application = new TApplication(nullptr); }
};
ApplicationInit applicationInit;

PTypeInfo ScrollBarIncTypeInfo() {
  static const PTypeInfo info = MakeIntTypeInfo("TScrollBarInc", otSWord, 1, 32767);
  return info;
}
}  // namespace

// ---------------------------------------------------------------------------
// TControlScrollBar

const TClassInfo& TControlScrollBar::StaticClass() {
  using T = TControlScrollBar;
  static const TClassInfo info =
      TClassBuilder<T>("TControlScrollBar")
          .Prop("Increment", &T::Increment, &T::SetIncrement, TypeIs{ScrollBarIncTypeInfo()},
                Default{8})
          .Prop("Margin", &T::Margin, &T::SetMargin, Default{0})
          .Prop("Position", &T::Position, &T::SetPosition, Default{0})
          .Prop("Range", &T::Range, &T::SetRange, Default{0}, StoredBy{&T::IsRangeStored})
          .Prop("Tracking", &T::Tracking, &T::SetTracking, Default{false})
          .Prop("Visible", &T::Visible, &T::SetVisible, Default{true});
  return info;
}

TControlScrollBar::TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind)
    : FControl(control), FKind(kind) {}

void TControlScrollBar::Assign(TPersistent* source) {
  if (auto* s = dynamic_cast<TControlScrollBar*>(source)) {
    FIncrement = s->FIncrement;
    FMargin = s->FMargin;
    SetRange(s->FRange);
    SetPosition(s->FPosition);
    FTracking = s->FTracking;
    SetVisible(s->FVisible);
    return;
  }
  TPersistent::Assign(source);
}

bool TControlScrollBar::IsRangeStored() const { return !FControl->AutoScroll(); }

int32_t TControlScrollBar::ControlSize() const {
  return FKind == sbHorizontal ? FControl->ClientWidth() : FControl->ClientHeight();
}

int32_t TControlScrollBar::CalcRange() const {
  return FVisible ? std::max<int32_t>(FRange - ControlSize(), 0) : 0;
}

void TControlScrollBar::SetRange(int32_t v) {
  // An explicit range ends the automatic sizing.
  FControl->FAutoScroll = false;
  DoSetRange(v);
}

void TControlScrollBar::DoSetRange(int32_t v) {
  FRange = std::max<int32_t>(v, 0);
  FControl->UpdateScrollBars();
}

void TControlScrollBar::SetMargin(uint16_t v) {
  FMargin = v;
  if (FVisible) FControl->CalcAutoRange();
}

void TControlScrollBar::SetVisible(bool v) {
  FVisible = v;
  FControl->UpdateScrollBars();
}

// The extent of the children along the bar: the far edge of the controls
// placed from the near side, plus the width of those aligned to the far side.
void TControlScrollBar::CalcAutoRange() {
  int64_t range = 0;
  int64_t margin = 0;
  for (int i = 0; i < FControl->ControlCount(); ++i) {
    TControl* c = FControl->Controls(i);
    if (!c->Visible() && !c->ComponentState().Contains(csDesigning)) continue;
    if (FKind == sbHorizontal) {
      if (c->Align() == alNone || c->Align() == alLeft)
        range = std::max<int64_t>(range, int64_t{FPosition} + c->Left() + c->Width());
      else if (c->Align() == alRight)
        margin += c->Width();
    } else {
      if (c->Align() == alNone || c->Align() == alTop)
        range = std::max<int64_t>(range, int64_t{FPosition} + c->Top() + c->Height());
      else if (c->Align() == alBottom)
        margin += c->Height();
    }
  }
  DoSetRange(static_cast<int32_t>(std::min<int64_t>(range + margin + FMargin, INT32_MAX)));
}

// Shows the window's bar while there is something to scroll, and gives it
// the range, the page and the position.
void TControlScrollBar::Update() {
  HWND wnd = FControl->WindowHandle();
  if (!wnd) return;
  int bar = FKind == sbHorizontal ? SB_HORZ : SB_VERT;
  int32_t calc = CalcRange();
  ShowScrollBar(wnd, bar, calc > 0);
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  si.nMin = 0;
  si.nMax = calc > 0 ? FRange - 1 : 0;
  si.nPage = static_cast<UINT>(std::max<int32_t>(ControlSize(), 0));
  si.nPos = FPosition;
  SetScrollInfo(wnd, bar, &si, TRUE);
  SetPosition(FPosition);
}

void TControlScrollBar::SetPosition(int32_t v) {
  if (FControl->ComponentState().Contains(csReading)) {
    FPosition = v;
    return;
  }
  v = std::clamp<int32_t>(v, 0, CalcRange());
  if (v == FPosition) return;
  int32_t delta = FPosition - v;
  FPosition = v;
  if (FKind == sbHorizontal)
    FControl->ScrollBy(delta, 0);
  else
    FControl->ScrollBy(0, delta);
  if (HWND wnd = FControl->WindowHandle())
    SetScrollPos(wnd, FKind == sbHorizontal ? SB_HORZ : SB_VERT, FPosition, TRUE);
}

void TControlScrollBar::ScrollMessage(TMessage& m) {
  const WORD code = LOWORD(m.WParam);
  const int32_t pos = static_cast<int16_t>(HIWORD(m.WParam));
  const int32_t page = ControlSize();
  switch (code) {
    case SB_LINEUP:
      SetPosition(FPosition - FIncrement);
      break;
    case SB_LINEDOWN:
      SetPosition(FPosition + FIncrement);
      break;
    case SB_PAGEUP:
      SetPosition(FPosition - page);
      break;
    case SB_PAGEDOWN:
      SetPosition(FPosition + page);
      break;
    case SB_THUMBPOSITION:
      SetPosition(pos);
      break;
    case SB_THUMBTRACK:
      if (FTracking) SetPosition(pos);
      break;
    case SB_TOP:
      SetPosition(0);
      break;
    case SB_BOTTOM:
      SetPosition(CalcRange());
      break;
    default:  // SB_ENDSCROLL
      break;
  }
}

// ---------------------------------------------------------------------------
// TScrollingWinControl

const TClassInfo& TScrollingWinControl::StaticClass() {
  using T = TScrollingWinControl;
  static const TClassInfo info =
      TClassBuilder<T>("TScrollingWinControl")
          .Prop("HorzScrollBar", &T::HorzScrollBar, &T::SetHorzScrollBar)
          .Prop("VertScrollBar", &T::VertScrollBar, &T::SetVertScrollBar);
  return info;
}

TScrollingWinControl::TScrollingWinControl(TComponent* owner)
    : TWinControl(owner),
      FHorzScrollBar(new TControlScrollBar(this, sbHorizontal)),
      FVertScrollBar(new TControlScrollBar(this, sbVertical)) {}

TScrollingWinControl::~TScrollingWinControl() {
  delete FHorzScrollBar;
  delete FVertScrollBar;
}

void TScrollingWinControl::SetAutoScroll(bool v) {
  if (FAutoScroll == v) return;
  FAutoScroll = v;
  if (v) {
    CalcAutoRange();
  } else {
    FHorzScrollBar->DoSetRange(0);
    FVertScrollBar->DoSetRange(0);
  }
}

void TScrollingWinControl::ScrollBy(int32_t dx, int32_t dy) {
  if (dx == 0 && dy == 0) return;
  DisableAlign();
  struct Enable {
    TScrollingWinControl* c;
    ~Enable() { c->EnableAlign(); }
  } enable{this};
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
  }
  Invalidate();
}

void TScrollingWinControl::CalcAutoRange() {
  if (FAutoRangeCount > 0 || !FAutoScroll) return;
  FHorzScrollBar->CalcAutoRange();
  FVertScrollBar->CalcAutoRange();
}

void TScrollingWinControl::UpdateScrollBars() {
  if (FUpdatingScrollBars || !HandleAllocated()) return;
  FUpdatingScrollBars = true;
  struct Reset {
    bool& f;
    ~Reset() { f = false; }
  } reset{FUpdatingScrollBars};
  // A bar that appears narrows the client area along the other axis: a
  // second pass settles both.
  for (int pass = 0; pass < 2; ++pass) {
    FHorzScrollBar->Update();
    FVertScrollBar->Update();
  }
}

void TScrollingWinControl::Loaded() {
  TWinControl::Loaded();
  CalcAutoRange();
}

void TScrollingWinControl::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateScrollBars();
}

void TScrollingWinControl::AlignControls(TControl* control, TRect& rect) {
  CalcAutoRange();
  TWinControl::AlignControls(control, rect);
}

void TScrollingWinControl::WMHScroll(TMessage& m) {
  if (m.LParam == 0 && FHorzScrollBar->Visible())
    FHorzScrollBar->ScrollMessage(m);
  else
    DefaultHandler(m);
}

void TScrollingWinControl::WMVScroll(TMessage& m) {
  if (m.LParam == 0 && FVertScrollBar->Visible())
    FVertScrollBar->ScrollMessage(m);
  else
    DefaultHandler(m);
}

void TScrollingWinControl::WMSize(TMessage& m) {
  ++FAutoRangeCount;
  try {
    TWinControl::Dispatch(m);
  } catch (...) {
    --FAutoRangeCount;
    throw;
  }
  --FAutoRangeCount;
  CalcAutoRange();
  UpdateScrollBars();
}

void TScrollingWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_HSCROLL:
      WMHScroll(m);
      break;
    case WM_VSCROLL:
      WMVScroll(m);
      break;
    case WM_SIZE:
      WMSize(m);
      break;
    case CM_CONTROLCHANGE:
    case CM_VISIBLECHANGED:
      TWinControl::Dispatch(m);
      // While the children are read or arranged in a batch, the ranges wait
      // for the arrangement that ends it (or for Loaded).
      if (FAlignLevel == 0 && !FComponentState.Contains(csLoading)) CalcAutoRange();
      break;
    default:
      TWinControl::Dispatch(m);
  }
}

// ---------------------------------------------------------------------------
// TScrollBox

const TClassInfo& TScrollBox::StaticClass() {
  using T = TScrollBox;
  static const TClassInfo info =
      TClassBuilder<T>("TScrollBox")
          .Creatable()
          .Prop("Align", &T::Align, &T::SetAlign, Default{alNone})
          .Prop("AutoScroll", &T::AutoScroll, &T::SetAutoScroll, Default{true})
          .Prop("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, TypeIs{BorderStyleTypeInfo()},
                Default{bsSingle})
          .Prop("DragCursor", &T::DragCursor, &T::SetDragCursor, Default{crDrag})
          .Prop("DragMode", &T::DragMode, &T::SetDragMode, Default{dmManual})
          .Prop("Enabled", &T::Enabled, &T::SetEnabled, Default{true})
          .Prop("Color", &T::Color, &T::SetColor, StoredBy{&T::IsColorStored})
          .Prop("Ctl3D", &T::Ctl3D, &T::SetCtl3D, StoredBy{&T::IsCtl3DStored})
          .Prop("Font", &T::Font, &T::SetFont, StoredBy{&T::IsFontStored})
          .Prop("ParentColor", &T::ParentColor, &T::SetParentColor, Default{true})
          .Prop("ParentCtl3D", &T::ParentCtl3D, &T::SetParentCtl3D, Default{true})
          .Prop("ParentFont", &T::ParentFont, &T::SetParentFont, Default{true})
          .Prop("ParentShowHint", &T::ParentShowHint, &T::SetParentShowHint, Default{true})
          .Prop("ShowHint", &T::ShowHint, &T::SetShowHint, StoredBy{&T::IsShowHintStored})
          .Prop("TabOrder", &T::TabOrder, &T::SetTabOrder, TypeIs{TabOrderTypeInfo()},
                Default{-1})
          .Prop("TabStop", &T::TabStop, &T::SetTabStop, Default{false})
          .Prop("Visible", &T::Visible, &T::SetVisible, Default{true})
          .Prop("OnClick", &T::GetOnClick, &T::SetOnClick)
          .Prop("OnDblClick", &T::GetOnDblClick, &T::SetOnDblClick)
          .Prop("OnDragDrop", &T::GetOnDragDrop, &T::SetOnDragDrop)
          .Prop("OnDragOver", &T::GetOnDragOver, &T::SetOnDragOver)
          .Prop("OnEndDrag", &T::GetOnEndDrag, &T::SetOnEndDrag)
          .Prop("OnEnter", &T::GetOnEnter, &T::SetOnEnter)
          .Prop("OnExit", &T::GetOnExit, &T::SetOnExit)
          .Prop("OnMouseDown", &T::GetOnMouseDown, &T::SetOnMouseDown)
          .Prop("OnMouseMove", &T::GetOnMouseMove, &T::SetOnMouseMove)
          .Prop("OnMouseUp", &T::GetOnMouseUp, &T::SetOnMouseUp);
  return info;
}

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                   csDoubleClicks};
  SetBounds(FLeft, FTop, 185, 41);
}

void TScrollBox::SetBorderStyle(TBorderStyle v) {
  if (FBorderStyle == v) return;
  FBorderStyle = v;
  RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& params) {
  TScrollingWinControl::CreateParams(params);
  if (FBorderStyle == bsSingle) {
    if (NewStyleControls && FCtl3D)
      params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      params.Style |= WS_BORDER;
  }
}

void TScrollBox::Dispatch(TMessage& m) {
  if (m.Msg == CM_CTL3DCHANGED) {
    if (FBorderStyle == bsSingle) RecreateWnd();
  }
  TScrollingWinControl::Dispatch(m);
}

// ---------------------------------------------------------------------------
// Forms

const TClassInfo& TCustomForm::StaticClass() {
  static const TClassInfo info =
      TClassInfo::Plain("TCustomForm", &TScrollingWinControl::StaticClass());
  return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TScrollingWinControl(owner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                   csDoubleClicks};
  SetBounds(0, 0, 320, 240);
  FVisible = false;
  SetParentColor(false);
  SetParentFont(false);
  SetColor(clBtnFace);
}

TCustomForm::~TCustomForm() = default;

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  if (FBorderStyle == v) return;
  FBorderStyle = v;
  RecreateWnd();
}

void TCustomForm::Close() { Hide(); }

void TCustomForm::CreateParams(TCreateParams& params) {
  TScrollingWinControl::CreateParams(params);
  if (!FParent) {
    params.WndParent = nullptr;
    params.Style &= ~(WS_CHILD | WS_GROUP | WS_TABSTOP);
  }
  params.WindowClass.style = CS_DBLCLKS;
  switch (FBorderStyle) {
    case bsNone:
      if (!FParent) params.Style |= WS_POPUP;
      break;
    case bsSingle:
    case bsToolWindow:
      params.Style |= WS_CAPTION | WS_BORDER | WS_SYSMENU;
      break;
    case bsSizeable:
    case bsSizeToolWin:
      params.Style |= WS_CAPTION | WS_THICKFRAME | WS_SYSMENU;
      break;
    case bsDialog:
      params.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
      params.ExStyle |= WS_EX_DLGMODALFRAME;
      break;
  }
}

void TCustomForm::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
      TScrollingWinControl::Dispatch(m);
      if (!FComponentState.Contains(csLoading)) OnResize(this);
      break;
    case CM_SHOWINGCHANGED:
      TScrollingWinControl::Dispatch(m);
      if (FShowing)
        OnShow(this);
      else
        OnHide(this);
      break;
    case WM_CLOSE:
      Close();
      break;
    default:
      TScrollingWinControl::Dispatch(m);
  }
}

const TClassInfo& TForm::StaticClass() {
  using T = TForm;
  static const TClassInfo info =
      TClassBuilder<T>("TForm")
          .Creatable()
          .Prop("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, Default{bsSizeable})
          .Prop("AutoScroll", &T::AutoScroll, &T::SetAutoScroll, Default{true})
          .Prop("Caption", &T::Caption, &T::SetCaption)
          .Prop("ClientHeight", &T::ClientHeight, &T::SetClientHeight, StoredNever{})
          .Prop("ClientWidth", &T::ClientWidth, &T::SetClientWidth, StoredNever{})
          .Prop("Ctl3D", &T::Ctl3D, &T::SetCtl3D, Default{true})
          .Prop("Color", &T::Color, &T::SetColor, Default{clBtnFace})
          .Prop("Enabled", &T::Enabled, &T::SetEnabled, Default{true})
          .Prop("Font", &T::Font, &T::SetFont)
          .Prop("Position", &T::Position, &T::SetPosition, Default{poDesigned})
          .Prop("ShowHint", &T::ShowHint, &T::SetShowHint, StoredBy{&T::IsShowHintStored})
          .Prop("Visible", &T::Visible, &T::SetVisible, Default{false})
          .Prop("OnClick", &T::GetOnClick, &T::SetOnClick)
          .Prop("OnCreate", &T::GetOnCreate, &T::SetOnCreate)
          .Prop("OnDblClick", &T::GetOnDblClick, &T::SetOnDblClick)
          .Prop("OnDestroy", &T::GetOnDestroy, &T::SetOnDestroy)
          .Prop("OnHide", &T::GetOnHide, &T::SetOnHide)
          .Prop("OnMouseDown", &T::GetOnMouseDown, &T::SetOnMouseDown)
          .Prop("OnMouseMove", &T::GetOnMouseMove, &T::SetOnMouseMove)
          .Prop("OnMouseUp", &T::GetOnMouseUp, &T::SetOnMouseUp)
          .Prop("OnPaint", &T::GetOnPaint, &T::SetOnPaint)
          .Prop("OnResize", &T::GetOnResize, &T::SetOnResize)
          .Prop("OnShow", &T::GetOnShow, &T::SetOnShow);
  return info;
}

TForm::TForm(TComponent* owner) : TCustomForm(owner) {}

TCustomForm* GetParentForm(TControl* control) {
  if (!control) return nullptr;
  while (control->Parent()) control = control->Parent();
  return dynamic_cast<TCustomForm*>(control);
}

// ---------------------------------------------------------------------------
// TApplication

const TClassInfo& TApplication::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("TApplication", &TComponent::StaticClass());
  return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

void TApplication::HandleException(Exception& e) {
  if (dynamic_cast<EAbort*>(&e)) return;
  if (OnException)
    OnException(this, e);
  else
    ShowException(e);
}

void TApplication::ShowException(Exception& e) {
  std::string msg = e.Message();
  if (!msg.empty() && msg.back() != '.') msg += '.';
  MessageBox(nullptr, msg.c_str(), FTitle.c_str(), MB_OK);
}

void TApplication::ProcessMessages() { os::ProcessMessages(); }
