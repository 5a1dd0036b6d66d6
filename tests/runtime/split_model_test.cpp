// The split control model: defaults, style resolution, the setters that
// realign, the events, the unit-level state, About and the published
// property set.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixture.h"

using namespace splittest;

namespace {

// NewStyleControls set for one scope.
struct NewStyle {
  bool saved = NewStyleControls;
  explicit NewStyle(bool value) { NewStyleControls = value; }
  ~NewStyle() { NewStyleControls = saved; }
};

template <class Split>
class SplitDefaults : public SplitTest {};
using SplitClasses = ::testing::Types<TruVezuz, TkvQuadSplit>;
TYPED_TEST_SUITE(SplitDefaults, SplitClasses);

}  // namespace

// A new split, before its window exists; the quad split is the same split.
TYPED_TEST(SplitDefaults, NewSplitHasItsDefaults) {
  auto* s = new TypeParam(this->form);
  EXPECT_EQ(s->Width(), 100);
  EXPECT_EQ(s->Height(), 100);
  EXPECT_EQ(s->PositionX(), 50);
  EXPECT_EQ(s->PositionY(), 50);
  EXPECT_EQ(s->PercentX(), 50);
  EXPECT_EQ(s->PercentY(), 50);
  EXPECT_EQ(s->BarWidth(), 6);
  EXPECT_EQ(s->Style(), kvsAuto);
  EXPECT_EQ(s->ActualStyle(), kvsAuto);
  EXPECT_EQ(s->FrameWidth(), 0);
  EXPECT_EQ(s->BorderStyle(), bsSingle);
  EXPECT_EQ(s->Color(), clBtnFace);
  EXPECT_EQ(static_cast<uint32_t>(s->Color()), 0x8000000Fu);
  EXPECT_TRUE(s->Options().Empty());
  EXPECT_EQ(s->Orientation(), kvsVert);
  EXPECT_FALSE(s->AutoUpdate());
  EXPECT_FALSE(s->Locked());
  EXPECT_FALSE(s->SyncScroll());
  EXPECT_FALSE(s->MouseOver());
  EXPECT_EQ(s->PaneCount(), 0);
  EXPECT_EQ(s->VisiblePaneCount(), 0);
  EXPECT_TRUE(s->AboutReg().empty());
  // csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks:
  // no csAcceptsControls, so nothing is dropped onto the split itself.
  EXPECT_EQ(s->ControlStyle().Bits(), 234u);
  EXPECT_FALSE(s->ControlStyle().Contains(csAcceptsControls));
  EXPECT_EQ(s->Owner(), this->form);
}

TYPED_TEST(SplitDefaults, WindowCreationResolvesTheStyle) {
  auto* s = this->template NewSplit<TypeParam>();
  EXPECT_EQ(s->Style(), kvsAuto);
  EXPECT_EQ(s->ActualStyle(), kvsWin95);
  EXPECT_EQ(s->FrameWidth(), 2);
  LONG style = GetWindowLong(s->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_CLIPCHILDREN);
  EXPECT_FALSE(style & WS_BORDER);
  // The window has no border: the client area is the whole split.
  EXPECT_EQ(s->ClientWidth(), 100);
  EXPECT_EQ(s->ClientHeight(), 100);
}

TEST_F(SplitTest, OldStyleControlsResolveAutoToWin31) {
  NewStyle old(false);
  auto* s = NewSplit();
  auto* p = NewPane(s);
  s->Realign();
  EXPECT_EQ(s->ActualStyle(), kvsWin31);
  EXPECT_EQ(s->FrameWidth(), 0);
  EXPECT_EQ(p->BoundsRect(), Rect(0, 0, 100, 100));
}

