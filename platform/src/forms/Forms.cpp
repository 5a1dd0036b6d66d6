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

void TControlScrollBar::SetRange(int32_t v) {
  FRange = std::max<int32_t>(v, 0);
  SetPosition(FPosition);
}

void TControlScrollBar::SetVisible(bool v) { FVisible = v; }

// Scrolls the content: the position stays within the part of the range
// that the client area does not show, and the child controls move by the
// difference.
void TControlScrollBar::SetPosition(int32_t v) {
  if (FControl->ComponentState().Contains(csReading)) {
    FPosition = v;
    return;
  }
  int32_t page = FKind == sbHorizontal ? FControl->ClientWidth() : FControl->ClientHeight();
  int32_t maxPos = std::max<int32_t>(FRange - page, 0);
  v = std::clamp<int32_t>(v, 0, maxPos);
  if (v == FPosition) return;
  int32_t delta = FPosition - v;
  FPosition = v;
  for (int i = 0; i < FControl->ControlCount(); ++i) {
    TControl* c = FControl->Controls(i);
    if (FKind == sbHorizontal)
      c->SetBounds(c->Left() + delta, c->Top(), c->Width(), c->Height());
    else
      c->SetBounds(c->Left(), c->Top() + delta, c->Width(), c->Height());
  }
  FControl->Invalidate();
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

void TScrollingWinControl::SetAutoScroll(bool v) { FAutoScroll = v; }

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
