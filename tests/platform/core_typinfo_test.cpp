// TypInfo: class information, published properties with their type
// information, defaults and stored rules, published fields and methods, and
// property access by name and as form-file text.
#include <gtest/gtest.h>
#include <vcl/Classes.h>
#include <vcl/Graphics.h>
#include <vcl/TypInfo.h>

#include <functional>
#include <string>
#include <vector>

VCL_ENUM(TCoreKind, ckFirst, ckSecond, ckThird)
VCL_SET(TCoreKinds, TCoreKind)

namespace {

PTypeInfo CoreNameType() {
  static const PTypeInfo info = MakeShortStringTypeInfo("TCoreName", 8);
  return info;
}
PTypeInfo PercentType() {
  static const PTypeInfo info = MakeIntTypeInfo("TPercent", otUByte, 0, 100);
  return info;
}

// A class with a published property of every kind.
class TCoreBase : public TComponent {
  VCL_CLASS(TCoreBase, TComponent)
  explicit TCoreBase(TComponent* owner) : TComponent(owner), FItems(new TStringList) {}
  ~TCoreBase() override { delete FItems; }

  int32_t Count() const { return FCount; }
  void SetCount(int32_t v) { FCount = v; }
  TCoreKind Kind() const { return FKind; }
  void SetKind(TCoreKind v) { FKind = v; }
  TCoreKinds Kinds() const { return FKinds; }
  void SetKinds(TCoreKinds v) { FKinds = v; }
  bool Flag() const { return FFlag; }
  void SetFlag(bool v) { FFlag = v; }
  std::string Caption() const { return FCaption; }
  void SetCaption(const std::string& v) { FCaption = v; }
  std::string ShortName() const { return FShortName; }
  void SetShortName(const std::string& v) { FShortName = v; }
  uint8_t Small() const { return FSmall; }
  void SetSmall(uint8_t v) { FSmall = v; }
  int16_t Offset() const { return FOffset; }
  void SetOffset(int16_t v) { FOffset = v; }
  uint8_t Percent() const { return FPercent; }
  void SetPercent(uint8_t v) { FPercent = v; }
  uint32_t Mask() const { return FMask; }
  void SetMask(uint32_t v) { FMask = v; }
  char Letter() const { return FLetter; }
  void SetLetter(char v) { FLetter = v; }
  TColor Shade() const { return FShade; }
  void SetShade(TColor v) { FShade = v; }
  double Ratio() const { return FRatio; }
  void SetRatio(double v) { FRatio = v; }
  TStringList* Items() const { return FItems; }
  void SetItems(TStringList* v) { FItems->Assign(v); }
  TComponent* Buddy() const { return FBuddy; }
  void SetBuddy(TComponent* v) { FBuddy = v; }
  const TNotifyEvent& GetOnPing() const { return OnPing; }
  void SetOnPing(const TNotifyEvent& e) { OnPing = e; }
  int32_t Secret() const { return 7; }
  void SetSecret(int32_t) {}
  int32_t Version() const { return 3; }

  bool IsCaptionStored() const { return FCaption != "auto"; }

  TNotifyEvent OnPing;

