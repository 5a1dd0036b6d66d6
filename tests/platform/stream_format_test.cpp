// Streams, and the two form-file formats byte for byte: what the writer
// stores and leaves out, the text layout, and the conversions both ways.
#include <unistd.h>

#include "stream_fixture.h"

using namespace sttest;

namespace {

class FormFormat : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterStreamClasses();
    root = new TStForm(nullptr);
    root->SetName("Root");
  }
  void TearDown() override { delete root; }

  TStAll* NewAll(const std::string& name) {
    auto* a = new TStAll(root);
    a->SetName(name);
    return a;
  }
  // The bytes that a TStAll writes with every property at its default:
  // the two ordinals without a default, Count and Kinds, are written anyway.
  static Bytes AllHeader(const std::string& name) {
    Bytes b;
    b.Str("TStAll").Str(name).Str("Count").Raw({2, 0});
    return b;
  }
  // The stream of the root with the given children records, which the root
  // writes after its own properties.
  std::string RootWith(const std::string& children) {
    std::string whole = WriteToString(root);
    // The root's own record up to its child list, as the writer made it.
    Bytes b;
    b.Data(whole.substr(0, RootHeaderSize()));
    b.Data(children).End();
    return b.b;
  }
  size_t RootHeaderSize() {
    // Write the root alone to learn where its child list starts.
    TStForm alone(nullptr);
    alone.SetName("Root");
    std::string s = WriteToString(&alone);
    return s.size() - 1;
  }

  TStForm* root = nullptr;
};

}  // namespace

TEST(Streams, MemoryStreamReadsWritesSeeksAndGrows) {
  TMemoryStream s;
  s.WriteBuffer("abcdef", 6);
  EXPECT_EQ(s.Size(), 6);
  EXPECT_EQ(s.Position(), 6);
  s.SetPosition(2);
  char buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 4);
  EXPECT_EQ(std::string(buf, 4), "cdef");
  s.Seek(-1, soFromEnd);
  s.WriteBuffer("XY", 2);  // overwrites the last byte, then grows
  EXPECT_EQ(s.DataString(), "abcdeXY");
  EXPECT_THROW(s.ReadBuffer(buf, 1), EReadError);  // at the end
  s.SetSize(3);
  EXPECT_EQ(s.DataString(), "abc");
  EXPECT_EQ(s.Position(), 3);
  // Bytes that come back into the stream read as zeros, never as what was
  // there before it shrank: by growing the size, or by writing past the end.
  s.SetSize(4);
  s.Seek(6, soFromBeginning);
  s.WriteBuffer("Z", 1);
  EXPECT_EQ(s.DataString(), std::string("abc\0\0\0Z", 7));
  s.Clear();
  EXPECT_EQ(s.Size(), 0);
  s.WriteBuffer("q", 1);
  EXPECT_EQ(s.DataString(), "q");
  EXPECT_THROW(s.Seek(-1, soFromBeginning), EStreamError);
  TReadOnlyMemoryStream ro("xy", 2);
  EXPECT_THROW(ro.WriteBuffer("z", 1), EWriteError);
}

TEST(Streams, FileStreamWritesReadsAndNamesTheFileItCannotOpen) {
  std::string path = ::testing::TempDir() + "stream_test_file.bin";
  {
    TFileStream f(path, fmCreate);
    f.WriteBuffer("hello", 5);
  }
  TMemoryStream m;
  m.LoadFromFile(path);
  EXPECT_EQ(m.DataString(), "hello");
  {
    TFileStream f(path, fmOpenRead);
    EXPECT_EQ(f.Size(), 5);
    f.SetPosition(1);
    char b[4];
    f.ReadBuffer(b, 4);
    EXPECT_EQ(std::string(b, 4), "ello");
  }
  ::unlink(path.c_str());
  try {
    TFileStream f(path, fmOpenRead);
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message().find(path), std::string::npos) << e.Message();
  }
}

TEST_F(FormFormat, ComponentWithNothingStoredEndsInTwoZeros) {
  TComponent p(nullptr);
  p.SetName("P");
  Bytes b;
  b.Raw({'T', 'P', 'F', '0'}).Str("TComponent").Str("P").End().End();
  EXPECT_EQ(Hex(WriteToString(&p)), Hex(b.b));
}

TEST_F(FormFormat, IntegersTakeTheSmallestWidth) {
  struct Case {
    int64_t value;
    std::string bytes;
  } cases[] = {
      {0, Bin({2, 0})},
      {127, Bin({2, 0x7F})},
      {-128, Bin({2, 0x80})},
      {128, Bin({3, 0x80, 0})},
      {-129, Bin({3, 0x7F, 0xFF})},
      {32767, Bin({3, 0xFF, 0x7F})},
      {-32769, Bin({4, 0xFF, 0x7F, 0xFF, 0xFF})},
      {40000, Bin({4, 0x40, 0x9C, 0, 0})},
      {INT32_MIN, Bin({4, 0, 0, 0, 0x80})},
  };
  for (const Case& c : cases) {
    TStAll a(nullptr);
    a.SetName("A");
    a.SetCount(static_cast<int32_t>(c.value));
    Bytes b;
    b.Raw({'T', 'P', 'F', '0'}).Str("TStAll").Str("A").Str("Count").Data(c.bytes);
    b.Str("Kinds").Raw({0x0B, 0}).End().End();
    EXPECT_EQ(Hex(WriteToString(&a)), Hex(b.b)) << c.value;
  }
  // A Byte holding 200 needs two bytes signed, whatever its declared type.
  TStAll a(nullptr);
  a.SetSmall(200);
  EXPECT_NE(WriteToString(&a).find(Bin({5, 'S', 'm', 'a', 'l', 'l', 3, 0xC8, 0})),
            std::string::npos);
}