TEST_F(SplitTest, StyleResolutionTable) {
  struct Case {
    TkvsStyle style;
    bool newStyle;
    TkvsStyle actual;
    int32_t frame;
  };
  const Case cases[] = {
      {kvsAuto, true, kvsWin95, 2},   {kvsAuto, false, kvsWin31, 0},
      {kvsWin31, true, kvsWin31, 0},  {kvsWin95, false, kvsWin95, 2},
      {kvsInset, true, kvsInset, 1},  {kvsGroove, true, kvsGroove, 1},
      {kvsWin97, true, kvsWin97, 2},  {kvsWin97, false, kvsWin97, 2},
  };
  auto* s = NewSplit();
  auto* p = NewPane(s);
  s->Realign();
  for (const Case& c : cases) {
    SCOPED_TRACE(GetEnumName(TTypeOf<TkvsStyle>::Info(), c.style) +
                 (c.newStyle ? " new look" : " old look"));
    NewStyle look(c.newStyle);
    // Resolution starts from a different frame, so that the realign shows.
    s->SetStyle(c.frame == 0 ? kvsWin95 : kvsWin31);
    s->SetStyle(c.style);
    EXPECT_EQ(s->Style(), c.style);
    EXPECT_EQ(s->ActualStyle(), c.actual);
    EXPECT_EQ(s->FrameWidth(), c.frame);
    EXPECT_EQ(p->BoundsRect(), Rect(c.frame, c.frame, 100 - c.frame, 100 - c.frame));
  }
}

// Writing the current style again still resolves: a change of the look that
// the style stands for shows at once.
TEST_F(SplitTest, EveryStyleWriteResolvesAgain) {
  auto* s = NewSplit();
  ASSERT_EQ(s->ActualStyle(), kvsWin95);
  NewStyle old(false);
  s->SetStyle(kvsAuto);
  EXPECT_EQ(s->ActualStyle(), kvsWin31);
  EXPECT_EQ(s->FrameWidth(), 0);
}

TEST_F(SplitTest, StyleWrittenWhileLoadingResolvesInLoaded) {
  // A split read from a form file: loading from before its window exists.
  auto* s = new TruVezuz(form);
  s->SetComponentStateFlag(csLoading, true);
  s->SetStyle(kvsWin97);
  EXPECT_EQ(s->Style(), kvsWin97);
  EXPECT_EQ(s->ActualStyle(), kvsAuto);
  EXPECT_EQ(s->FrameWidth(), 0);
  s->Loaded();
  EXPECT_FALSE(s->ComponentState().Contains(csLoading));
  EXPECT_EQ(s->ActualStyle(), kvsWin97);
  EXPECT_EQ(s->FrameWidth(), 2);
  // The window created afterwards does not resolve again.
  NewStyle old(false);
  s->SetStyle(kvsWin97);  // still the same style
  s->SetParent(form);
  ASSERT_TRUE(s->HandleAllocated());
  EXPECT_EQ(s->ActualStyle(), kvsWin97);
}

TEST_F(SplitTest, StyleWrittenWhileLoadingWaitsForLoaded) {
  auto* s = NewSplit();
  auto* p = NewPane(s);
  s->Realign();
  s->SetComponentStateFlag(csLoading, true);
  s->SetStyle(kvsWin31);
  EXPECT_EQ(s->Style(), kvsWin31);
  EXPECT_EQ(s->ActualStyle(), kvsWin95);
  EXPECT_EQ(p->BoundsRect(), Rect(2, 2, 98, 98));
  s->Loaded();
  EXPECT_EQ(s->ActualStyle(), kvsWin31);
  EXPECT_EQ(p->BoundsRect(), Rect(0, 0, 100, 100));
}

namespace {
struct CountingDesigner : TDesigner {
  int modified = 0;
  void Modified() override { ++modified; }
  bool IsDesignMsg(TControl*, TMessage&) override { return false; }
  void Notification(TComponent*, TOperation) override {}
};
}  // namespace

