// The split control: construction, destruction, style resolution, window
// creation, events and the published property set.
#include <cstring>

#include "ziVivire.h"

int32_t SplitInstanceCount = 0;
HCURSOR SplitCursorHandle = nullptr;
bool PaneClassRegistered = false;
const char* ProductTitle = nullptr;
const char* CtlFileInfo = nullptr;

namespace {

// Unit start-up.
struct UnitInit {
  UnitInit() {
    ProductTitle = "ruVezuz for VCL Designer";
    CtlFileInfo = "ziVivire";
  }
};
UnitInit unitInit;

constexpr const char* kPublisher = "Corvid Components";

}  // namespace

PTypeInfo TypeInfo_TPercent() {
  static const PTypeInfo info = MakeIntTypeInfo("TPercent", otUByte, 0, 100);
  return info;
}

PTypeInfo TypeInfo_TAboutRegString() {
  static const PTypeInfo info = MakeShortStringTypeInfo("TAboutRegString", 1);
  return info;
}

const TClassInfo& TkvCustomSplit::StaticClass() {
  static const TClassInfo info =
      TClassInfo::Plain("TkvCustomSplit", &TCustomControl::StaticClass());
  return info;
}

const TClassInfo& TruVezuz::StaticClass() {
  using T = TruVezuz;
  static const TClassInfo info =
      TClassBuilder<T>("TruVezuz")
          .Creatable()
          .Prop("AutoUpdate", &T::AutoUpdate, &T::SetAutoUpdate)
          .Prop("BarWidth", &T::BarWidth, &T::SetBarWidth, Default{6})
          .Prop("SyncScroll", &T::SyncScroll, &T::SetSyncScroll)
          .Prop("Style", &T::Style, &T::SetStyle)
          .Prop("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, TypeIs{BorderStyleTypeInfo()},
                Default{bsSingle})
          .Prop("AboutReg", &T::AboutReg, &T::SetAboutReg, TypeIs{TypeInfo_TAboutRegString()})
          .Prop("Locked", &T::Locked, &T::SetLocked, Default{false})
          .Prop("Align", &T::Align, &T::SetAlign, Default{alNone})
          .Prop("Color", &T::Color, &T::SetColor, Default{clBtnFace}, StoredBy{&T::IsColorStored})
          .Prop("ParentColor", &T::ParentColor, &T::SetParentColor, Default{true})
          .Prop("ParentCtl3D", &T::ParentCtl3D, &T::SetParentCtl3D, Default{true})
          .Prop("ParentShowHint", &T::ParentShowHint, &T::SetParentShowHint, Default{true})
          .Prop("ParentFont", &T::ParentFont, &T::SetParentFont, Default{true})
          .Prop("ShowHint", &T::ShowHint, &T::SetShowHint, StoredBy{&T::IsShowHintStored})
          .Prop("Font", &T::Font, &T::SetFont, StoredBy{&T::IsFontStored})
          .Prop("Hint", &T::Hint, &T::SetHint)
          .Prop("Ctl3D", &T::Ctl3D, &T::SetCtl3D, StoredBy{&T::IsCtl3DStored})
          .Prop("Visible", &T::Visible, &T::SetVisible, Default{true})
          .Prop("TabStop", &T::TabStop, &T::SetTabStop, Default{false})
          .Prop("TabOrder", &T::TabOrder, &T::SetTabOrder, TypeIs{TabOrderTypeInfo()},
                Default{-1})
          .Prop("DragMode", &T::DragMode, &T::SetDragMode, Default{dmManual})
          .Prop("DragCursor", &T::DragCursor, &T::SetDragCursor, Default{crDrag})
          .Prop("OnResize", &T::GetOnResize, &T::SetOnResize)
          .Prop("OnClick", &T::GetOnClick, &T::SetOnClick)
          .Prop("OnDragDrop", &T::GetOnDragDrop, &T::SetOnDragDrop)
          .Prop("OnDragOver", &T::GetOnDragOver, &T::SetOnDragOver)
          .Prop("OnEndDrag", &T::GetOnEndDrag, &T::SetOnEndDrag)
          .Prop("OnEnter", &T::GetOnEnter, &T::SetOnEnter)
          .Prop("OnExit", &T::GetOnExit, &T::SetOnExit)
          .Prop("OnKeyDown", &T::GetOnKeyDown, &T::SetOnKeyDown)
          .Prop("OnKeyPress", &T::GetOnKeyPress, &T::SetOnKeyPress)
          .Prop("OnKeyUp", &T::GetOnKeyUp, &T::SetOnKeyUp)
          .Prop("OnMouseDown", &T::GetOnMouseDown, &T::SetOnMouseDown)
          .Prop("OnMouseMove", &T::GetOnMouseMove, &T::SetOnMouseMove)
          .Prop("OnMouseUp", &T::GetOnMouseUp, &T::SetOnMouseUp)
          .Prop("PositionX", &T::PositionX, &T::SetPositionX, StoredBy{&T::StorePosition})
          .Prop("PositionY", &T::PositionY, &T::SetPositionY, StoredBy{&T::StorePosition})
          .Prop("PercentX", &T::PercentX, &T::SetPercentX, TypeIs{TypeInfo_TPercent()},
                StoredBy{&T::StorePercent})
          .Prop("PercentY", &T::PercentY, &T::SetPercentY, TypeIs{TypeInfo_TPercent()},
                StoredBy{&T::StorePercent})
          .Prop("Orientation", &T::Orientation, &T::SetOrientation)
          .Prop("Options", &T::Options, &T::SetOptions)
          .Prop("OnChange", &T::GetOnChange, &T::SetOnChange);
  return info;
}