TEST_F(FormFormat, EachKindOfValueIsStoredAsTheFormatSays) {
  TStAll* a = NewAll("A");
  TStAll* b = NewAll("B");
  a->SetCount(-1);
  a->SetSmall(7);
  a->SetShade(clBtnFace);
  a->SetFlag(true);
  a->SetKind(skThird);
  a->SetKinds({skFirst, skThird});
  a->SetCaption(std::string(300, 'c'));
  a->SetShortName("ab");
  a->SetLetter('q');
  a->SetRatio(1.5);
  a->StoreFont = true;
  a->Font()->SetName("Arial");
  a->Lines()->Add("x");
  a->Lines()->Add("");
  a->SetBuddy(b);
  a->OnPing = TNotifyEvent::FromMethod(TMethod{root, TStForm::StaticClass().FindMethod("Ping")});
  a->Extra = 7;
  a->HasExtra = true;
  a->Blob = "xyz";
  b->SetShade(static_cast<TColor>(0x123456));

  Bytes rec;
  rec.Str("TStAll").Str("A").Str("Count").Raw({2, 0xFF});
  rec.Str("Small").Raw({2, 7});
  rec.Ident("Shade", "clBtnFace");
  rec.Str("Flag").Raw({9});
  rec.Ident("Kind", "skThird");
  rec.Str("Kinds").Raw({0x0B}).Str("skFirst").Str("skThird").End();
  rec.Str("Caption").Raw({0x0C, 0x2C, 0x01, 0, 0}).Data(std::string(300, 'c'));
  rec.Str("ShortName").Raw({6, 2, 'a', 'b'});
  rec.Str("Letter").Raw({6, 1, 'q'});
  rec.Str("Ratio").Raw({5, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F});
  // Font: its stored sub-properties under dotted names (Charset and Pitch
  // hold their defaults).
  TFont plain;
  rec.Ident("Font.Color", "clWindowText");
  rec.Str("Font.Height").Raw({2, plain.Height() & 0xFF});
  rec.Str("Font.Name").Raw({6, 5}).Data("Arial");
  rec.Str("Font.Style").Raw({0x0B, 0});
  rec.Str("Lines.Strings").Raw({1, 6, 1, 'x', 6, 0, 0});
  rec.Ident("Buddy", "B");
  rec.Ident("OnPing", "Ping");
  rec.Str("Extra").Raw({2, 7});
  rec.Str("Blob").Raw({0x0A, 3, 0, 0, 0, 'x', 'y', 'z'});
  rec.End().End();
  Bytes expectB;
  expectB.Str("TStAll").Str("B").Str("Count").Raw({2, 0});
  expectB.Str("Shade").Raw({4, 0x56, 0x34, 0x12, 0});
  expectB.Str("Kinds").Raw({0x0B, 0}).End().End();
  EXPECT_EQ(Hex(WriteToString(root)), Hex(RootWith(rec.b + expectB.b)));
}

TEST_F(FormFormat, WriterLeavesOutDefaultsEmptiesAndWhatItCannotName) {
  TStAll* a = NewAll("A");
  a->SetShade(clBlack);                         // its default
  a->OnPing = [](TObject*) {};                  // a plain callable has no name
  TComponent stranger(nullptr);                 // owned by no root: no name to give
  stranger.SetName("Stranger");
  a->SetBuddy(&stranger);
  Bytes rec = AllHeader("A");
  rec.Str("Kinds").Raw({0x0B, 0}).End().End();
  EXPECT_EQ(Hex(WriteToString(root)), Hex(RootWith(rec.b)));
}

// ---------------------------------------------------------------------------
// Text

