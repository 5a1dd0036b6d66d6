// Classes: components with owners, names, state and notifications; lists;
// string lists; events; the class registry.
#include <gtest/gtest.h>
#include <vcl/Classes.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// A component that records what it is told and when it dies.
class TWatcher : public TComponent {
 public:
  using TComponent::TComponent;
  explicit TWatcher(TComponent* owner, std::vector<std::string>* log, std::string tag)
      : TComponent(owner), FLog(log), FTag(std::move(tag)) {}
  ~TWatcher() override {
    if (FLog) FLog->push_back(FTag + " freed");
  }
  // Keeps a reference that free notification must clear.
  TComponent* Peer = nullptr;


 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (FLog)
      FLog->push_back(FTag + (operation == opInsert ? " +" : " -") +
                      (component->Name().empty() ? "?" : component->Name()));
    if (operation == opRemove && component == Peer) Peer = nullptr;
  }

 private:
  std::vector<std::string>* FLog = nullptr;
  std::string FTag;
};

// A component whose renaming can be observed and refused.
class TNamed : public TComponent {
 public:
  using TComponent::TComponent;
  int Renames = 0;
  void SetName(const std::string& name) override {
    TComponent::SetName(name);
    ++Renames;
  }
};

TEST(CoreComponent, OwnerFreesWhatItOwnsAndListsItInOrder) {
  std::vector<std::string> log;
  auto* owner = new TWatcher(nullptr, &log, "owner");
  auto* a = new TWatcher(owner, &log, "a");
  auto* b = new TWatcher(owner, &log, "b");
  auto* c = new TWatcher(a, &log, "c");
  ASSERT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(0), a);
  EXPECT_EQ(owner->Components(1), b);
  EXPECT_EQ(b->ComponentIndex(), 1);
  EXPECT_EQ(c->Owner(), a);
  EXPECT_THROW(owner->Components(2), EListError);
  EXPECT_THROW(owner->Components(-1), EListError);
  log.clear();
  owner->Free();
  // Each is freed once, the owned ones with their owner.
  std::vector<std::string> freed;
  for (const std::string& s : log)
    if (s.size() > 6 && s.substr(s.size() - 6) == " freed") freed.push_back(s);
  std::sort(freed.begin(), freed.end());
  EXPECT_EQ(freed, (std::vector<std::string>{"a freed", "b freed", "c freed", "owner freed"}));
}

TEST(CoreComponent, FreeingAnOwnedComponentTakesItOffItsOwner) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("A");
  a->Free();
  ASSERT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), b);
  EXPECT_EQ(owner.FindComponent("A"), nullptr);
}

TEST(CoreComponent, NamesAreIdentifiersUniqueAmongTheOwnersComponentsIgnoringCase) {
  TComponent owner(nullptr);
  auto* a = new TNamed(&owner);
  auto* b = new TNamed(&owner);
  a->SetName("Button1");
  EXPECT_EQ(owner.FindComponent("BUTTON1"), a);

  struct Bad {
    const char* Name;
    const char* Message;
  };
  const Bad bad[] = {
      {"1Button", "'1Button' is not a valid component name"},
      {"My Button", "'My Button' is not a valid component name"},
      {"Button1", "A component named Button1 already exists"},
      {"bUTTON1", "A component named bUTTON1 already exists"},
  };
  for (const Bad& x : bad) {
    SCOPED_TRACE(x.Name);
    try {
      b->SetName(x.Name);
      ADD_FAILURE() << "no exception";
    } catch (const EComponentError& e) {
      EXPECT_EQ(e.Message(), x.Message);
    }
    EXPECT_EQ(b->Name(), "");  // the refused name left the component as it was
  }
  EXPECT_EQ(b->Renames, 0);

  // Another case of its own name is fine, and so is a name the owner no
  // longer has; the empty name is always allowed.
  a->SetName("BUTTON1");
  EXPECT_EQ(a->Name(), "BUTTON1");
  EXPECT_EQ(owner.FindComponent("button1"), a);
  a->SetName("OK");
  b->SetName("button1");
  EXPECT_EQ(owner.FindComponent("Button1"), b);
  EXPECT_EQ(owner.FindComponent("ok"), a);
  a->SetName("");
  b->SetName("");
  EXPECT_EQ(owner.FindComponent("ok"), nullptr);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  // Components of different owners may share a name.
  TComponent other(nullptr);
  auto* c = new TComponent(&other);
  c->SetName("OK");
  a->SetName("OK");
  EXPECT_EQ(other.FindComponent("OK"), c);
}

