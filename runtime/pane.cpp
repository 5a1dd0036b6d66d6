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
    default:
      TScrollBox::Dispatch(message);
  }
}
