// Malformed form files: each gives a filer error that says what was expected
// and where, and leaves nothing behind: no component listed with the owner,
// none leaked (the sanitizer build checks), none half built.
#include "stream_fixture.h"

using namespace sttest;

namespace {

std::string Stream(const std::string& records) { return "TPF0" + records; }

// One TStAll named A with the given property bytes, as the root.
std::string AllWith(const std::string& props) {
  Bytes b;
  b.Str("TStAll").Str("A").Data(props).End().End();
  return Stream(b.b);
}

struct BadCase {
  const char* name;
  std::string input;
  const char* fragment;  // in the message, with the place
};

// Reads the input under an owner; it must fail with a filer error naming
// the place, and leave the owner as it was.
void ExpectRefused(const BadCase& c) {
  SCOPED_TRACE(c.name);
  TComponent owner(nullptr);
  try {
    TComponent* r = ReadFromString(c.input, &owner);
    ADD_FAILURE() << "read without error: " << r->ClassName();
    return;
  } catch (const EFilerError& e) {
    EXPECT_NE(e.Message().find(c.fragment), std::string::npos) << e.Message();
    bool placed = e.Message().find(" at offset ") != std::string::npos ||
                  e.Message().find(" at line ") != std::string::npos;
    EXPECT_TRUE(placed) << e.Message();
  }
  EXPECT_EQ(owner.ComponentCount(), 0);
}

// A form that uses every structure of the format.
std::string RichForm() {
  TStForm root(nullptr);
  root.SetName("Root");
  auto* panel = new TStPanel(&root);
  panel->SetName("Panel");
  panel->SetParent(&root);
  auto* inner = new TStPanel(&root);
  inner->SetName("Inner");
  inner->SetParent(panel);
  auto* a = new TStAll(&root);
  a->SetName("A");
  a->SetCaption(std::string(260, 'x'));
  a->SetKinds({skSecond, skThird});
  a->SetKind(skThird);
  a->SetRatio(3.25);
  a->Lines()->Add("l1");
  a->Blob = "blob";
  a->SetBuddy(panel);
  a->OnPing = TNotifyEvent::FromMethod(TMethod{&root, TStForm::StaticClass().FindMethod("Ping")});
  return WriteToString(&root);
}

}  // namespace

