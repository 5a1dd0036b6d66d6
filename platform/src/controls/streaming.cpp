// Controls in form files: the children a control writes, the order it reads
// them in, and reading a control's state.
#include <algorithm>

#include "vcl/Controls.h"

void TControl::DefineProperties(TFiler* filer) { TComponent::DefineProperties(filer); }

// A control read from a form file goes into the control whose children are
// being read before its own properties are read. While it is read it is not
// shown (csReadingState); afterwards it takes what it inherits from its
// parent (colour, font, hints), as a control inserted in code does.
void TControl::ReadState(TReader* reader) {
  FControlState.Include(csReadingState);
  struct Done {
    TControl* c;
    ~Done() { c->FControlState.Exclude(csReadingState); }
  } done{this};
  if (auto* parent = dynamic_cast<TWinControl*>(reader->Parent())) SetParent(parent);
  TComponent::ReadState(reader);
  FControlState.Exclude(csReadingState);
  if (FParent) {
    Perform(CM_PARENTCOLORCHANGED, 0, 0);
    Perform(CM_PARENTFONTCHANGED, 0, 0);
    Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  }
}

// The child controls that the root owns; a control that is the root writes
// after them the components it owns that have no parent (timers, lists...).
void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Owner() == root) proc(c);
  }
  if (root != this) return;
  for (int i = 0; i < ComponentCount(); ++i) {
    TComponent* c = Components(i);
    if (!c->HasParent()) proc(c);
  }
}

void TWinControl::SetChildOrder(TComponent* child, int order) {
  auto* w = dynamic_cast<TWinControl*>(child);
  if (!w) return;
  auto it = std::find(FWinControls.begin(), FWinControls.end(), w);
  if (it == FWinControls.end()) return;
  FWinControls.erase(it);
  int n = std::clamp(order, 0, static_cast<int>(FWinControls.size()));
  FWinControls.insert(FWinControls.begin() + n, w);
}

// The children arrive one by one: alignment waits until all are in. Once
// read, the control takes its parent's 3D look and shows as its parent does.
void TWinControl::ReadState(TReader* reader) {
  DisableAlign();
  struct Enable {
    TWinControl* c;
    ~Enable() { c->EnableAlign(); }
  } enable{this};
  TControl::ReadState(reader);
  if (FParent) {
    Perform(CM_PARENTCTL3DCHANGED, 0, 0);
    UpdateControlState();
  }
}