const TClassInfo& TkvQuadSplit::StaticClass() {
  static const TClassInfo info = TClassBuilder<TkvQuadSplit>("TkvQuadSplit").Creatable();
  return info;
}

TkvCustomSplit::TkvCustomSplit(TComponent* owner) : TCustomControl(owner) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks};
  SetWidth(100);
  SetHeight(100);
  // With the bar width and the frame still 0, both positions become 50.
  SetPercentX(50);
  SetPercentY(50);
  FBarWidth = 6;
  FAutoUpdate = false;
  FStyle = kvsAuto;
  FBorderStyle = bsSingle;
  FLocked = false;
  FResizing = false;
  SetColor(clBtnFace);
  ++SplitInstanceCount;
  if (!PaneClassRegistered) {
    RegisterClasses({&TkvScrollPane::StaticClass()});
    PaneClassRegistered = true;
  }
  FPanes = new TList;
}

TkvCustomSplit::~TkvCustomSplit() {
  if (--SplitInstanceCount == 0) {
    DestroyCursor(SplitCursorHandle);
    SplitCursorHandle = nullptr;
  }
  // The platform frees the child panes after this body has run. Detach every
  // pane first, so that none of them reaches the list once it is released.
  for (int i = 0; i < FPanes->Count(); ++i)
    static_cast<TkvScrollPane*>(FPanes->Items(i))->FSplit = nullptr;
  FPanes->Free();
  FPanes = nullptr;
}

void TkvCustomSplit::Loaded() {
  TCustomControl::Loaded();
  FLoadedDone = true;
  SetStyle(FStyle);
}

void TkvCustomSplit::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WindowClass.style |= CS_HREDRAW | CS_VREDRAW;
  params.Style |= WS_CLIPCHILDREN;
}

void TkvCustomSplit::CreateWnd() {
  TCustomControl::CreateWnd();
  // A split created in code or dropped from the palette gets no Loaded from
  // a form reader: its style is resolved here.
  if (!FLoadedDone) Loaded();
  if (FComponentState.Contains(csDesigning)) {
    TCustomForm* form = GetParentForm(this);
    if (form && form->Designer()) form->Designer()->Modified();
  }
}

void TkvCustomSplit::SetStyle(TkvsStyle value) {
  FStyle = value;
  if (FComponentState.Contains(csLoading)) return;
  if (value != kvsAuto)
    FActualStyle = value;
  else
    FActualStyle = NewStyleControls ? kvsWin95 : kvsWin31;
  switch (FActualStyle) {
    case kvsWin95:
    case kvsWin97:
      FFrameWidth = 2;
      break;
    case kvsInset:
    case kvsGroove:
      FFrameWidth = 1;
      break;
    default:
      FFrameWidth = 0;
  }
  Invalidate();
  Realign();
}

void TkvCustomSplit::SetBarWidth(int32_t value) {
  FBarWidth = value;
  if (FComponentState.Contains(csLoading)) return;
  Realign();
  Invalidate();
}

void TkvCustomSplit::SetBorderStyle(TBorderStyle value) {
  if (FBorderStyle == value) return;
  FBorderStyle = value;
  SetStyle(FStyle);
}

void TkvCustomSplit::SetOrientation(TkvsOrientation value) {
  FOrientation = value;
  if (FComponentState.Contains(csLoading) || FComponentState.Contains(csReading)) return;
  Realign();
  Invalidate();
}

void TkvCustomSplit::SetOptions(TkvsOptions value) {
  if (FOptions == value) return;
  FOptions = value;
}

// The guard is reset even when the handler raises, so that a failing
// handler does not silence OnResize for good.
void TkvCustomSplit::Resize() {
  if (FResizing || !OnResize) return;
  FResizing = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{FResizing};
  OnResize(this);
}

void TkvCustomSplit::TriggerChangeEvent() { OnChange(this); }

void TkvCustomSplit::About() {
  std::string text = Format("%s %d.%d%s", {ProductTitle, 3, 0, 'e'});
  MessageBox(nullptr, text.c_str(), kPublisher, MB_OK);
}

void TkvCustomSplit::WMSize(TMessage& message) {
  TCustomControl::Dispatch(message);
  if (!FComponentState.Contains(csLoading)) Resize();
}

void TkvCustomSplit::wmWindowPosChanged(TMessage& message) {
  TCustomControl::Dispatch(message);
  if (FOptions.Contains(kvsSaveAsPercent))
    PercentChange();
  else
    PositionChange();
}

void TkvCustomSplit::cmVisibleChanged(TMessage& message) { TCustomControl::Dispatch(message); }

void TkvCustomSplit::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_SIZE:
      WMSize(message);
      break;
    case WM_WINDOWPOSCHANGED:
      wmWindowPosChanged(message);
      break;
    case CM_VISIBLECHANGED:
      cmVisibleChanged(message);
      break;
    case WM_NCHITTEST:
      WMNCHitTest(message);
      break;
    case WM_SETCURSOR:
      WMSetCursor(message);
      break;
    case CM_DESIGNHITTEST:
      CMDesignHitTest(message);
      break;
    case WM_CAPTURECHANGED:
      WMCaptureChanged(message);
      break;
    case CM_MOUSEENTER:
      cmMouseEnter(message);
      break;
    case CM_MOUSELEAVE:
      cmMouseLeave(message);
      break;
    default:
      TCustomControl::Dispatch(message);
  }
}