// In the designer every creation of the split's window marks the form
// modified; a new window does not resolve the style again.
TEST_F(SplitTest, WindowCreationInTheDesigner) {
  CountingDesigner designer;
  form->SetDesigner(&designer);
  auto* s = new TruVezuz(form);
  s->SetDesigning(true);
  s->SetParent(form);
  ASSERT_TRUE(s->HandleAllocated());
  EXPECT_EQ(designer.modified, 1);
  {
    NewStyle old(false);
    s->Perform(CM_RECREATEWND, 0, 0);
    ASSERT_TRUE(s->HandleAllocated());
    EXPECT_EQ(designer.modified, 2);
    EXPECT_EQ(s->ActualStyle(), kvsWin95);
  }
  // At run time the designer is not told.
  NewSplit();
  EXPECT_EQ(designer.modified, 2);
  form->SetDesigner(nullptr);
}

TEST_F(SplitTest, BorderStyleChangeResolvesTheStyleAgain) {
  auto* s = NewSplit();
  auto* p = NewPane(s);
  s->Realign();
  {
    // With the old look in force, re-resolving kvsAuto gives kvsWin31.
    NewStyle old(false);
    s->SetBorderStyle(bsNone);
    EXPECT_EQ(s->BorderStyle(), bsNone);
    EXPECT_EQ(s->ActualStyle(), kvsWin31);
    EXPECT_EQ(p->BoundsRect(), Rect(0, 0, 100, 100));
  }
  // The same value again does nothing: the old resolution stays.
  s->SetBorderStyle(bsNone);
  EXPECT_EQ(s->ActualStyle(), kvsWin31);
  EXPECT_EQ(p->BoundsRect(), Rect(0, 0, 100, 100));
  // It adds no window border.
  EXPECT_FALSE(GetWindowLong(s->Handle(), GWL_STYLE) & WS_BORDER);
  s->SetBorderStyle(bsSingle);
  EXPECT_EQ(s->ActualStyle(), kvsWin95);
  EXPECT_EQ(p->BoundsRect(), Rect(2, 2, 98, 98));
}

TEST_F(SplitTest, BarWidthWriteRealignsAlsoWhenUnchanged) {
  auto* s = NewSplit();
  NewPanes(s, 2);
  EXPECT_TRUE(Realigns(s, [&] { s->SetBarWidth(s->BarWidth()); }));
  // Any value is taken as it is; positions are not recomputed.
  const TPoint before = s->Position();
  const TPercent percentX = s->PercentX();
  s->SetBarWidth(-3);
  EXPECT_EQ(s->BarWidth(), -3);
  EXPECT_EQ(s->Position(), before);
  EXPECT_EQ(s->PercentX(), percentX);
  EXPECT_EQ(s->Panes(1)->Left(), s->PositionX() - 3);
}

TEST_F(SplitTest, OrientationWriteRealignsAlsoWhenUnchanged) {
  auto* s = NewSplit();
  NewPanes(s, 2);
  EXPECT_TRUE(Realigns(s, [&] { s->SetOrientation(kvsVert); }));
  EXPECT_EQ(s->Orientation(), kvsVert);
}

TEST_F(SplitTest, OrientationWrittenWhileLoadingOrReadingOnlyStores) {
  auto* s = NewSplit();
  auto panes = NewPanes(s, 2);
  for (TComponentStateEnum state : {csLoading, csReading}) {
    SCOPED_TRACE(GetEnumName(TTypeOf<TComponentStateEnum>::Info(), state));
    const TRect first = panes[0]->BoundsRect();
    s->SetComponentStateFlag(state, true);
    s->SetOrientation(kvsHorz);
    s->SetComponentStateFlag(state, false);
    EXPECT_EQ(s->Orientation(), kvsHorz);
    EXPECT_EQ(panes[0]->BoundsRect(), first);
    s->SetOrientation(kvsVert);
  }
}

