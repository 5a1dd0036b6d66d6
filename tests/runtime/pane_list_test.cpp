// The scroll pane and the split's pane list: attaching and detaching, the
// visible-pane rule, reordering with its failures, and the life of panes
// and splits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixture.h"

using namespace splittest;

namespace {

using Panes = std::vector<TkvScrollPane*>;

// Runs the operation, which must raise EListError with this message.
template <class F>
void ExpectListError(F&& operation, const std::string& message) {
  try {
    operation();
    ADD_FAILURE() << "no EListError";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

}  // namespace

TEST_F(SplitTest, NewPaneIsDetached) {
  auto* p = new TkvScrollPane(form);
  EXPECT_EQ(p->Split(), nullptr);
  EXPECT_EQ(p->PaneIndex(), -1);
  EXPECT_EQ(p->BorderStyle(), bsNone);
  EXPECT_EQ(p->Color(), clWindow);
  EXPECT_EQ(p->PaneAlign(), 0);
  p->SetPaneIndex(0);  // nothing to move
  EXPECT_EQ(p->PaneIndex(), -1);
}

TEST(PaneProps, PublishedSet) {
  const TClassInfo& c = TkvScrollPane::StaticClass();
  PPropInfo index = c.FindProp("PaneIndex");
  ASSERT_NE(index, nullptr);
  EXPECT_TRUE(index->StoredNever);
  PPropInfo align = c.FindProp("Align");
  ASSERT_NE(align, nullptr);
  EXPECT_FALSE(align->HasSetter);
  EXPECT_EQ(c.FindProp("BorderStyle")->Default, bsNone);
  EXPECT_EQ(c.FindProp("Visible")->Default, 1);
  EXPECT_EQ(c.FindProp("AboutReg")->PropType->MaxLength, 1);
}

TEST_F(SplitTest, AddPaneAppendsAndRepaintsWithoutRealigning) {
  auto* s = NewSplit();
  auto panes = NewPanes(s, 2);
  EXPECT_EQ(List(s), panes);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(panes[i]->Split(), s);
    EXPECT_EQ(panes[i]->PaneIndex(), i);
    EXPECT_EQ(panes[i]->Parent(), s);
  }
  os::ProcessMessages();
  const int paints = os::PaintCount(s->Handle());
  const TRect first = panes[0]->BoundsRect();
  auto* third = new TkvScrollPane(form);
  third->SetParent(s);
  third->SetBounds(1, 1, 5, 5);
  s->AddPane(third);
  EXPECT_EQ(s->PaneCount(), 3);
  EXPECT_EQ(panes[0]->BoundsRect(), first);
  EXPECT_EQ(third->BoundsRect(), Rect(1, 1, 6, 6));
  os::ProcessMessages();
  EXPECT_GT(os::PaintCount(s->Handle()), paints);
}

TEST_F(SplitTest, PanesOutOfRangeRaise) {
  auto* s = NewSplit();
  NewPanes(s, 3);
  ExpectListError([&] { s->Panes(3); }, "List index out of bounds (3)");
  ExpectListError([&] { s->Panes(-1); }, "List index out of bounds (-1)");
}

TEST_F(SplitTest, EmptySplit) {
  auto* s = NewSplit();
  EXPECT_EQ(s->PaneCount(), 0);
  EXPECT_EQ(s->VisiblePaneCount(), 0);
  ExpectListError([&] { s->VisiblePanes(0); }, "List index out of bounds (0)");
  s->SetOptions({kvsHideInvisible});
  EXPECT_EQ(s->VisiblePanes(0), nullptr);
}

TEST_F(SplitTest, VisiblePaneRule) {
  struct Case {
    const char* name;
    bool designing;
    TkvsOptions options;
    std::vector<bool> shown;  // Visible of A, B, C
    int32_t count;
    std::vector<int> places;  // list index of each visible place; -1 for nil
  };
  const Case cases[] = {
      {"run time, hiding", false, {kvsHideInvisible}, {true, false, true}, 2, {0, 2, -1}},
      {"run time, no hiding", false, {}, {true, false, true}, 3, {0, 1, 2}},
      {"designer, hiding", true, {kvsHideInvisible}, {true, false, true}, 3, {0, 1, 2}},
      {"all hidden", false, {kvsHideInvisible}, {false, false, false}, 0, {-1}},
      {"last shown", false, {kvsHideInvisible, kvsVer1Compat}, {false, false, true}, 1, {2, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* s = NewSplit();
    Panes panes = NewPanes(s, 3);
    s->SetDesigning(c.designing);
    s->SetOptions(c.options);
    for (int i = 0; i < 3; ++i) panes[i]->SetVisible(c.shown[i]);
    EXPECT_EQ(s->VisiblePaneCount(), c.count);
    for (size_t k = 0; k < c.places.size(); ++k)
      EXPECT_EQ(s->VisiblePanes(static_cast<int32_t>(k)),
                c.places[k] < 0 ? nullptr : panes[c.places[k]])
          << "place " << k;
    if (s->Options().Contains(kvsHideInvisible) && !c.designing) {
      EXPECT_EQ(s->VisiblePanes(-1), nullptr);
    }
    delete s;
  }
}

// Reordering on [A, B, C]; every operation realigns unless it names the
// pane's current place.
TEST_F(SplitTest, ReorderingTable) {
  struct Case {
    const char* name;
    void (*operation)(TkvCustomSplit* s, const Panes& p);
    std::vector<int> order;
    bool realigns;
  };
  const Case cases[] = {
      {"Rotate", [](TkvCustomSplit* s, const Panes&) { s->Rotate(); }, {2, 0, 1}, true},
      {"Swap(0, 2)", [](TkvCustomSplit* s, const Panes&) { s->Swap(0, 2); }, {2, 1, 0}, true},
      {"Swap(2, 1)", [](TkvCustomSplit* s, const Panes&) { s->Swap(2, 1); }, {0, 2, 1}, true},
      {"Swap(1, 1)", [](TkvCustomSplit* s, const Panes&) { s->Swap(1, 1); }, {0, 1, 2}, true},
      {"A.PaneIndex := 9", [](TkvCustomSplit*, const Panes& p) { p[0]->SetPaneIndex(9); },
       {1, 2, 0}, true},
      {"C.PaneIndex := -5", [](TkvCustomSplit*, const Panes& p) { p[2]->SetPaneIndex(-5); },
       {2, 0, 1}, true},
      {"A.PaneIndex := 1", [](TkvCustomSplit*, const Panes& p) { p[0]->SetPaneIndex(1); },
       {1, 0, 2}, true},
      {"C.PaneIndex := 0", [](TkvCustomSplit*, const Panes& p) { p[2]->SetPaneIndex(0); },
       {2, 0, 1}, true},
      {"C.PaneIndex := 7 (clamped to its place)",
       [](TkvCustomSplit*, const Panes& p) { p[2]->SetPaneIndex(7); }, {0, 1, 2}, true},
      {"B.PaneIndex := 1 (its place)",
       [](TkvCustomSplit*, const Panes& p) { p[1]->SetPaneIndex(1); }, {0, 1, 2}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* s = NewSplit();
    Panes panes = NewPanes(s, 3);
    EXPECT_EQ(Realigns(s, [&] { c.operation(s, panes); }), c.realigns);
    Panes expected;
    for (int i : c.order) expected.push_back(panes[i]);
    EXPECT_EQ(List(s), expected);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(expected[i]->PaneIndex(), i);
    EXPECT_EQ(s->AlignLevel(), 0);
    delete s;
  }
}

TEST_F(SplitTest, RotateOfOnePaneRealigns) {
  auto* s = NewSplit();
  auto* p = NewPanes(s, 1)[0];
  // Moved behind the split's back, the pane comes back only with a realign.
  SetWindowPos(p->Handle(), nullptr, 5, 5, 20, 20, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_EQ(p->BoundsRect(), Rect(5, 5, 25, 25));
  s->Rotate();
  EXPECT_EQ(p->BoundsRect(), Rect(2, 2, 98, 98));
  EXPECT_EQ(List(s), Panes{p});
}

// A failed reordering leaves the list as it was, alignment enabled again,
// and no realign.
TEST_F(SplitTest, FailedReorderingChangesNothing) {
  struct Case {
    const char* name;
    void (*operation)(TkvCustomSplit* s);
    const char* message;
  };
  const Case cases[] = {
      {"Swap(0, 3)", [](TkvCustomSplit* s) { s->Swap(0, 3); }, "List index out of bounds (3)"},
      {"Swap(3, 0)", [](TkvCustomSplit* s) { s->Swap(3, 0); }, "List index out of bounds (3)"},
      {"Swap(-1, 1)", [](TkvCustomSplit* s) { s->Swap(-1, 1); }, "List index out of bounds (-1)"},
      {"Swap(1, 5)", [](TkvCustomSplit* s) { s->Swap(1, 5); }, "List index out of bounds (5)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* s = NewSplit();
    Panes panes = NewPanes(s, 3);
    EXPECT_FALSE(Realigns(s, [&] { ExpectListError([&] { c.operation(s); }, c.message); }));
    EXPECT_EQ(List(s), panes);
    EXPECT_EQ(s->AlignLevel(), 0);
    // Alignment works again.
    s->Realign();
    EXPECT_TRUE(LaidOutForBarWidth(s));
    delete s;
  }
}

TEST_F(SplitTest, RotateOfEmptyListRaises) {
  auto* s = NewSplit();
  ExpectListError([&] { s->Rotate(); }, "List index out of bounds (-1)");
  EXPECT_EQ(s->PaneCount(), 0);
  EXPECT_EQ(s->AlignLevel(), 0);
  // Alignment works again: a pane added now is placed.
  auto* p = NewPane(s);
  s->Realign();
  EXPECT_EQ(p->BoundsRect(), Rect(2, 2, 98, 98));
}

// Hiding or showing an attached pane realigns its split, in the designer too.
TEST_F(SplitTest, PaneVisibilityChangeRealigns) {
  auto* s = NewSplit();
  Panes panes = NewPanes(s, 3);
  s->SetOptions({kvsHideInvisible});
  panes[1]->Hide();
  EXPECT_EQ(panes[0]->BoundsRect(), Rect(2, 2, 50, 98));
  EXPECT_EQ(panes[2]->BoundsRect(), Rect(56, 2, 98, 98));
  panes[1]->Show();
  EXPECT_EQ(panes[1]->BoundsRect(), Rect(56, 2, 98, 50));

  s->SetDesigning(true);
  EXPECT_TRUE(Realigns(s, [&] { panes[2]->Hide(); }));
  EXPECT_EQ(s->VisiblePaneCount(), 3);
  EXPECT_TRUE(Realigns(s, [&] { panes[2]->Show(); }));
}

TEST_F(SplitTest, DestroyedPaneLeavesTheList) {
  auto* s = NewSplit();
  Panes panes = NewPanes(s, 3);
  os::ProcessMessages();
  const int paints = os::PaintCount(s->Handle());
  delete panes[1];
  EXPECT_EQ(List(s), (Panes{panes[0], panes[2]}));
  EXPECT_EQ(panes[2]->PaneIndex(), 1);
  os::ProcessMessages();
  EXPECT_GT(os::PaintCount(s->Handle()), paints);
  s->Realign();
  EXPECT_EQ(panes[2]->BoundsRect(), Rect(56, 2, 98, 98));
}

// The split's child panes go with it (the platform frees a control's
// children), and none of them reaches the released list.
TEST_F(SplitTest, DestroyingTheSplitWithAttachedPanes) {
  auto* s = NewSplit();
  NewPanes(s, 3);
  auto* other = NewSplit();
  Panes kept = NewPanes(other, 1);
  ASSERT_EQ(form->ComponentCount(), 6);
  delete s;
  EXPECT_EQ(form->ComponentCount(), 2);
  EXPECT_EQ(List(other), kept);
  delete kept[0];
  EXPECT_EQ(other->PaneCount(), 0);
}

TEST_F(SplitTest, DestroyingTheFormWithSplitsAndPanes) {
  auto* s = NewSplit();
  NewPanes(s, 4);
  auto* q = NewSplit<TkvQuadSplit>();
  NewPanes(q, 2);
  auto* loose = new TkvScrollPane(form);  // owned by the form, on no split
  loose->SetParent(form);
  os::ProcessMessages();
  delete form;
  form = nullptr;
}

// Panes created before their split go with the split all the same, once.
TEST_F(SplitTest, DestroyingTheFormFreesPanesCreatedBeforeTheSplit) {
  auto* a = new TkvScrollPane(form);
  auto* b = new TkvScrollPane(form);
  auto* s = NewSplit();
  for (auto* p : {a, b}) {
    p->SetParent(s);
    s->AddPane(p);
  }
  s->Realign();
  delete form;
  form = nullptr;
}

TEST_F(SplitTest, SecondAddPaneOfTheSamePaneIsIgnored) {
  auto* s = NewSplit();
  Panes panes = NewPanes(s, 2);
  s->AddPane(panes[0]);
  EXPECT_EQ(List(s), panes);
  EXPECT_EQ(panes[0]->PaneIndex(), 0);
  delete panes[0];
  EXPECT_EQ(List(s), Panes{panes[1]});
}

TEST_F(SplitTest, AddPaneOfAPaneOfAnotherSplitMovesIt) {
  auto* s1 = NewSplit();
  auto* s2 = NewSplit();
  Panes one = NewPanes(s1, 2);
  Panes two = NewPanes(s2, 1);
  // Reparented first, as the component editor does.
  one[0]->SetParent(s2);
  s2->AddPane(one[0]);
  EXPECT_EQ(List(s1), Panes{one[1]});
  EXPECT_EQ(List(s2), (Panes{two[0], one[0]}));
  EXPECT_EQ(one[0]->Split(), s2);
  EXPECT_EQ(one[0]->PaneIndex(), 1);
  // Attached without reparenting: still listed once, in one split.
  s1->AddPane(two[0]);
  EXPECT_EQ(List(s1), (Panes{one[1], two[0]}));
  EXPECT_EQ(List(s2), Panes{one[0]});
  EXPECT_EQ(two[0]->Split(), s1);
  delete two[0];
  EXPECT_EQ(List(s1), Panes{one[1]});
  EXPECT_EQ(List(s2), Panes{one[0]});
}

TEST_F(SplitTest, RemovePaneDetaches) {
  auto* s = NewSplit();
  Panes panes = NewPanes(s, 3);
  const TRect middle = panes[1]->BoundsRect();
  s->RemovePane(panes[1]);
  EXPECT_EQ(panes[1]->Split(), nullptr);
  EXPECT_EQ(panes[1]->PaneIndex(), -1);
  EXPECT_EQ(panes[1]->Parent(), s);  // still a child control
  EXPECT_EQ(List(s), (Panes{panes[0], panes[2]}));
  // No longer placed.
  s->Realign();
  EXPECT_EQ(panes[1]->BoundsRect(), middle);
  EXPECT_EQ(panes[2]->BoundsRect(), Rect(56, 2, 98, 98));
  // Removing it again changes nothing.
  s->RemovePane(panes[1]);
  EXPECT_EQ(s->PaneCount(), 2);
}

TEST_F(SplitTest, RemovePaneBySplitItIsNotAttachedTo) {
  auto* s1 = NewSplit();
  auto* s2 = NewSplit();
  Panes one = NewPanes(s1, 1);
  Panes two = NewPanes(s2, 1);
  s2->RemovePane(one[0]);
  EXPECT_EQ(one[0]->Split(), s1);
  EXPECT_EQ(List(s1), one);
  EXPECT_EQ(List(s2), two);
  delete one[0];
  EXPECT_EQ(s1->PaneCount(), 0);
}

TEST_F(SplitTest, PaneReparentedAwayIsDetached) {
  auto* s = NewSplit();
  Panes panes = NewPanes(s, 2);
  panes[0]->SetParent(form);
  EXPECT_EQ(panes[0]->Split(), nullptr);
  EXPECT_EQ(List(s), Panes{panes[1]});
  // The remaining pane has the split to itself.
  s->Realign();
  EXPECT_EQ(panes[1]->BoundsRect(), Rect(2, 2, 98, 98));
  delete s;
  delete panes[0];
}