TEST_F(FormFormat, TextShowsEachKindOfValueInItsLayout) {
  TStAll* a = NewAll("A");
  NewAll("B");
  a->SetCount(-3);
  a->SetKinds({skFirst, skThird});
  a->SetCaption("it's\r\n");
  a->SetRatio(1.5);
  a->Lines()->Add("x");
  a->Lines()->Add("");
  a->Blob = std::string(33, '\xAB');
  a->SetBuddy(root);
  std::string text = BinaryToText(WriteToString(root));
  std::string expected =
      "  object A: TStAll\n"
      "    Count = -3\n"
      "    Kinds = [skFirst, skThird]\n"
      "    Caption = 'it''s'#13#10\n"
      "    Ratio =  1.50000000000000000000E+0000\n"
      "    Lines.Strings = (\n"
      "      'x'\n"
      "      '')\n"
      "    Buddy = Root\n"
      "    Blob = {\n"
      "      ABABABABABABABABABABABABABABABABABABABABABABABABABABABABABABABAB\n"
      "      AB\n"
      "    }\n"
      "  end\n"
      "  object B: TStAll\n"
      "    Count = 0\n"
      "    Kinds = []\n"
      "  end\n"
      "end\n";
  // The list closes on a line of its own at the property's indent.
  size_t at = expected.find("      '')\n");
  expected.replace(at, 10, "      ''\n    )\n");
  ASSERT_TRUE(text.starts_with("object Root: TStForm\n")) << text;
  EXPECT_TRUE(text.ends_with(expected)) << text;
}

TEST_F(FormFormat, TextRoundTripKeepsEveryByteOfEveryValue) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  TStAll* a = NewAll("A");
  a->SetCaption(all);
  a->SetRatio(-1234.5e-300);
  a->Blob = all;
  a->Lines()->Add("caf\xE9");
  a->Lines()->Add(std::string(256, 'z'));
  a->SetKinds({skSecond});
  std::string bin = WriteToString(root);
  std::string text = BinaryToText(bin);
  EXPECT_NE(text.find("'caf'#233"), std::string::npos);
  EXPECT_EQ(Hex(TextToBinary(text)), Hex(bin));
  EXPECT_EQ(BinaryToText(TextToBinary(text)), text);
}

TEST(TextFormat, ReadsTheLayoutsOfOtherWriters) {
  std::string canonical =
      "object X: TStAll\n"
      "  Count = 10\n"
      "  Caption = 'abcdef'\n"
      "  Lines.Strings = (\n"
      "    'a'\n"
      "    'b'\n"
      "  )\n"
      "  Blob = {\n"
      "    0102\n"
      "  }\n"
      "  object Y: TStAll[2]\n"
      "  end\n"
      "end\n";
  std::string bin = TextToBinary(canonical);
  const char* variants[] = {
      // CR LF, keywords in other cases, hex integers, split strings, items
      // closed on their last line, [n] after a space.
      "OBJECT X: TStAll\r\n  Count = $0A\r\n  Caption = 'abc' +\r\n    'def'\r\n"
      "  Lines.Strings = ('a' 'b')\r\n  Blob = {0102}\r\n  Object Y: TStAll [2]\r\n  END\r\nEnd\r\n",
      "object X: TStAll Count=10 Caption='ab'+'c'#100'ef' Lines.Strings=(\n'a'\n'b') "
      "Blob={01\n02} object Y:TStAll[ 2 ] end end",
      "\n\n  object X : TStAll\n\tCount = 10\n\tCaption = #97#98#99'def'\n"
      "\tLines.Strings = (\n\t\t'a'\n\t\t'b')\n\tBlob = {\n\t\t01 02}\n"
      "\tobject Y: TStAll [2]\n\tend\nend",
  };
  for (const char* v : variants) EXPECT_EQ(Hex(TextToBinary(v)), Hex(bin)) << v;
}

TEST(TextFormat, CharactersAbove255MakeAWideString) {
  std::string bin = TextToBinary("object X: TStAll\n  Caption = 'a'#8364#1234\nend\n");
  Bytes b;
  b.Raw({'T', 'P', 'F', '0'}).Str("TStAll").Str("X").Str("Caption");
  b.Raw({0x12, 3, 0, 0, 0, 'a', 0, 0xAC, 0x20, 0xD2, 0x04}).End().End();
  EXPECT_EQ(Hex(bin), Hex(b.b));
  EXPECT_NE(BinaryToText(bin).find("Caption = 'a'#8364#1234"), std::string::npos);
  // Read into a string property: code page 1252, '?' for what it lacks.
  RegisterStreamClasses();
  auto* x = static_cast<TStAll*>(ReadFromString(bin));
  EXPECT_EQ(x->Caption(), "a\x80?");
  delete x;
}

TEST(TextFormat, FloatsOfOtherKindsKeepTheirType) {
  std::string text =
      "object X: TStAll\n"
      "  A =  2.50000000000000000000E+0000s\n"
      "  B = -1.25000000000000000000E-0002c\n"
      "  C =  3.65000000000000000000E+0004d\n"
      "  D = 5000000000\n"
      "  E = -INF\n"
      "end\n";
  std::string bin = TextToBinary(text);
  EXPECT_EQ(BinaryToText(bin), text);
  EXPECT_NE(bin.find(Bin({1, 'A', 0x0F})), std::string::npos);  // vaSingle
  // vaCurrency holds the value times 10000: -125.
  EXPECT_NE(bin.find(Bin({1, 'B', 0x10, 0x83, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})),
            std::string::npos)
      << Hex(bin);
  EXPECT_NE(bin.find(Bin({1, 'D', 0x13})), std::string::npos);  // vaInt64
}