TEST(CoreComponent, InsertComponentRefusesATakenNameAndLeavesTheComponentWhereItWas) {
  TComponent first(nullptr), second(nullptr);
  auto* mover = new TComponent(&first);
  mover->SetName("Edit1");
  (new TComponent(&second))->SetName("edit1");
  EXPECT_THROW(second.InsertComponent(mover), EComponentError);
  EXPECT_EQ(mover->Owner(), &first);
  EXPECT_EQ(first.ComponentCount(), 1);
  EXPECT_EQ(first.FindComponent("Edit1"), mover);
  EXPECT_EQ(second.ComponentCount(), 1);

  // Moving to an owner where the name is free takes it off the first one.
  TComponent third(nullptr);
  third.InsertComponent(mover);
  EXPECT_EQ(mover->Owner(), &third);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_EQ(first.FindComponent("Edit1"), nullptr);
  EXPECT_EQ(third.FindComponent("EDIT1"), mover);
}

TEST(CoreComponent, AComponentCannotOwnItselfOrItsOwner) {
  TComponent top(nullptr);
  auto* mid = new TComponent(&top);
  EXPECT_THROW(mid->InsertComponent(mid), EComponentError);
  EXPECT_THROW(mid->InsertComponent(&top), EComponentError);
  EXPECT_EQ(mid->Owner(), &top);
  EXPECT_EQ(top.Owner(), nullptr);
  EXPECT_EQ(mid->ComponentCount(), 0);
}

TEST(CoreComponent, StateFlagsAndLoadedClearingLoading) {
  TWatcher c(nullptr);
  EXPECT_TRUE(c.ComponentState().Empty());
  c.SetComponentStateFlag(csLoading, true);
  c.SetComponentStateFlag(csReading, true);
  EXPECT_TRUE(c.ComponentState().Contains(csLoading));
  EXPECT_TRUE(c.ComponentState().Contains(csReading));
  c.Loaded();
  EXPECT_FALSE(c.ComponentState().Contains(csLoading));
  EXPECT_TRUE(c.ComponentState().Contains(csReading));

  // Designing spreads to what the component owns and to what it takes in.
  auto* owned = new TComponent(&c);
  c.SetDesigning(true);
  EXPECT_TRUE(owned->ComponentState().Contains(csDesigning));
  auto* later = new TComponent(&c);
  EXPECT_TRUE(later->ComponentState().Contains(csDesigning));
  c.SetDesigning(false);
  EXPECT_FALSE(owned->ComponentState().Contains(csDesigning));
}

// Sees, in its destructor, whether it was marked as being destroyed.
class TDestroyProbe : public TComponent {
 public:
  TDestroyProbe(TComponent* owner, bool* sawDestroying) : TComponent(owner), FSaw(sawDestroying) {}
  ~TDestroyProbe() override { *FSaw = ComponentState().Contains(csDestroying); }

 private:
  bool* FSaw;
};

TEST(CoreComponent, FreeMarksTheOwnedTreeDestroyingFirst) {
  bool sawParent = false, sawChild = false;
  auto* parent = new TDestroyProbe(nullptr, &sawParent);
  new TDestroyProbe(parent, &sawChild);
  parent->Free();
  EXPECT_TRUE(sawParent);
  EXPECT_TRUE(sawChild);
}

TEST(CoreComponent, InsertAndRemoveAreNotifiedToTheOwnerAndItsComponents) {
  std::vector<std::string> log;
  TWatcher owner(nullptr, &log, "owner");
  auto* sibling = new TWatcher(&owner, &log, "sibling");
  auto* deep = new TWatcher(sibling, &log, "deep");
  (void)deep;
  log.clear();
  auto* x = new TComponent(nullptr);
  x->SetName("X");
  owner.InsertComponent(x);
  // The owner, its components (also the new one, which does not log) and
  // what they own are told, the owner first.
  EXPECT_EQ(log, (std::vector<std::string>{"deep +X", "sibling +X", "owner +X"}));
  log.clear();
  owner.RemoveComponent(x);
  EXPECT_EQ(log, (std::vector<std::string>{"deep -X", "sibling -X", "owner -X"}));
  EXPECT_EQ(x->Owner(), nullptr);
  EXPECT_EQ(owner.ComponentCount(), 1);
  delete x;
}