 private:
  int32_t FCount = 0;
  TCoreKind FKind = ckSecond;
  TCoreKinds FKinds{ckFirst};
  bool FFlag = false;
  std::string FCaption;
  std::string FShortName;
  uint8_t FSmall = 0;
  int16_t FOffset = 0;
  uint8_t FPercent = 0;
  uint32_t FMask = 0;
  char FLetter = 'a';
  TColor FShade = clBtnFace;
  double FRatio = 0;
  TStringList* FItems;
  TComponent* FBuddy = nullptr;
};

const TClassInfo& TCoreBase::StaticClass() {
  using T = TCoreBase;
  static const TClassInfo info =
      TClassBuilder<T>("TCoreBase")
          .Creatable()
          .Prop("Count", &T::Count, &T::SetCount, Default{0})
          .Prop("Kind", &T::Kind, &T::SetKind, Default{ckSecond})
          .Prop("Kinds", &T::Kinds, &T::SetKinds, Default{1})
          .Prop("Flag", &T::Flag, &T::SetFlag, Default{false})
          .Prop("Caption", &T::Caption, &T::SetCaption, StoredBy{&T::IsCaptionStored})
          .Prop("ShortName", &T::ShortName, &T::SetShortName, TypeIs{CoreNameType()})
          .Prop("Small", &T::Small, &T::SetSmall, Default{0})
          .Prop("Offset", &T::Offset, &T::SetOffset, Default{0})
          .Prop("Percent", &T::Percent, &T::SetPercent, TypeIs{PercentType()}, Default{0})
          .Prop("Mask", &T::Mask, &T::SetMask, Default{0})
          .Prop("Letter", &T::Letter, &T::SetLetter, Default{'a'})
          .Prop("Shade", &T::Shade, &T::SetShade, Default{clBtnFace})
          .Prop("Ratio", &T::Ratio, &T::SetRatio)
          .Prop("Items", &T::Items, &T::SetItems)
          .Prop("Buddy", &T::Buddy, &T::SetBuddy)
          .Prop("OnPing", &T::GetOnPing, &T::SetOnPing)
          .Prop("Secret", &T::Secret, &T::SetSecret, StoredNever{})
          .ReadOnlyProp("Version", &T::Version);
  return info;
}

// A descendant that declares Kind and Count again with other rules, adds a
// property, and publishes a field and methods.
class TCoreDerived : public TCoreBase {
  VCL_CLASS(TCoreDerived, TCoreBase)
  explicit TCoreDerived(TComponent* owner) : TCoreBase(owner) {}
  int32_t Extra() const { return FExtra; }
  void SetExtra(int32_t v) { FExtra = v; }
  void Pinged(TObject* sender) { PingedBy.push_back(sender); }

  TComponent* Partner = nullptr;
  std::vector<TObject*> PingedBy;