TEST_F(SplitTest, OptionsWriteOnlyStores) {
  auto* s = NewSplit();
  auto panes = NewPanes(s, 2);
  panes[1]->Hide();
  const TRect first = panes[0]->BoundsRect();
  s->SetOptions({kvsHideInvisible});
  EXPECT_EQ(s->Options(), TkvsOptions({kvsHideInvisible}));
  EXPECT_EQ(panes[0]->BoundsRect(), first);
  // The next realign applies the options.
  s->Realign();
  EXPECT_EQ(panes[0]->BoundsRect(), Rect(2, 2, 98, 98));
  // Nor are positions or percentages recomputed.
  s->SetPositionX(500);
  s->SetOptions({kvsVer1Compat});
  EXPECT_EQ(s->PositionX(), 500);
}

// The nested OnResize that the handler's own size change causes is not
// delivered; the next change is.
TEST_F(SplitTest, OnResizeHandlerThatResizesIsNotReentered) {
  auto* s = NewSplit();
  int calls = 0;
  s->OnResize = [&](TObject* sender) {
    ++calls;
    auto* split = static_cast<TkvCustomSplit*>(sender);
    split->SetWidth(split->Width() + 10);
  };
  s->SetPositionX(30);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(s->Width(), 110);
  s->SetPositionX(31);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(s->Width(), 120);
}

TEST_F(SplitTest, OnResizeIsNotSilencedByAFailingHandler) {
  auto* s = NewSplit();
  int calls = 0;
  s->OnResize = [&](TObject*) {
    if (++calls == 1) throw Exception("handler failed");
  };
  EXPECT_THROW(s->SetPositionX(30), Exception);
  s->SetPositionX(31);
  EXPECT_EQ(calls, 2);
}

TEST_F(SplitTest, SizeChangeFiresOnResize) {
  auto* s = NewSplit();
  CountResizes(s);
  s->SetHeight(120);
  // Once from WM_SIZE and once from the position update that follows
  // WM_WINDOWPOSCHANGED.
  EXPECT_EQ(resizes, 2);
}

TEST_F(SplitTest, ChangesInCodeDoNotFireOnChange) {
  auto* s = NewSplit();
  NewPanes(s, 2);
  int changes = 0;
  s->OnChange = [&](TObject*) { ++changes; };
  s->SetPositionX(30);
  s->SetPositionY(40);
  s->SetPercentX(20);
  s->SetPercentY(70);
  s->SetPosition(TPoint{10, 10});
  s->SetBarWidth(4);
  s->SetStyle(kvsWin97);
  s->SetOrientation(kvsHorz);
  s->SetOptions({kvsSaveAsPercent});
  s->SetWidth(150);
  s->Swap(0, 1);
  s->Rotate();
  os::ProcessMessages();
  EXPECT_EQ(changes, 0);
}

TEST_F(SplitTest, SplitInstanceCountCountsLiveSplits) {
  const int32_t base = SplitInstanceCount;
  auto* a = new TruVezuz(form);
  EXPECT_EQ(SplitInstanceCount, base + 1);
  NewSplit<TkvQuadSplit>();
  EXPECT_EQ(SplitInstanceCount, base + 2);
  delete a;
  EXPECT_EQ(SplitInstanceCount, base + 1);
  delete form;  // frees the split it owns
  form = nullptr;
  EXPECT_EQ(SplitInstanceCount, base);
}

// The registration is made once per process, by whichever split is
// constructed first; a split constructed later does not register again.
TEST_F(SplitTest, FirstSplitRegistersThePaneClass) {
  new TruVezuz(form);
  EXPECT_TRUE(PaneClassRegistered);
  EXPECT_EQ(GetClass("TkvScrollPane"), &TkvScrollPane::StaticClass());

  UnRegisterClass(&TkvScrollPane::StaticClass());
  struct Restore {
    ~Restore() { RegisterClass(&TkvScrollPane::StaticClass()); }
  } restore;
  new TruVezuz(form);
  EXPECT_EQ(GetClass("TkvScrollPane"), nullptr);
}

namespace {
struct Shown {
  HWND owner;
  std::string text, caption;
  UINT type;
  int count = 0;
};
Shown shown;
int CatchMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  shown = {owner, text, caption, type, shown.count + 1};
  return IDOK;
}
}  // namespace

