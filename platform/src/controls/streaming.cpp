// Controls in form files: the children a control writes, the order it reads
// them in, and reading a control's state.
#include <algorithm>

#include "vcl/Controls.h"

void TControl::DefineProperties(TFiler* filer) { TComponent::DefineProperties(filer); }

void TControl::ReadState(TReader* reader) { TComponent::ReadState(reader); }

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Owner() == root) proc(c);
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

void TWinControl::ReadState(TReader* reader) {
  DisableAlign();
  struct Enable {
    TWinControl* c;
    ~Enable() { c->EnableAlign(); }
  } enable{this};
  TControl::ReadState(reader);
}