TEST(FormErrors, MalformedStreamsAreRefusedWithWhatAndWhere) {
  RegisterStreamClasses();
  Bytes deep;
  for (int i = 0; i < 200; ++i) deep.Str("TStAll").Str("N" + std::to_string(i)).End();
  for (int i = 0; i < 200; ++i) deep.End();
  const BadCase cases[] = {
      {"empty", "", "Illegal stream image"},
      {"no signature", "TPF1" + AllWith(""), "Illegal stream image"},
      {"unknown class", Stream(Bytes().Str("TNoSuch").Str("A").End().End().b),
       "Class \"TNoSuch\" not found at offset 4"},
      {"unknown property", AllWith(Bytes().Str("Bogus").Raw({2, 1}).b),
       "Error reading A.Bogus: Unknown property: \"Bogus\" in class TStAll at offset 13"},
      {"unknown part of a class property", AllWith(Bytes().Str("Font.Bogus").Raw({2, 1}).b),
       "Unknown property: \"Font.Bogus\" in class TFont"},
      {"parts of a plain property", AllWith(Bytes().Str("Count.X").Raw({2, 1}).b),
       "Count has no parts"},
      {"bad value type", AllWith(Bytes().Str("Count").Raw({0x2A}).b),
       "Invalid value type 42: a value type (0..19) expected at offset 19"},
      {"string into integer", AllWith(Bytes().Str("Count").Raw({6, 1, 'x'}).b),
       "Error reading A.Count: Invalid value for property: an integer expected, vaString found"},
      {"integer into Boolean", AllWith(Bytes().Str("Flag").Raw({2, 1}).b),
       "a Boolean expected, vaInt8 found"},
      {"unknown enumerator", AllWith(Bytes().Ident("Kind", "skNinth").b),
       "\"skNinth\" is not a value of TStKind"},
      {"unknown set member", AllWith(Bytes().Str("Kinds").Raw({0x0B}).Str("skNone").End().b),
       "\"skNone\" is not a member of TStKinds"},
      {"set that never ends", AllWith(Bytes().Str("Kinds").Raw({0x0B}).Str("skFirst").b),
       "Unexpected end of stream"},
      {"identifier of another type", AllWith(Bytes().Ident("Count", "clRed").b),
       "\"clRed\" is not a value of Integer"},
      {"unknown colour", AllWith(Bytes().Ident("Shade", "clPlaid").b),
       "\"clPlaid\" is not a value of TColor"},
      {"integer too big for its storage", AllWith(Bytes().Str("Small").Raw({3, 0x2C, 1}).b),
       "300 does not fit Byte"},
      {"unknown method", AllWith(Bytes().Ident("OnPing", "Nope").b), "has no method \"Nope\""},
      {"read-only property", AllWith(Bytes().Str("Fixed").Raw({2, 1}).b),
       "Property Fixed is read-only"},
      {"value for a class property", AllWith(Bytes().Str("Font").Raw({2, 1}).b),
       "its parts expected, vaInt8 found"},
      {"long string longer than the stream",
       AllWith(Bytes().Str("Caption").Raw({0x0C, 0xFF, 0xFF, 0xFF, 0x7F}).b),
       "Invalid length 2147483647: only 2 bytes are left in the stream at offset 22"},
      {"wide string longer than the stream",
       AllWith(Bytes().Str("Caption").Raw({0x12, 0, 0, 0, 0x40, 'a'}).b), "Invalid length"},
      {"binary longer than the stream",
       AllWith(Bytes().Str("Blob").Raw({0x0A, 0xF0, 0xFF, 0xFF, 0xFF, 0}).b), "Invalid length"},
      {"defined property of the wrong type", AllWith(Bytes().Str("Extra").Raw({6, 0}).b),
       "Error reading A.Extra: Invalid value: an integer expected, vaString found"},
      {"list that never ends", AllWith(Bytes().Str("Lines.Strings").Raw({1, 6, 1, 'a'}).b),
       "Unexpected end of stream"},
      {"duplicate name",
       Stream(Bytes().Str("TStForm").Str("Root").End().Str("TStAll").Str("A").End().End()
                  .Str("TStAll").Str("a").End().End().End().b),
       "A component named a already exists"},
      {"unknown child class",
       Stream(Bytes().Str("TStForm").Str("Root").End().Str("TStPanel").Str("P").End()
                  .Str("TBogus").Str("Q").End().End().End().End().b),
       "Class \"TBogus\" not found"},
      {"deep nesting", Stream(deep.b), "Components nested too deeply"},
      {"an inherited child that is its own parent",
       Stream(Bytes().Str("TStForm").Str("Root").End().Str("TStPanel").Str("P").End()
                  .Raw({0xF1}).Str("TStPanel").Str("P").End().End().End().End().b),
       "Component P is already being read: it cannot contain itself at offset 40"},
      {"no end of the child list", Stream(Bytes().Str("TStAll").Str("A").End().b),
       "Unexpected end of stream"},
      {"text: no '='", "object A: TStAll\n  Count 1\nend\n", "'=' expected, '1' found at line 2"},
      {"text: unknown property", "object A: TStAll\n  Count = 1\n  Bogus = 2\nend\n",
       "Error reading A.Bogus: Unknown property: \"Bogus\" in class TStAll at line 3"},
      {"text: bad value", "object A: TStAll\n\n  Kind = 3\nend\n",
       "an identifier of TStKind expected, vaInt8 found at line 3"},
      {"text: unclosed string", "object A: TStAll\n  Caption = 'abc\nend\n",
       "the closing quote of a string expected"},
      {"text: odd hex digits", "object A: TStAll\n  Blob = {ABC}\nend\n",
       "an even number of hexadecimal digits expected"},
      {"text: integer beyond 64 bits", "object A: TStAll\n  Count = 99999999999999999999\nend\n",
       "an integer in 64 bits expected"},
      {"text: text after the end", "object A: TStAll\nend\nobject B: TStAll\nend\n",
       "the end of the text expected, 'object' found at line 3"},
      {"text: missing end", "object A: TStAll\n  Count = 1\n",
       "a property name, a child object or 'end' expected, the end of the text found"},
  };
  for (const BadCase& c : cases) ExpectRefused(c);
}