TEST_F(SplitTest, AboutShowsTitleAndVersion) {
  auto* s = NewSplit();
  shown = {};
  auto previous = os::SetMessageBoxHook(CatchMessageBox);
  s->About();
  os::SetMessageBoxHook(previous);
  ASSERT_EQ(shown.count, 1);
  EXPECT_EQ(shown.owner, nullptr);
  EXPECT_EQ(shown.text, std::string(ProductTitle) + " 3.0e");
  EXPECT_EQ(shown.text.rfind("ruVezuz for ", 0), 0u) << shown.text;
  EXPECT_FALSE(shown.caption.empty());
  EXPECT_EQ(shown.type, MB_OK);
  EXPECT_STREQ(CtlFileInfo, "ziVivire");
}

// ---------------------------------------------------------------------------
// The published property set

namespace {

std::vector<std::string> Names(const std::vector<PPropInfo>& props) {
  std::vector<std::string> out;
  for (PPropInfo p : props) out.push_back(p->Name);
  return out;
}

// The split's own published properties, in declaration order. Hint is
// declared again but keeps its inherited place.
const std::vector<std::string> kSplitProps = {
    "AutoUpdate",  "BarWidth",    "SyncScroll",  "Style",       "BorderStyle", "AboutReg",
    "Locked",      "Align",       "Color",       "ParentColor", "ParentCtl3D", "ParentShowHint",
    "ParentFont",  "ShowHint",    "Font",        "Ctl3D",       "Visible",    "TabStop",
    "TabOrder",    "DragMode",    "DragCursor",  "OnResize",    "OnClick",    "OnDragDrop",
    "OnDragOver",  "OnEndDrag",   "OnEnter",     "OnExit",      "OnKeyDown",  "OnKeyPress",
    "OnKeyUp",     "OnMouseDown", "OnMouseMove", "OnMouseUp",   "PositionX",  "PositionY",
    "PercentX",    "PercentY",    "Orientation", "Options",     "OnChange"};

std::vector<std::string> ExpectedSplitProps() {
  // What the platform publishes for every windowed control comes first.
  std::vector<std::string> names = Names(TWinControl::StaticClass().Props());
  for (const std::string& n : kSplitProps)
    if (!TWinControl::StaticClass().FindProp(n)) names.push_back(n);
  return names;
}

// Whether a form file gets the property: stored and not at its default.
bool Written(const TObject* obj, const char* name) {
  PPropInfo p = GetPropInfo(obj, name);
  EXPECT_NE(p, nullptr) << name;
  return p && p->HasSetter && IsStoredProp(obj, p) && !IsDefaultPropValue(obj, p);
}

}  // namespace

// The form-file order: a reader of files written elsewhere relies on it.
// BorderStyle comes after SyncScroll and Style, where the package's own
// stored forms have it.
TEST(SplitProps, PublishedInDeclarationOrder) {
  EXPECT_EQ(Names(TruVezuz::StaticClass().Props()), ExpectedSplitProps());
}

TEST(SplitProps, QuadSplitPublishesTheSameSet) {
  EXPECT_EQ(Names(TkvQuadSplit::StaticClass().Props()), Names(TruVezuz::StaticClass().Props()));
  EXPECT_TRUE(TkvQuadSplit::StaticClass().InheritsFrom(&TruVezuz::StaticClass()));
  EXPECT_TRUE(TkvQuadSplit::StaticClass().Factory);
}

