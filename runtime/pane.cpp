// The scroll pane and the split's pane list.
#include <algorithm>

#include "ziVivire.h"

// ---------------------------------------------------------------------------
// The pane list of the split

bool TkvCustomSplit::HidingInForce() const {
  return !FComponentState.Contains(csDesigning) && FOptions.Contains(kvsHideInvisible);
}

int32_t TkvCustomSplit::GetPaneCount() const { return FPanes->Count(); }

TkvScrollPane* TkvCustomSplit::GetPanes(int32_t index) const {
  return static_cast<TkvScrollPane*>(FPanes->Items(index));
}

int32_t TkvCustomSplit::GetVisiblePaneCount() const {
  if (!HidingInForce()) return PaneCount();
  int32_t n = 0;
  for (int32_t i = 0; i < PaneCount(); ++i)
    if (Panes(i)->Visible()) ++n;
  return n;
}

TkvScrollPane* TkvCustomSplit::GetVisiblePanes(int32_t index) const {
  if (!HidingInForce()) return Panes(index);
  int32_t seen = 0;
  for (int32_t i = 0; i < PaneCount(); ++i) {
    TkvScrollPane* p = Panes(i);
    if (p->Visible() && ++seen == index + 1) return p;
  }
  return nullptr;
}

// Attaching a pane that is already listed here changes nothing; a pane
// attached to another split moves here. Either way a pane stays listed
// exactly once, in exactly one split.
void TkvCustomSplit::AddPane(TkvScrollPane* pane) {
  if (!pane) return;
  if (pane->FSplit == this && FPanes->IndexOf(pane) >= 0) return;
  if (pane->FSplit && pane->FSplit != this) pane->FSplit->RemovePane(pane);
  pane->FSplit = this;
  FPanes->Add(pane);
  Invalidate();
}

// Only a pane attached to this split is detached from it: a pane of another
// split keeps its attachment.
void TkvCustomSplit::RemovePane(TkvScrollPane* pane) {
  if (!pane) return;
  if (pane->FSplit == this) pane->FSplit = nullptr;
  FPanes->Remove(pane);
  Invalidate();
}

void TkvCustomSplit::Swap(int32_t i, int32_t j) {
  DisableAlign();
  try {
    void* p = FPanes->Items(i);
    void* q = FPanes->Items(j);
    FPanes->SetItems(i, q);
    FPanes->SetItems(j, p);
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
  Realign();
}

void TkvCustomSplit::Rotate() {
  DisableAlign();
  try {
    void* last = FPanes->Items(PaneCount() - 1);
    FPanes->Delete(PaneCount() - 1);
    FPanes->Insert(0, last);
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
  Realign();
}

// ---------------------------------------------------------------------------
// TkvScrollPane

const TClassInfo& TkvScrollPane::StaticClass() {
  using T = TkvScrollPane;
  static const TClassInfo info =
      TClassBuilder<T>("TkvScrollPane")
          .Creatable()
          .Prop("AboutReg", &T::AboutReg, &T::SetAboutReg, TypeIs{TypeInfo_TAboutRegString()})
          .Prop("PaneIndex", &T::GetPaneIndex, &T::SetPaneIndex, StoredNever{})
          .ReadOnlyProp("Align", &T::PaneAlign, StoredNever{})
          .Prop("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, TypeIs{BorderStyleTypeInfo()},
                Default{bsNone})
          .Prop("Color", &T::Color, &T::SetColor, StoredBy{&T::IsColorStored})
          .Prop("Visible", &T::Visible, &T::SetVisible, Default{true});
  return info;
}

TkvScrollPane::TkvScrollPane(TComponent* owner) : TScrollBox(owner) {
  FSplit = nullptr;
  SetBorderStyle(bsNone);
  SetColor(clWindow);
}

TkvScrollPane::~TkvScrollPane() {
  if (FSplit) FSplit->RemovePane(this);
}

int32_t TkvScrollPane::GetPaneIndex() const {
  if (!FSplit) return -1;
  return FSplit->FPanes->IndexOf(const_cast<TkvScrollPane*>(this));
}

void TkvScrollPane::SetPaneIndex(int32_t value) {
  int32_t old = GetPaneIndex();
  if (value == old || !FSplit) return;
  int32_t count = FSplit->PaneCount();
  int32_t target = value < 0 ? 0 : (value > count - 1 ? count - 1 : value);
  // A pane attached but not listed has no place to move from.
  if (old >= 0) FSplit->FPanes->Move(old, target);
  FSplit->Realign();
}

// A pane moved away from its split is detached from it first, so that the
// split never lays out or lists a control that is not its child.
void TkvScrollPane::SetParent(TWinControl* parent) {
  if (FSplit && parent != FSplit) FSplit->RemovePane(this);
  TScrollBox::SetParent(parent);
}

void TkvScrollPane::cmVisibleChanged(TMessage& message) {
  TScrollBox::Dispatch(message);
  if (FSplit) FSplit->Realign();
}

void TkvScrollPane::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case CM_VISIBLECHANGED:
      cmVisibleChanged(message);
      break;
    case WM_HSCROLL:
      WMHScroll(message);
      break;
    case WM_VSCROLL:
      WMVScroll(message);
      break;
    case WM_PAINT:
      wmPaint(message);
      break;
    default:
      TScrollBox::Dispatch(message);
  }
}

// ---------------------------------------------------------------------------
// Scrolling in step, and the pane's name at design time

namespace {

// Sets the position of one axis in every other scroll pane among the
// split's child controls, listed or not, visible or not. Setting a position
// sends no scroll message, so one message makes exactly one pass.
void SyncPanes(TkvScrollPane* self, TWinControl* parent, bool horizontal) {
  // A pane outside any control has no split to read.
  if (!parent) return;
  auto* split = dynamic_cast<TkvCustomSplit*>(parent);
  if (!split) throw EInvalidCast("Invalid class typecast");
  if (!split->SyncScroll()) return;
  const int count = split->ControlCount();
  for (int i = 0; i < count; ++i) {
    auto* c = dynamic_cast<TkvScrollPane*>(split->Controls(i));
    if (!c || c == self) continue;
    if (horizontal)
      c->HorzScrollBar()->SetPosition(self->HorzScrollBar()->ScrollPos());
    else
      c->VertScrollBar()->SetPosition(self->VertScrollBar()->ScrollPos());
  }
}

}  // namespace

void TkvScrollPane::WMHScroll(TMessage& message) {
  TScrollBox::WMHScroll(message);
  SyncPanes(this, Parent(), true);
}

void TkvScrollPane::WMVScroll(TMessage& message) {
  TScrollBox::WMVScroll(message);
  SyncPanes(this, Parent(), false);
}

// The platform paints the pane first; then, in the designer, the pane's name
// goes on top in grey at (3, 3) of the window, in the device context's own
// font. Drawn after the painting, the name is not erased by the pane's
// background.
void TkvScrollPane::wmPaint(TMessage& message) {
  TScrollBox::Dispatch(message);
  if (!FComponentState.Contains(csDesigning) || !HandleAllocated()) return;
  HWND wnd = WindowHandle();
  HDC dc = GetWindowDC(wnd);
  char buffer[256];
  const std::string& name = Name();
  const size_t n = std::min<size_t>(name.size(), 255);
  name.copy(buffer, n);
  buffer[n] = 0;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(128, 128, 128));
  TextOutA(dc, 3, 3, buffer, static_cast<int>(n));
  ReleaseDC(wnd, dc);
}