TEST(CoreComponent, FreeNotificationTellsAComponentOfAnotherOwnerOnce) {
  std::vector<std::string> log;
  auto* holder = new TWatcher(nullptr, &log, "holder");
  auto* target = new TComponent(nullptr);
  target->SetName("Target");
  holder->Peer = target;
  target->FreeNotification(holder);
  target->FreeNotification(holder);  // asked twice, told once
  target->Free();
  EXPECT_EQ(log, (std::vector<std::string>{"holder -Target"}));
  EXPECT_EQ(holder->Peer, nullptr);
  // The holder dies after: nothing points back at the freed target.
  holder->Free();
}

TEST(CoreComponent, RemovedFreeNotificationIsForgottenOnBothSides) {
  std::vector<std::string> log;
  auto* a = new TWatcher(nullptr, &log, "a");
  auto* b = new TWatcher(nullptr, &log, "b");
  a->SetName("A");
  b->SetName("B");
  a->FreeNotification(b);
  a->RemoveFreeNotification(b);
  a->Free();
  // b was not told, and freeing b must not reach back to the freed a.
  b->Free();
  EXPECT_EQ(log, (std::vector<std::string>{"a freed", "b freed"}));
}

TEST(CoreComponent, FreeNotificationBetweenAnOwnerAndAnOwnedComponent) {
  std::vector<std::string> log;
  auto* owner = new TWatcher(nullptr, &log, "owner");
  auto* owned = new TWatcher(owner, &log, "owned");
  owner->SetName("O");
  owned->SetName("P");
  owned->FreeNotification(owner);
  owner->FreeNotification(owned);
  owner->Free();  // under the sanitizers: no use of a freed component
  EXPECT_EQ(std::count(log.begin(), log.end(), "owned freed"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "owner freed"), 1);
}

// ---------------------------------------------------------------------------
// TList

std::vector<intptr_t> Contents(const TList& l) {
  std::vector<intptr_t> v;
  for (int i = 0; i < l.Count(); ++i) v.push_back(reinterpret_cast<intptr_t>(l.Items(i)));
  return v;
}

void* P(intptr_t v) { return reinterpret_cast<void*>(v); }

struct CoreList : ::testing::Test {
  TList L;
  void SetUp() override {
    for (intptr_t v : {10, 20, 30}) L.Add(P(v));
  }
};

TEST_F(CoreList, OperationsKeepOrder) {
  L.Insert(0, P(5));
  L.Insert(L.Count(), P(40));  // inserting at Count appends
  EXPECT_EQ(Contents(L), (std::vector<intptr_t>{5, 10, 20, 30, 40}));
  L.Move(0, 4);
  EXPECT_EQ(Contents(L), (std::vector<intptr_t>{10, 20, 30, 40, 5}));
  L.Move(3, 1);
  EXPECT_EQ(Contents(L), (std::vector<intptr_t>{10, 40, 20, 30, 5}));
  L.Exchange(0, 4);
  EXPECT_EQ(Contents(L), (std::vector<intptr_t>{5, 40, 20, 30, 10}));
  EXPECT_EQ(L.Remove(P(20)), 2);
  EXPECT_EQ(L.Remove(P(99)), -1);
  L.Delete(0);
  EXPECT_EQ(Contents(L), (std::vector<intptr_t>{40, 30, 10}));
  EXPECT_EQ(L.IndexOf(P(10)), 2);
  EXPECT_EQ(L.IndexOf(P(99)), -1);
  L.SetItems(1, P(31));
  EXPECT_EQ(L.First(), P(40));
  EXPECT_EQ(L.Last(), P(10));
  EXPECT_EQ(L.Items(1), P(31));
}

