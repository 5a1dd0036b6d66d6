// A small fixture for the split tests: a fresh window system and a shown
// form per test, splits owned by and parented to that form, panes owned by
// the form, parented to a split and attached to it.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "ziVivire.h"

inline std::ostream& operator<<(std::ostream& os, const TRect& r) {
  return os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

namespace splittest {

class SplitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os::ResetWindowSystem();
    form = new TForm(nullptr);
    form->SetBounds(0, 0, 640, 480);
    form->Show();
    os::ProcessMessages();
  }
  void TearDown() override {
    delete form;
    form = nullptr;
    os::ResetWindowSystem();
  }

  // A split on the form, with its window. The window has no border, so the
  // client area is width × height.
  template <class Split = TruVezuz>
  Split* NewSplit(int32_t width = 100, int32_t height = 100) {
    auto* s = new Split(form);
    s->SetBounds(10, 10, width, height);
    s->SetParent(form);
    os::ProcessMessages();
    return s;
  }

  // A pane owned by the form, parented to the split and attached to it, the
  // way the component editor adds one. A new pane takes the split's colour;
  // these are made white, so that frames and strips stand out in pixels.
  TkvScrollPane* NewPane(TkvCustomSplit* split) {
    auto* p = new TkvScrollPane(form);
    p->SetParent(split);
    p->SetColor(clWindow);
    split->AddPane(p);
    return p;
  }
  std::vector<TkvScrollPane*> NewPanes(TkvCustomSplit* split, int n) {
    std::vector<TkvScrollPane*> panes;
    for (int i = 0; i < n; ++i) panes.push_back(NewPane(split));
    split->Realign();
    return panes;
  }

  // The list of a split, front to back.
  static std::vector<TkvScrollPane*> List(const TkvCustomSplit* split) {
    std::vector<TkvScrollPane*> out;
    for (int32_t i = 0; i < split->PaneCount(); ++i) out.push_back(split->Panes(i));
    return out;
  }

  // Stores a bar width the way a form reader does, which requests no layout:
  // the panes show it only after the next realign.
  static void StageBarWidth(TkvCustomSplit* split, int32_t barWidth) {
    split->SetComponentStateFlag(csLoading, true);
    split->SetBarWidth(barWidth);
    split->SetComponentStateFlag(csLoading, false);
  }
  // Whether the panes are laid out for the split's current bar width: in a
  // side-by-side layout the second visible pane begins at PositionX +
  // BarWidth. Used with StageBarWidth to see whether an operation realigned.
  static bool LaidOutForBarWidth(TkvCustomSplit* split) {
    return split->VisiblePanes(1)->Left() == split->PositionX() + split->BarWidth();
  }
  // Stages a new bar width, runs the operation and tells whether it
  // realigned the split. The split needs two or more side-by-side panes.
  template <class F>
  static bool Realigns(TkvCustomSplit* split, F&& operation) {
    EXPECT_TRUE(LaidOutForBarWidth(split)) << "layout not current before the operation";
    StageBarWidth(split, split->BarWidth() == 6 ? 10 : 6);
    operation();
    return LaidOutForBarWidth(split);
  }

  // Counts the split's OnResize events in `resizes`.
  void CountResizes(TkvCustomSplit* split) {
    split->OnResize = [this](TObject* sender) {
      EXPECT_EQ(sender, resizeSender);
      ++resizes;
    };
    resizeSender = split;
  }

  TForm* form = nullptr;
  int resizes = 0;
  TObject* resizeSender = nullptr;
};

}  // namespace splittest