// Every proper prefix of a real stream is refused; nothing is left behind.
TEST(FormErrors, EveryTruncationOfARealStreamIsRefused) {
  RegisterStreamClasses();
  std::string whole = RichForm();
  for (size_t n = 0; n < whole.size(); ++n)
    ExpectRefused({"binary prefix", whole.substr(0, n), ""});
  std::string text = [&] {
    TReadOnlyMemoryStream in(whole.data(), static_cast<int64_t>(whole.size()));
    TMemoryStream out;
    ObjectBinaryToText(&in, &out);
    return out.DataString();
  }();
  // Text cut anywhere before its final "end" is refused too.
  size_t lastEnd = text.rfind("end");
  for (size_t n = 0; n < lastEnd + 3; n += 3) ExpectRefused({"text prefix", text.substr(0, n), ""});
  // The whole text reads.
  delete ReadFromString(text);
}

// A failure midway through a form read into an existing root leaves that
// root without any of the components read so far.
TEST(FormErrors, AFailedReadIntoAnExistingRootRemovesWhatItAdded) {
  RegisterStreamClasses();
  TStForm root(nullptr);
  std::string text =
      "object Root: TStForm\n"
      "  object Panel: TStPanel\n"
      "    object Inner: TStPanel\n"
      "    end\n"
      "  end\n"
      "  object A: TStAll\n"
      "    Kind = skNone\n"
      "  end\n"
      "end\n";
  TReadOnlyMemoryStream s(text.data(), static_cast<int64_t>(text.size()));
  EXPECT_THROW(ReadFormStreamInto(&s, &root), EReadError);
  EXPECT_EQ(root.ComponentCount(), 0);
  EXPECT_EQ(root.ControlCount(), 0);
  EXPECT_EQ(root.Panel, nullptr);
  EXPECT_FALSE(root.ComponentState().Contains(csLoading));
}

// Found by fuzzing: binary to text must refuse what the text cannot hold,
// and what it writes must convert back.
TEST(FormErrors, ConversionsRefuseWhatTheTextCannotHoldAndReadBackWhatTheyWrite) {
  for (const char* name : {"a-b", "end", "9x"}) {
    std::string bin = AllWith(Bytes().Str(name).Raw({2, 1}).b);
    TReadOnlyMemoryStream in(bin.data(), static_cast<int64_t>(bin.size()));
    TMemoryStream out;
    try {
      ObjectBinaryToText(&in, &out);
      ADD_FAILURE() << name << " converted";
    } catch (const EReadError& e) {
      EXPECT_NE(e.Message().find("the text format expects an identifier at offset 13"),
                std::string::npos)
          << e.Message();
    }
  }
  // Currency values at the ends of their range keep every digit.
  for (uint64_t u : {0x7FFFFFFFFFFFFFFFull, 0x8000000000000000ull, 0x0000000000000001ull}) {
    Bytes b;
    b.Str("C").Raw({0x10});
    for (int i = 0; i < 8; ++i) b.Raw({static_cast<int>((u >> (8 * i)) & 0xFF)});
    std::string bin = AllWith(b.b);
    EXPECT_EQ(Hex(TextToBinary(BinaryToText(bin))), Hex(bin));
  }
}