TEST_F(CoreList, AnIndexOutsideTheListRaisesAndChangesNothing) {
  struct Case {
    const char* What;
    std::function<void(TList&)> Op;
    int Index;
  };
  const Case cases[] = {
      {"Items past end", [](TList& l) { l.Items(3); }, 3},
      {"Items negative", [](TList& l) { l.Items(-1); }, -1},
      {"SetItems", [](TList& l) { l.SetItems(5, nullptr); }, 5},
      {"Insert past Count", [](TList& l) { l.Insert(4, nullptr); }, 4},
      {"Insert negative", [](TList& l) { l.Insert(-1, nullptr); }, -1},
      {"Delete", [](TList& l) { l.Delete(3); }, 3},
      {"Move from", [](TList& l) { l.Move(5, 0); }, 5},
      {"Move to", [](TList& l) { l.Move(0, 3); }, 3},
      {"Move to itself outside", [](TList& l) { l.Move(5, 5); }, 5},
      {"Exchange first", [](TList& l) { l.Exchange(-2, 0); }, -2},
      {"Exchange second", [](TList& l) { l.Exchange(0, 7); }, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    try {
      c.Op(L);
      ADD_FAILURE() << "no exception";
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(c.Index) + ")");
    }
    EXPECT_EQ(Contents(L), (std::vector<intptr_t>{10, 20, 30}));
  }
  TList empty;
  EXPECT_THROW(empty.First(), EListError);
  EXPECT_THROW(empty.Last(), EListError);
  EXPECT_THROW(L.SetCapacity(2), EListError);
}

// ---------------------------------------------------------------------------
// TStrings / TStringList

std::vector<std::string> Lines(const TStrings& s) {
  std::vector<std::string> v;
  for (int i = 0; i < s.Count(); ++i) v.push_back(s.Strings(i));
  return v;
}

TEST(CoreStringList, TextSplitsAtEveryLineEndAndJoinsWithCrLf) {
  TStringList s;
  s.SetText("a\r\nb\nc\rd\r\n\r\ne");
  EXPECT_EQ(Lines(s), (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
  EXPECT_EQ(s.Text(), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n");
  s.SetText("");
  EXPECT_EQ(s.Count(), 0);
}

TEST(CoreStringList, IndexOfFindAndSortIgnoreCase) {
  TStringList s;
  for (const char* x : {"pear", "Apple", "fig"}) s.Add(x);
  EXPECT_EQ(s.IndexOf("APPLE"), 1);
  EXPECT_EQ(s.IndexOf("plum"), -1);
  s.SetSorted(true);
  EXPECT_EQ(Lines(s), (std::vector<std::string>{"Apple", "fig", "pear"}));
  EXPECT_EQ(s.Add("Banana"), 1);
  EXPECT_EQ(s.Add("FIG"), 2);  // dupIgnore: the one there
  EXPECT_EQ(s.Count(), 4);
  s.SetDuplicates(dupError);
  EXPECT_THROW(s.Add("pear"), EStringListError);
  EXPECT_THROW(s.Insert(0, "x"), EStringListError);
  int at = -1;
  EXPECT_FALSE(s.Find("cherry", at));
  EXPECT_EQ(at, 2);
  EXPECT_EQ(s.IndexOf("PEAR"), 3);
}

TEST(CoreStringList, MoveAndExchangeCarryObjectsAndABadIndexLosesNothing) {
  TStringList s;
  TObject tag1, tag2;
  s.AddObject("one", &tag1);
  s.AddObject("two", &tag2);
  s.Add("three");
  s.Move(0, 2);
  EXPECT_EQ(Lines(s), (std::vector<std::string>{"two", "three", "one"}));
  EXPECT_EQ(s.Objects(2), &tag1);
  s.Exchange(0, 2);
  EXPECT_EQ(s.Objects(0), &tag1);
  EXPECT_EQ(s.Objects(2), &tag2);
  EXPECT_THROW(s.Move(0, 3), EStringListError);
  EXPECT_THROW(s.Move(0, -1), EStringListError);
  EXPECT_THROW(s.Exchange(0, 3), EStringListError);
  EXPECT_EQ(Lines(s), (std::vector<std::string>{"one", "three", "two"}));
  // A sorted list refuses the move without dropping the line.
  s.SetSorted(true);
  std::vector<std::string> before = Lines(s);
  EXPECT_THROW(s.Move(0, 1), EStringListError);
  EXPECT_EQ(Lines(s), before);
}

TEST(CoreStringList, AddStringsOfItselfDoublesTheList) {
  TStringList s;
  s.Add("a");
  s.Add("b");
  s.AddStrings(s);
  EXPECT_EQ(Lines(s), (std::vector<std::string>{"a", "b", "a", "b"}));
}

TEST(CoreStringList, OnChangeFollowsChangesAndABatchReportsOnceAtItsEnd) {
  TStringList s;
  int changes = 0;
  s.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &s);
    ++changes;
  };
  s.Add("a");
  s.SetStrings(0, "b");
  s.Delete(0);
  EXPECT_EQ(changes, 3);
  changes = 0;
  s.SetText("x\ny\nz");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(s.Count(), 3);
  changes = 0;
  TStringList other;
  other.Add("q");
  s.Assign(&other);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Lines(s), (std::vector<std::string>{"q"}));
  // A batch in which nothing changed reports nothing.
  changes = 0;
  s.BeginUpdate();
  s.BeginUpdate();
  s.Add("r");
  s.EndUpdate();
  EXPECT_EQ(changes, 0);  // still inside the outer batch
  s.EndUpdate();
  EXPECT_EQ(changes, 1);
  s.BeginUpdate();
  s.EndUpdate();
  EXPECT_EQ(changes, 1);
}

