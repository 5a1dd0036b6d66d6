// Reading form files: the order of creation, properties, children and
// Loaded; the reader's parent and owner; fields, references and events
// bound by name; defined properties; the reader's own rules for values; and
// round trips of whole forms in both formats.
#include "stream_fixture.h"

using namespace sttest;

namespace {

class FormReading : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterStreamClasses();
    Log().clear();
  }
  TStForm* ReadText(const std::string& text) {
    TComponent* c = ReadFromString(text);
    auto* f = dynamic_cast<TStForm*>(c);
    EXPECT_NE(f, nullptr);
    return f;
  }
  // Reads one TStAll named A in a root form and hands it back.
  TStAll* ReadAll(const std::string& props) {
    delete form;
    form = ReadText("object Root: TStForm\n  object A: TStAll\n" + props + "  end\nend\n");
    return static_cast<TStAll*>(form->FindComponent("A"));
  }
  void TearDown() override { delete form; }
  TStForm* form = nullptr;
};

const char* kTree =
    "object Root: TStForm\n"
    "  object Panel: TStPanel\n"
    "    object Inner: TStPanel\n"
    "      Probe = 1\n"
    "    end\n"
    "  end\n"
    "  object First: TStAll\n"
    "    Count = 1\n"
    "    Buddy = Later\n"
    "  end\n"
    "  object Later: TStAll\n"
    "    Count = 2\n"
    "    OnPing = Ping\n"
    "  end\n"
    "end\n";

}  // namespace

TEST_F(FormReading, ComponentsAreBuiltInStreamOrderAndLoadedAfterTheWholeForm) {
  form = ReadText(kTree);
  ASSERT_NE(form, nullptr);
  std::vector<std::string> expected = {
      "read Panel parent Root owner Root",
      "read Inner parent Panel owner Root",
      "probe Inner readingstate",
      "set First.Count loading reading",
      "set Later.Count loading reading",
      "loaded Root",
      "loaded Panel",
      "loaded Inner",
      "loaded First",
      "loaded Later",
  };
  EXPECT_EQ(Log(), expected);
  auto* panel = static_cast<TStPanel*>(form->FindComponent("Panel"));
  auto* inner = static_cast<TStPanel*>(form->FindComponent("Inner"));
  auto* first = static_cast<TStAll*>(form->FindComponent("First"));
  auto* later = static_cast<TStAll*>(form->FindComponent("Later"));
  ASSERT_TRUE(panel && inner && first && later);
  EXPECT_EQ(panel->Parent(), form);
  EXPECT_EQ(inner->Parent(), panel);
  EXPECT_EQ(inner->Owner(), form);
  for (TComponent* c : std::initializer_list<TComponent*>{form, panel, inner, first, later}) {
    EXPECT_FALSE(c->ComponentState().Contains(csLoading)) << c->Name();
    EXPECT_FALSE(c->ComponentState().Contains(csReading)) << c->Name();
  }
  EXPECT_FALSE(inner->ControlState().Contains(csReadingState));
  // The root's fields, a reference to a component read later, an event.
  EXPECT_EQ(form->First, first);
  EXPECT_EQ(form->Panel, panel);
  EXPECT_EQ(first->Buddy(), later);
  later->OnPing(later);
  EXPECT_EQ(form->Pings, 1);
}

TEST_F(FormReading, NamesMatchIgnoringCaseAndPropertiesComeInAnyOrder) {
  TStAll* a = ReadAll(
      "    KINDS = [SKTHIRD, skfirst]\n"
      "    kind = SkSecond\n"
      "    FLAG = true\n"
      "    count = 4\n"
      "    shade = CLRED\n");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Kinds(), (TStKinds{skFirst, skThird}));
  EXPECT_EQ(a->Kind(), skSecond);
  EXPECT_TRUE(a->Flag());
  EXPECT_EQ(a->Count(), 4);
  EXPECT_EQ(a->Shade(), clRed);
}

TEST_F(FormReading, ValuesTheReaderStoresAsTheyCome) {
  // Our rules: a value that fits the storage is stored outside its subrange,
  // a short string is cut to its length, a reference to no component is nil.
  TStAll* a = ReadAll(
      "    Percent = 150\n"
      "    ShortName = 'abcdef'\n"
      "    Buddy = Nobody\n"
      "    Letter = 'z'\n"
      "    Ratio = 2\n");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Percent(), 150);
  EXPECT_EQ(a->ShortName(), "abcd");
  EXPECT_EQ(a->Buddy(), nullptr);
  EXPECT_EQ(a->Letter(), 'z');
  EXPECT_EQ(a->Ratio(), 2.0);
}

TEST_F(FormReading, DefinedPropertiesGetTheReaderOnTheirValue) {
  TStAll* a = ReadAll(
      "    Extra = 9\n"
      "    Blob = {\n      00FF10\n    }\n"
      "    Lines.Strings = (\n      'one'\n      ''\n    )\n"
      "    Count = 3\n");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Extra, 9);
  EXPECT_EQ(a->Blob, std::string("\x00\xFF\x10", 3));
  ASSERT_EQ(a->Lines()->Count(), 2);
  EXPECT_EQ(a->Lines()->Strings(0), "one");
  EXPECT_EQ(a->Lines()->Strings(1), "");
  EXPECT_EQ(a->Count(), 3);  // the stream stayed in step
}

TEST_F(FormReading, WholeFormsRoundTripInBothFormats) {
  form = ReadText(kTree);
  ASSERT_NE(form, nullptr);
  auto* later = static_cast<TStAll*>(form->FindComponent("Later"));
  later->SetCaption("caf\xE9 'x'");
  later->Lines()->Add("line");
  later->Blob = std::string(70, '\x01');
  later->SetRatio(0.1);
  for (TStreamOriginalFormat format : {sofBinary, sofText}) {
    std::string once = WriteToString(form, format);
    TComponent* back = ReadFromString(once);
    std::string twice = WriteToString(back, format);
    delete back;
    EXPECT_EQ(once, twice) << (format == sofText ? "text" : "binary");
  }
}

TEST_F(FormReading, FilesRoundTripAndAFailedWriteKeepsTheOldFile) {
  form = ReadText(kTree);
  ASSERT_NE(form, nullptr);
  std::string path = ::testing::TempDir() + "stream_reader_form.dfm";
  WriteFormFile(path, form, sofText);
  TComponent* back = ReadFormFile(path, nullptr);
  EXPECT_EQ(WriteToString(back), WriteToString(form));
  delete back;
  // A name too long for the format fails the write: the file stays.
  auto* a = new TStAll(form);
  a->SetName(std::string(300, 'n'));
  EXPECT_THROW(WriteFormFile(path, form, sofBinary), EWriteError);
  TMemoryStream m;
  m.LoadFromFile(path);
  EXPECT_TRUE(m.DataString().starts_with("object Root: TStForm\n"));
}
