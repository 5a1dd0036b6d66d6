// The split and its panes in form files: the panes are written as the split's
// children in pane order and attach themselves when read; six legacy
// property names of older form files are read and never written.
#include "ziVivire.h"

// Every value is dropped whole, so the stream stays in step whatever type an
// old file gave the legacy property.
void DiscardValue(TReader* reader) {
  switch (reader->NextValue()) {
    case vaInt8:
    case vaInt16:
    case vaInt32:
      reader->ReadInteger();
      break;
    case vaIdent:
      reader->ReadIdent();
      break;
    case vaFalse:
    case vaTrue:
      reader->ReadBoolean();
      break;
    default:
      reader->SkipValue();
  }
}

void TkvCustomSplit::DefineProperties(TFiler* filer) {
  TCustomControl::DefineProperties(filer);
  TReaderProc obsolete = [this](TReader* r) { ReadObsolete(r); };
  filer->DefineProperty("BarPosition", [this](TReader* r) { ReadBarPosition(r); }, nullptr,
                        false);
  filer->DefineProperty("PaneTabOrder", obsolete, nullptr, false);
  filer->DefineProperty("AutoScroll", obsolete, nullptr, false);
  filer->DefineProperty("BarColor", obsolete, nullptr, false);
  filer->DefineProperty("BarPosition.X", obsolete, nullptr, false);
  filer->DefineProperty("BarPosition.Y", obsolete, nullptr, false);
}

void TkvCustomSplit::ReadBarPosition(TReader* reader) {
  int32_t v = reader->ReadInteger();
  SetPositionX(v);
  SetPositionY(FPositionX);
}

void TkvCustomSplit::ReadObsolete(TReader* reader) { DiscardValue(reader); }

// Only the listed panes, whoever owns them; no other child control of the
// split reaches the stream.
void TkvCustomSplit::GetChildren(const TGetChildProc& proc, TComponent*) {
  for (int32_t i = 0; i < PaneCount(); ++i) proc(Panes(i));
}

void TkvCustomSplit::SetChildOrder(TComponent* child, int order) {
  TCustomControl::SetChildOrder(child, order);
}

void TkvCustomSplit::ReadState(TReader* reader) { TCustomControl::ReadState(reader); }

// The pane's own properties are read while it is still detached, so a
// PaneIndex in the stream moves nothing; then a pane read inside a split
// joins the end of its list, which makes the list order the stream order.
void TkvScrollPane::ReadState(TReader* reader) {
  TScrollBox::ReadState(reader);
  auto* split = dynamic_cast<TkvCustomSplit*>(reader->Parent());
  if (!split) return;
  SetParent(split);
  split->AddPane(this);
}