TEST(CoreStringList, CommaTextQuotesWhatNeedsIt) {
  TStringList s;
  for (const char* x : {"plain", "two words", "a,b", "say \"hi\"", ""}) s.Add(x);
  EXPECT_EQ(s.CommaText(), "plain,\"two words\",\"a,b\",\"say \"\"hi\"\"\",\"\"");
}

TEST(CoreStringList, AssignCopiesFromStringsAndRefusesOthers) {
  TStringList a, b;
  a.Add("x");
  b.Assign(&a);
  EXPECT_EQ(Lines(b), (std::vector<std::string>{"x"}));
  TPersistent plain;
  try {
    b.Assign(&plain);
    ADD_FAILURE() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TPersistent to a TStringList");
  }
  EXPECT_THROW(b.Assign(nullptr), EConvertError);
}

// ---------------------------------------------------------------------------
// Events

class TClicker : public TComponent {
  VCL_CLASS(TClicker, TComponent)
  using TComponent::TComponent;
  void ButtonClick(TObject* sender) { Clicks.push_back(sender); }
  void Other(TObject*, int) {}
  std::vector<TObject*> Clicks;
};

const TClassInfo& TClicker::StaticClass() {
  static const TClassInfo info = TClassBuilder<TClicker>("TClicker")
                                     .Method("ButtonClick", &TClicker::ButtonClick)
                                     .Method("Other", &TClicker::Other);
  return info;
}

TEST(CoreEvents, ACallableOrANamedPublishedMethod) {
  TNotifyEvent e;
  EXPECT_FALSE(e.Assigned());
  e(nullptr);  // firing an unassigned event does nothing

  int calls = 0;
  e = [&](TObject*) { ++calls; };
  e(nullptr);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(e.Method().Assigned());  // a callable names no method

  TClicker form(nullptr);
  const TMethodInfo* mi = form.ClassType()->FindMethod("buttonclick");
  ASSERT_NE(mi, nullptr);
  EXPECT_EQ(mi->Name, "ButtonClick");
  TNotifyEvent bound = TNotifyEvent::FromMethod(TMethod{&form, mi});
  TObject sender;
  bound(&sender);
  EXPECT_EQ(form.Clicks, (std::vector<TObject*>{&sender}));
  EXPECT_EQ(bound.Method().Data, &form);
  EXPECT_EQ(bound.Method().Code, mi);
  // The copy an event property hands out still names the method.
  TNotifyEvent copy = bound;
  EXPECT_EQ(copy.Method(), bound.Method());
  // Copies are values: clearing the original leaves the copy bound.
  bound = nullptr;
  EXPECT_FALSE(bound.Assigned());
  copy(&sender);
  EXPECT_EQ(form.Clicks.size(), 2u);
  e = copy;
  copy = std::function<void(TObject*)>();  // an empty callable is no handler
  EXPECT_FALSE(copy.Assigned());
  EXPECT_EQ(e.Method().Code, mi);

  EXPECT_EQ(form.ClassType()->FindMethod("Missing"), nullptr);
  EXPECT_FALSE(TNotifyEvent::FromMethod(TMethod{}).Assigned());
  const TMethodInfo* other = form.ClassType()->FindMethod("Other");
  EXPECT_THROW(TNotifyEvent::FromMethod(TMethod{&form, other}), EInvalidCast);
}