 private:
  int32_t FExtra = 0;
};

const TClassInfo& TCoreDerived::StaticClass() {
  using T = TCoreDerived;
  static const TClassInfo info = TClassBuilder<T>("TCoreDerived")
                                     .Creatable()
                                     .Prop("Extra", &T::Extra, &T::SetExtra)
                                     .Prop("Kind", &T::Kind, &T::SetKind, Default{ckThird})
                                     .Prop("Count", &T::Count, &T::SetCount, StoredNever{})
                                     .Field("Partner", &T::Partner)
                                     .Method("Pinged", &T::Pinged);
  return info;
}

std::vector<std::string> PropNames(TClass cls) {
  std::vector<std::string> v;
  for (PPropInfo p : cls->Props()) v.push_back(p->Name);
  return v;
}

TEST(CoreTypInfo, ClassInformationNamesParentsAndMakesComponents) {
  TClass derived = &TCoreDerived::StaticClass();
  EXPECT_EQ(derived->ClassName, "TCoreDerived");
  EXPECT_EQ(derived->Parent, &TCoreBase::StaticClass());
  EXPECT_EQ(derived->Parent->Parent, &TComponent::StaticClass());
  EXPECT_TRUE(derived->InheritsFrom(&TPersistent::StaticClass()));
  EXPECT_FALSE(TCoreBase::StaticClass().InheritsFrom(derived));

  TComponent owner(nullptr);
  TComponent* made = derived->Factory(&owner);
  EXPECT_EQ(made->ClassName(), "TCoreDerived");
  EXPECT_EQ(made->Owner(), &owner);
  EXPECT_TRUE(made->InheritsFrom(&TCoreBase::StaticClass()));
  EXPECT_FALSE(TPersistent::StaticClass().Factory);  // not constructible by name
}

TEST(CoreTypInfo, PropertiesComeAncestorsFirstAndARedeclaredOneKeepsItsPlace) {
  const std::vector<std::string> base = {"Tag",    "Count",     "Kind",  "Kinds",  "Flag",
                                         "Caption", "ShortName", "Small", "Offset", "Percent",
                                         "Mask",   "Letter",    "Shade", "Ratio",  "Items",
                                         "Buddy",  "OnPing",    "Secret", "Version"};
  EXPECT_EQ(PropNames(&TCoreBase::StaticClass()), base);
  std::vector<std::string> derived = base;
  derived.push_back("Extra");
  EXPECT_EQ(PropNames(&TCoreDerived::StaticClass()), derived);

  // The redeclared properties have the descendant's rules, the ancestor's
  // stay as they were.
  PPropInfo baseKind = GetPropInfo(&TCoreBase::StaticClass(), "Kind");
  PPropInfo kind = GetPropInfo(&TCoreDerived::StaticClass(), "kind");
  EXPECT_EQ(baseKind->Default, ckSecond);
  EXPECT_EQ(kind->Default, ckThird);
  TCoreDerived d(nullptr);
  TCoreBase b(nullptr);
  EXPECT_FALSE(IsStoredProp(&d, GetPropInfo(&d, "Count")));
  EXPECT_TRUE(IsStoredProp(&b, GetPropInfo(&b, "Count")));
  EXPECT_EQ(GetPropInfo(&d, "NoSuch"), nullptr);
}

TEST(CoreTypInfo, TypeInformationOfEachKind) {
  TClass cls = &TCoreBase::StaticClass();
  auto type = [&](const char* name) { return GetPropInfo(cls, name)->PropType; };
  struct Ord {
    const char* Prop;
    TTypeKind Kind;
    TOrdType OrdType;
    int64_t Min, Max;
  };
  const Ord ords[] = {
      {"Count", tkInteger, otSLong, INT32_MIN, INT32_MAX},
      {"Small", tkInteger, otUByte, 0, 255},
      {"Offset", tkInteger, otSWord, -32768, 32767},
      {"Percent", tkInteger, otUByte, 0, 100},
      {"Mask", tkInteger, otULong, 0, 4294967295LL},
      {"Letter", tkChar, otUByte, 0, 255},
      {"Kind", tkEnumeration, otUByte, 0, 2},
      {"Flag", tkEnumeration, otUByte, 0, 1},
  };
  for (const Ord& o : ords) {
    SCOPED_TRACE(o.Prop);
    PTypeInfo t = type(o.Prop);
    EXPECT_EQ(t->Kind, o.Kind);
    EXPECT_EQ(t->OrdType, o.OrdType);
    EXPECT_EQ(t->MinValue, o.Min);
    EXPECT_EQ(t->MaxValue, o.Max);
  }
  EXPECT_EQ(type("Kind")->Name, "TCoreKind");
  EXPECT_EQ(type("Kind")->EnumNames, (std::vector<std::string>{"ckFirst", "ckSecond", "ckThird"}));
  EXPECT_EQ(type("Flag")->EnumNames, (std::vector<std::string>{"False", "True"}));
  EXPECT_EQ(type("Kinds")->Kind, tkSet);
  EXPECT_EQ(type("Kinds")->CompType, TTypeOf<TCoreKind>::Info());
  EXPECT_EQ(type("Caption")->Kind, tkLString);
  EXPECT_EQ(type("ShortName")->Kind, tkString);
  EXPECT_EQ(type("ShortName")->MaxLength, 8);
  EXPECT_EQ(type("Ratio")->Kind, tkFloat);
  EXPECT_EQ(type("Items")->Kind, tkClass);
  EXPECT_EQ(type("Items")->ClassType, &TStringList::StaticClass());
  EXPECT_EQ(type("Buddy")->ClassType, &TComponent::StaticClass());
  EXPECT_EQ(type("OnPing")->Kind, tkMethod);
  EXPECT_EQ(type("Shade")->Name, "TColor");
  EXPECT_FALSE(GetPropInfo(cls, "Version")->HasSetter);
}

TEST(CoreTypInfo, AccessByName) {
  TCoreBase o(nullptr);
  SetOrdProp(&o, "Count", -12);
  EXPECT_EQ(o.Count(), -12);
  EXPECT_EQ(GetOrdProp(&o, "COUNT"), -12);
  SetOrdProp(&o, "Flag", 1);
  EXPECT_TRUE(o.Flag());
  SetEnumProp(&o, "Kind", "CKTHIRD");
  EXPECT_EQ(o.Kind(), ckThird);
  EXPECT_EQ(GetEnumProp(&o, "Kind"), "ckThird");
  EXPECT_EQ(GetEnumProp(&o, "Flag"), "True");
  SetStrProp(&o, "Caption", "Hello");
  EXPECT_EQ(GetStrProp(&o, "Caption"), "Hello");
  SetSetProp(&o, "Kinds", "[ckSecond, ckThird]");
  EXPECT_EQ(o.Kinds(), (TCoreKinds{ckSecond, ckThird}));
  EXPECT_EQ(GetSetProp(&o, "Kinds"), "ckSecond,ckThird");
  EXPECT_EQ(GetSetProp(&o, "Kinds", true), "[ckSecond, ckThird]");
  SetSetProp(&o, "Kinds", "ckFirst");
  EXPECT_EQ(o.Kinds(), (TCoreKinds{ckFirst}));
  SetSetProp(&o, "Kinds", "[]");
  EXPECT_TRUE(o.Kinds().Empty());
  EXPECT_EQ(GetObjectProp(&o, "Items"), o.Items());
  // A short string keeps its declared number of bytes.
  SetStrProp(&o, "ShortName", "ABCDEFGHIJ");
  EXPECT_EQ(o.ShortName(), "ABCDEFGH");
}

TEST(CoreTypInfo, AccessByNameRefusesWhatDoesNotFit) {
  TCoreBase o(nullptr);
  struct Case {
    const char* What;
    std::function<void()> Op;
    std::string Message;
  };
  const Case cases[] = {
      {"unknown", [&] { GetOrdProp(&o, "Nope"); },
       "Unknown property: \"Nope\" in class TCoreBase"},
      {"read-only", [&] { SetOrdProp(&o, "Version", 4); }, "Property Version is read-only"},
      {"string as ordinal", [&] { GetOrdProp(&o, "Caption"); },
       "Property Caption is not of a matching type"},
      {"ordinal as string", [&] { SetStrProp(&o, "Count", "1"); },
       "Property Count is not of a matching type"},
      {"not a set", [&] { GetSetProp(&o, "Kind"); }, "Property Kind is not of a matching type"},
      {"bad enum name", [&] { SetEnumProp(&o, "Kind", "ckFourth"); },
       "Invalid property element: ckFourth"},
      {"bad set member", [&] { SetSetProp(&o, "Kinds", "[ckFirst, ckNine]"); },
       "Invalid property element: ckNine"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    try {
      c.Op();
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_TRUE(e.InheritsFrom(&EPropertyError::StaticClass()) ||
                  e.InheritsFrom(&EPropertyConvertError::StaticClass()))
          << e.ClassName();
      EXPECT_EQ(e.Message(), c.Message);
    }
  }
  EXPECT_EQ(o.Kind(), ckSecond);
  EXPECT_EQ(o.Kinds(), (TCoreKinds{ckFirst}));
}

TEST(CoreTypInfo, StoredRulesAndDefaults) {
  TCoreBase o(nullptr);
  auto prop = [&](const char* n) { return GetPropInfo(&o, n); };
  EXPECT_TRUE(IsStoredProp(&o, prop("Count")));  // always
  EXPECT_FALSE(IsStoredProp(&o, prop("Secret")));  // never
  o.SetCaption("auto");
  EXPECT_FALSE(IsStoredProp(&o, prop("Caption")));  // a predicate
  o.SetCaption("mine");
  EXPECT_TRUE(IsStoredProp(&o, prop("Caption")));

  EXPECT_TRUE(IsDefaultPropValue(&o, prop("Kind")));
  EXPECT_TRUE(IsDefaultPropValue(&o, prop("Kinds")));
  EXPECT_TRUE(IsDefaultPropValue(&o, prop("Shade")));
  EXPECT_TRUE(IsDefaultPropValue(&o, prop("OnPing")));
  EXPECT_FALSE(IsDefaultPropValue(&o, prop("Caption")));
  o.SetKind(ckFirst);
  EXPECT_FALSE(IsDefaultPropValue(&o, prop("Kind")));
  TCoreDerived d(nullptr);
  d.SetKind(ckSecond);  // the base's default is no longer the default
  EXPECT_FALSE(IsDefaultPropValue(&d, GetPropInfo(&d, "Kind")));
  d.SetKind(ckThird);
  EXPECT_TRUE(IsDefaultPropValue(&d, GetPropInfo(&d, "Kind")));
}

TEST(CoreTypInfo, PublishedFieldsAndMethods) {
  TCoreDerived form(nullptr);
  TComponent partner(nullptr);
  const TFieldInfo* f = form.ClassType()->FindField("partner");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->FieldClass, &TComponent::StaticClass());
  f->Set(&form, &partner);
  EXPECT_EQ(form.Partner, &partner);
  EXPECT_EQ(form.ClassType()->FindField("Other"), nullptr);

  // An event property set to a published method calls it and names it.
  const TMethodInfo* m = form.ClassType()->FindMethod("Pinged");
  ASSERT_NE(m, nullptr);
  SetMethodProp(&form, "OnPing", TMethod{&form, m});
  form.OnPing(&partner);
  EXPECT_EQ(form.PingedBy, (std::vector<TObject*>{&partner}));
  EXPECT_EQ(GetMethodProp(&form, "OnPing").Code, m);
  EXPECT_EQ(PropValueToText(&form, GetPropInfo(&form, "OnPing")), "Pinged");
  EXPECT_FALSE(IsDefaultPropValue(&form, GetPropInfo(&form, "OnPing")));
  SetPropFromText(&form, GetPropInfo(&form, "OnPing"), "nil");
  EXPECT_FALSE(form.OnPing.Assigned());
  // Base classes do not see a descendant's methods.
  EXPECT_EQ(TCoreBase::StaticClass().FindMethod("Pinged"), nullptr);
}

// Text as form files write it: what a value reads as, and what it is written
// as again (the same text unless given).
struct TextCase {
  const char* Prop;
  const char* Text;
  const char* Written;  // nullptr: the text itself
};

TEST(CoreTypInfo, FormTextRoundTrips) {
  const TextCase cases[] = {
      {"Count", "12", nullptr},
      {"Count", "-3", nullptr},
      {"Count", "$10", "16"},
      {"Count", "-2147483648", nullptr},
      {"Small", "255", nullptr},
      {"Offset", "-32768", nullptr},
      {"Percent", "100", nullptr},
      {"Percent", "101", nullptr},  // fits the byte: the setter gets it as it is
      {"Mask", "4294967295", nullptr},
      {"Mask", "$FFFFFFFF", "4294967295"},
      {"Kind", "ckThird", nullptr},
      {"Kind", "CKFIRST", "ckFirst"},
      {"Kinds", "[ckFirst, ckThird]", nullptr},
      {"Kinds", "[ckThird,ckFirst]", "[ckFirst, ckThird]"},
      {"Kinds", "[]", nullptr},
      {"Flag", "True", nullptr},
      {"Flag", "false", "False"},
      {"Caption", "'it''s'", nullptr},
      {"Caption", "'a'#13#10'b'", nullptr},
      {"Caption", "#9'x'", nullptr},
      {"Caption", "''", nullptr},
      {"ShortName", "'abc'", nullptr},
      {"Letter", "'Z'", nullptr},
      {"Letter", "''''", nullptr},
      {"Letter", "#10", nullptr},
      {"Shade", "clBtnFace", nullptr},
      {"Shade", "clRed", nullptr},
      {"Shade", "$00123456", "1193046"},
      {"Ratio", "0.25", nullptr},
      {"Buddy", "nil", nullptr},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(std::string(c.Prop) + " = " + c.Text);
    TCoreBase o(nullptr);
    PPropInfo p = GetPropInfo(&o, c.Prop);
    ASSERT_NE(p, nullptr);
    SetPropFromText(&o, p, c.Text);
    std::string written = PropValueToText(&o, p);
    EXPECT_EQ(written, c.Written ? c.Written : c.Text);
    // Reading the written text gives the same value.
    TCoreBase again(nullptr);
    SetPropFromText(&again, p, written);
    EXPECT_EQ(PropValueToText(&again, p), written);
  }
  TCoreBase o(nullptr);
  SetPropFromText(&o, GetPropInfo(&o, "Caption"), "'a'#13#10'b'");
  EXPECT_EQ(o.Caption(), "a\r\nb");
  SetPropFromText(&o, GetPropInfo(&o, "Caption"), "'it''s'");
  EXPECT_EQ(o.Caption(), "it's");
  SetPropFromText(&o, GetPropInfo(&o, "Shade"), "clBtnFace");
  EXPECT_EQ(o.Shade(), clBtnFace);
}

TEST(CoreTypInfo, ObjectReferencesAreWrittenByName) {
  TCoreBase o(nullptr);
  TComponent buddy(nullptr);
  buddy.SetName("Label1");
  o.SetBuddy(&buddy);
  EXPECT_EQ(PropValueToText(&o, GetPropInfo(&o, "Buddy")), "Label1");
  SetPropFromText(&o, GetPropInfo(&o, "Buddy"), "nil");
  EXPECT_EQ(o.Buddy(), nullptr);
}

TEST(CoreTypInfo, FormTextThatIsNoValueOfTheTypeIsRefused) {
  const TextCase cases[] = {
      {"Count", "12x", nullptr},
      {"Count", "", nullptr},
      {"Count", "2147483648", nullptr},
      {"Small", "256", nullptr},
      {"Small", "-1", nullptr},
      {"Offset", "40000", nullptr},
      {"Percent", "256", nullptr},
      {"Mask", "-1", nullptr},
      {"Kind", "ckFourth", nullptr},
      {"Kind", "1", nullptr},
      {"Kinds", "ckFirst", nullptr},  // a set needs brackets in a form file
      {"Kinds", "[ckFirst", nullptr},
      {"Kinds", "[ckFirst,]", nullptr},
      {"Kinds", "[,ckFirst]", nullptr},
      {"Kinds", "[ckFirst,,ckThird]", nullptr},
      {"Kinds", "[ckNope]", nullptr},
      {"Flag", "Maybe", nullptr},
      {"Caption", "abc", nullptr},
      {"Caption", "'abc", nullptr},
      {"Caption", "'a'b'", nullptr},
      {"Caption", "#256", nullptr},
      {"Caption", "#", nullptr},
      {"Letter", "'ab'", nullptr},
      {"Letter", "''", nullptr},
      {"Shade", "clNoSuchColour", nullptr},
      {"Ratio", "1.5x", nullptr},
      {"Buddy", "Label1", nullptr},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(std::string(c.Prop) + " = " + c.Text);
    TCoreBase o(nullptr);
    PPropInfo p = GetPropInfo(&o, c.Prop);
    ASSERT_NE(p, nullptr);
    std::string before = PropValueToText(&o, p);
    EXPECT_THROW(SetPropFromText(&o, p, c.Text), EPropertyConvertError);
    EXPECT_EQ(PropValueToText(&o, p), before);
  }
  TCoreBase o(nullptr);
  EXPECT_THROW(SetPropFromText(&o, GetPropInfo(&o, "Version"), "4"), EPropertyError);
}

TEST(CoreTypInfo, QuotedFormStrings) {
  struct Case {
    std::string Value;
    const char* Quoted;
  };
  const Case cases[] = {
      {"", "''"},
      {"plain", "'plain'"},
      {"it's", "'it''s'"},
      {"a\r\nb", "'a'#13#10'b'"},
      {"\tx", "#9'x'"},
      {std::string("\0", 1), "#0"},
      {"\xe9", "#233"},
  };
  for (const Case& c : cases) EXPECT_EQ(QuoteFormString(c.Value), c.Quoted) << c.Quoted;
}

}  // namespace