TEST(SplitProps, TypesAndDefaults) {
  struct Case {
    const char* name;
    int64_t def;  // NoDefault when the property has none
    TTypeKind kind;
  };
  const Case cases[] = {
      {"AutoUpdate", NoDefault, tkEnumeration}, {"BarWidth", 6, tkInteger},
      {"BorderStyle", bsSingle, tkEnumeration}, {"SyncScroll", NoDefault, tkEnumeration},
      {"Style", NoDefault, tkEnumeration},      {"Locked", 0, tkEnumeration},
      {"Align", alNone, tkEnumeration},         {"Color", clBtnFace, tkInteger},
      {"ParentColor", 1, tkEnumeration},        {"ParentCtl3D", 1, tkEnumeration},
      {"ParentShowHint", 1, tkEnumeration},     {"ParentFont", 1, tkEnumeration},
      {"ShowHint", NoDefault, tkEnumeration},   {"Ctl3D", NoDefault, tkEnumeration},
      {"Visible", 1, tkEnumeration},            {"TabStop", 0, tkEnumeration},
      {"TabOrder", -1, tkInteger},              {"DragMode", dmManual, tkEnumeration},
      {"DragCursor", crDrag, tkInteger},        {"PositionX", NoDefault, tkInteger},
      {"PositionY", NoDefault, tkInteger},      {"PercentX", NoDefault, tkInteger},
      {"PercentY", NoDefault, tkInteger},       {"Orientation", NoDefault, tkEnumeration},
      {"Options", NoDefault, tkSet},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PPropInfo p = TruVezuz::StaticClass().FindProp(c.name);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Default, c.def);
    EXPECT_EQ(p->PropType->Kind, c.kind);
  }
  PPropInfo percent = TruVezuz::StaticClass().FindProp("PercentX");
  EXPECT_EQ(percent->PropType->OrdType, otUByte);
  EXPECT_EQ(percent->PropType->MinValue, 0);
  EXPECT_EQ(percent->PropType->MaxValue, 100);
  EXPECT_EQ(TruVezuz::StaticClass().FindProp("AboutReg")->PropType->MaxLength, 1);
  EXPECT_EQ(TruVezuz::StaticClass().FindProp("Options")->PropType->CompType,
            TTypeOf<TkvsOption>::Info());
  EXPECT_EQ(TTypeOf<TkvsStyle>::Info()->EnumNames,
            (std::vector<std::string>{"kvsAuto", "kvsWin31", "kvsWin95", "kvsInset", "kvsGroove",
                                      "kvsWin97"}));
  EXPECT_EQ(TTypeOf<TkvsOrientation>::Info()->EnumNames,
            (std::vector<std::string>{"kvsVert", "kvsHorz", "kvsLeft", "kvsTop", "kvsRight",
                                      "kvsBottom"}));
  EXPECT_EQ(TTypeOf<TkvsOption>::Info()->EnumNames,
            (std::vector<std::string>{"kvsHideInvisible", "kvsSaveAsPercent", "kvsVer1Compat"}));
}

// Which properties a form file gets from a new split, and how a change of
// value or option changes that.
TYPED_TEST(SplitDefaults, StoredRules) {
  auto* s = this->template NewSplit<TypeParam>();
  // Always written: no default, stored always.
  for (const char* name : {"AutoUpdate", "SyncScroll", "Style", "Orientation", "Options"})
    EXPECT_TRUE(Written(s, name)) << name;
  // At their defaults: not written.
  for (const char* name : {"BarWidth", "BorderStyle", "Locked", "Align", "Visible", "TabStop",
                           "DragMode", "DragCursor", "ParentCtl3D", "ParentShowHint",
                           "ParentFont"})
    EXPECT_FALSE(Written(s, name)) << name;
  // Positions, not percentages, without kvsSaveAsPercent.
  EXPECT_TRUE(Written(s, "PositionX"));
  EXPECT_TRUE(Written(s, "PositionY"));
  EXPECT_FALSE(Written(s, "PercentX"));
  EXPECT_FALSE(Written(s, "PercentY"));

  s->SetBarWidth(6);
  EXPECT_FALSE(Written(s, "BarWidth"));
  s->SetBarWidth(8);
  s->SetBorderStyle(bsNone);
  s->SetLocked(true);
  EXPECT_TRUE(Written(s, "BarWidth"));
  EXPECT_TRUE(Written(s, "BorderStyle"));
  EXPECT_TRUE(Written(s, "Locked"));
}