// ---------------------------------------------------------------------------
// The class registry

class TRegA : public TComponent {
  VCL_CLASS(TRegA, TComponent)
  using TComponent::TComponent;
};
const TClassInfo& TRegA::StaticClass() {
  static const TClassInfo info = TClassBuilder<TRegA>("TCoreRegistered").Creatable();
  return info;
}
// Another class under the same name.
class TRegB : public TComponent {
  VCL_CLASS(TRegB, TComponent)
  using TComponent::TComponent;
};
const TClassInfo& TRegB::StaticClass() {
  static const TClassInfo info = TClassBuilder<TRegB>("TCoreRegistered").Creatable();
  return info;
}

TEST(CoreRegistry, FindGetAndRegisterAgain) {
  EXPECT_EQ(GetClass("TCoreRegistered"), nullptr);
  try {
    FindClass("TCoreRegistered");
    ADD_FAILURE() << "no exception";
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class TCoreRegistered not found");
  }
  RegisterClasses({&TRegA::StaticClass(), &TStringList::StaticClass()});
  EXPECT_EQ(FindClass("TCoreRegistered"), &TRegA::StaticClass());
  EXPECT_EQ(GetClass("tcoreregistered"), &TRegA::StaticClass());
  RegisterClass(&TRegA::StaticClass());  // again: accepted, nothing changes
  EXPECT_EQ(FindClass("TCoreRegistered"), &TRegA::StaticClass());
  try {
    RegisterClass(&TRegB::StaticClass());
    ADD_FAILURE() << "no exception";
  } catch (const EFilerError& e) {
    EXPECT_EQ(e.Message(), "A class named TCoreRegistered already exists");
  }
  EXPECT_EQ(FindClass("TCoreRegistered"), &TRegA::StaticClass());

  // The factory makes a component of the registered class with its owner.
  TComponent owner(nullptr);
  TComponent* made = FindClass("TCoreRegistered")->Factory(&owner);
  EXPECT_EQ(made->ClassType(), &TRegA::StaticClass());
  EXPECT_EQ(made->Owner(), &owner);

  UnRegisterClass(&TRegB::StaticClass());  // not the one registered: no effect
  EXPECT_EQ(GetClass("TCoreRegistered"), &TRegA::StaticClass());
  UnRegisterClass(&TRegA::StaticClass());
  EXPECT_EQ(GetClass("TCoreRegistered"), nullptr);
  EXPECT_THROW(RegisterClass(nullptr), EInvalidArgument);
}

}  // namespace

TEST(CoreNames, TextMapsMatchNamesIgnoringAsciiCaseOnly) {
  TTextMap<int> m;
  m.emplace("Font_Color", 1);
  m.emplace("Caption", 2);
  struct Case {
    const char* key;
    int found;  // 0: absent
  } cases[] = {{"font_color", 1}, {"FONT_COLOR", 1}, {"CaPtIoN", 2},
               // bytes that fold together for hashing only
               {"Font\x7f" "Color", 0}, {"Capti\x4f" "n", 2}, {"Capti\x6f" "N", 2},
               {"Capti@n", 0}, {"Caption ", 0}, {"", 0}};
  for (const Case& c : cases) {
    auto it = m.find(std::string_view(c.key));
    EXPECT_EQ(it == m.end() ? 0 : it->second, c.found) << c.key;
  }
  m["CAPTION"] = 3;  // the same key, whatever its spelling
  EXPECT_EQ(m.size(), 2u);
  EXPECT_EQ(m.find(std::string_view("caption"))->second, 3);
}
