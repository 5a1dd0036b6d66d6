// The split and its panes in form files: the About form's split written byte
// for byte, round trips over the split's settings and pane lists, the legacy
// names of older files, and how panes attach when read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixture.h"

using namespace splittest;

namespace {

// Builds expected stream bytes by hand, one record at a time.
struct Bytes {
  std::string b;
  Bytes& Raw(std::initializer_list<int> bytes) {
    for (int x : bytes) b += static_cast<char>(x);
    return *this;
  }
  Bytes& Str(const std::string& s) {
    b += static_cast<char>(s.size());
    b += s;
    return *this;
  }
  Bytes& I8(const std::string& name, int v) { return Str(name).Raw({0x02, v & 0xFF}); }
  Bytes& I16(const std::string& name, int v) {
    return Str(name).Raw({0x03, v & 0xFF, (v >> 8) & 0xFF});
  }
  Bytes& Ident(const std::string& name, const std::string& id) {
    Str(name).Raw({0x07});
    return Str(id);
  }
  Bytes& Bool(const std::string& name, bool v) { return Str(name).Raw({v ? 0x09 : 0x08}); }
  Bytes& Data(const std::string& s) {
    b += s;
    return *this;
  }
  Bytes& End() { return Raw({0x00}); }
};

// The split of the About form as its form file stores it: the split's own
// header and properties, then its two panes.
std::string AboutSplitOwnRecord() {
  Bytes b;
  b.Str("TruVezuz").Str("ruVezuz1");
  b.I8("Left", 0).I8("Top", 0).I16("Width", 497).I8("Height", 108);
  b.Bool("AutoUpdate", false).Bool("SyncScroll", false).Ident("Style", "kvsGroove");
  b.Ident("BorderStyle", "bsNone").Str("AboutReg").Raw({0x06, 0x01, '1'});
  b.Ident("Align", "alClient").Bool("ParentColor", false).Bool("ParentCtl3D", false);
  b.Bool("Ctl3D", true).I8("TabOrder", 0).I16("PositionX", 186).I8("PositionY", 50);
  b.Ident("Orientation", "kvsLeft").Str("Options").Raw({0x0B, 0x00}).End();
  return b.b;
}

std::string AboutSplitRecord() {
  Bytes b;
  b.Data(AboutSplitOwnRecord());
  b.Str("TkvScrollPane").Str("kvPane2");
  b.I8("Left", 1).I8("Top", 1).I16("Width", 185).I8("Height", 106);
  b.Bool("AutoScroll", false).I8("TabOrder", 0).End().End();
  b.Str("TkvScrollPane").Str("kvPane1");
  b.I16("Left", 192).I8("Top", 1).I16("Width", 304).I8("Height", 106);
  b.I8("TabOrder", 1).End().End();
  b.End();
  return b.b;
}

std::string Write(TComponent* root, TStreamOriginalFormat format = sofBinary) {
  TMemoryStream s;
  WriteFormStream(&s, root, format);
  return s.DataString();
}

TComponent* Read(const std::string& bytes, TComponent* owner = nullptr) {
  TReadOnlyMemoryStream s(bytes.data(), static_cast<int64_t>(bytes.size()));
  return ReadFormStream(&s, owner);
}

std::vector<std::string> Names(const TkvCustomSplit* s) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < s->PaneCount(); ++i) out.push_back(s->Panes(i)->Name());
  return out;
}

TkvCustomSplit* SplitOf(TComponent* root) {
  for (int i = 0; i < root->ComponentCount(); ++i)
    if (auto* s = dynamic_cast<TkvCustomSplit*>(root->Components(i))) return s;
  return nullptr;
}

class Streaming : public SplitTest {
 protected:
  void SetUp() override {
    SplitTest::SetUp();
    // The registrations that the package's Register makes at design time.
    RegisterClasses({&TForm::StaticClass(), &TruVezuz::StaticClass(), &TkvQuadSplit::StaticClass()});
  }
  // A form holding one split with its panes, laid out in a shown window.
  TForm* NewRoot(const std::string& name = "Root") {
    auto* f = new TForm(nullptr);
    roots.push_back(f);
    f->SetName(name);
    return f;
  }
  TForm* AboutForm() {
    TForm* f = NewRoot("kvAboutForm");
    f->SetClientWidth(497);
    f->SetClientHeight(108);
    auto* s = new TruVezuz(f);
    s->SetName("ruVezuz1");
    s->SetParent(f);
    s->SetAlign(alClient);
    s->SetStyle(kvsGroove);
    s->SetBorderStyle(bsNone);
    s->SetAboutReg("1");
    s->SetParentCtl3D(false);
    s->SetCtl3D(true);
    s->SetOrientation(kvsLeft);
    s->SetTabOrder(0);
    for (const char* n : {"kvPane2", "kvPane1"}) {
      auto* p = new TkvScrollPane(f);
      p->SetName(n);
      p->SetParent(s);
      s->AddPane(p);
    }
    s->Panes(0)->SetAutoScroll(false);
    f->Show();
    os::ProcessMessages();
    s->SetPositionX(186);
    s->SetPositionY(50);
    return f;
  }
  void TearDown() override {
    for (TComponent* r : roots) delete r;
    SplitTest::TearDown();
  }
  TComponent* Keep(TComponent* c) {
    roots.push_back(c);
    return c;
  }
  std::vector<TComponent*> roots;
};

}  // namespace

TEST_F(Streaming, AboutSplitWritesItsPropertiesAsTheFormFileHoldsThem) {
  TForm* about = AboutForm();
  std::string bytes = Write(about);
  std::string own = AboutSplitOwnRecord();
  size_t at = bytes.find(own);
  ASSERT_NE(at, std::string::npos) << "split record not found";
  // Then its panes, in pane order.
  size_t pane2 = bytes.find("\x0DTkvScrollPane\x07kvPane2", at);
  size_t pane1 = bytes.find("\x0DTkvScrollPane\x07kvPane1", at);
  EXPECT_EQ(pane2, at + own.size());
  EXPECT_LT(pane2, pane1);
}

// The whole split, panes included: a pane follows its split's colour and so
// stores neither Color nor ParentColor.
TEST_F(Streaming, AboutSplitIsWrittenAsTheFormFileHoldsIt) {
  TForm* about = AboutForm();
  std::string bytes = Write(about);
  std::string record = AboutSplitRecord();
  ASSERT_GE(bytes.size(), record.size() + 1);
  EXPECT_EQ(bytes.substr(bytes.size() - record.size() - 1), record + '\0');
  // No legacy name and no PaneIndex ever reaches the stream.
  for (const char* n : {"BarPosition", "PaneTabOrder", "BarColor", "PaneIndex"})
    EXPECT_EQ(bytes.find(n), std::string::npos) << n;
}

TEST_F(Streaming, AboutSplitReadsBackInStreamOrderAndRoundTrips) {
  TForm* about = AboutForm();
  for (TStreamOriginalFormat format : {sofBinary, sofText}) {
    std::string once = Write(about, format);
    TComponent* back = Keep(Read(once));
    TkvCustomSplit* s = SplitOf(back);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Names(s), (std::vector<std::string>{"kvPane2", "kvPane1"}));
    EXPECT_EQ(s->Panes(0)->Split(), s);
    EXPECT_EQ(s->Panes(1)->Parent(), s);
    EXPECT_EQ(s->PositionX(), 186);
    EXPECT_EQ(s->ActualStyle(), kvsGroove);
    EXPECT_EQ(Write(back, format), once);
  }
  // Binary to text and back gives the same bytes.
  std::string bin = Write(about);
  TReadOnlyMemoryStream in(bin.data(), static_cast<int64_t>(bin.size()));
  TMemoryStream text, again;
  ObjectBinaryToText(&in, &text);
  text.SetPosition(0);
  ObjectTextToBinary(&text, &again);
  EXPECT_EQ(again.DataString(), bin);
}

// Every orientation and style, option sets, 0 to 4 panes, hidden panes and
// reordered lists: write, read, write gives the same bytes, and the list
// comes back in the order it was written.
TEST_F(Streaming, SplitsOfEverySettingRoundTrip) {
  for (int o = 0; o < 6; ++o) {
    for (int st = 0; st < 6; ++st) {
      int k = o * 6 + st;
      TForm* f = NewRoot("F" + std::to_string(k));
      auto* s = (k % 2) ? static_cast<TkvCustomSplit*>(new TkvQuadSplit(f)) : new TruVezuz(f);
      s->SetName("S");
      s->SetParent(f);
      s->SetBounds(0, 0, 300, 200);
      s->SetOrientation(static_cast<TkvsOrientation>(o));
      s->SetStyle(static_cast<TkvsStyle>(st));
      s->SetOptions(TkvsOptions::FromBits(static_cast<uint32_t>(k % 8)));
      int panes = k % 5;
      for (int i = 0; i < panes; ++i) {
        auto* p = new TkvScrollPane(f);
        p->SetName("P" + std::to_string(i));
        p->SetParent(s);
        s->AddPane(p);
      }
      if (panes >= 2) s->Panes(1)->SetVisible(false);
      if (panes >= 3) s->Rotate();
      s->SetPositionX(40 + k);
      s->SetPositionY(30 + k);
      std::vector<std::string> order = Names(s);
      for (TStreamOriginalFormat format : {sofBinary, sofText}) {
        SCOPED_TRACE("case " + std::to_string(k) + (format == sofText ? " text" : " binary"));
        std::string once = Write(f, format);
        TComponent* back = Keep(Read(once));
        TkvCustomSplit* r = SplitOf(back);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->ClassType(), s->ClassType());
        EXPECT_EQ(Names(r), order);
        EXPECT_EQ(r->Orientation(), s->Orientation());
        EXPECT_EQ(r->Style(), s->Style());
        EXPECT_EQ(r->Options(), s->Options());
        if (panes >= 2) {
          EXPECT_FALSE(r->Panes(panes >= 3 ? 2 : 1)->Visible());
        }
        EXPECT_EQ(Write(back, format), once);
      }
    }
  }
}

namespace {

// A form with one split of 300 × 200 holding the given lines, then two
// panes A and B.
std::string SplitText(const std::string& lines) {
  return "object F: TForm\n"
         "  object S: TruVezuz\n"
         "    Width = 300\n"
         "    Height = 200\n" +
         lines +
         "    Orientation = kvsTop\n"
         "    object A: TkvScrollPane\n"
         "    end\n"
         "    object B: TkvScrollPane\n"
         "      PaneIndex = 0\n"
         "    end\n"
         "  end\n"
         "end\n";
}

}  // namespace

TEST_F(Streaming, LegacyBarPositionSetsBothPositions) {
  TkvCustomSplit* s = SplitOf(Keep(Read(SplitText("    BarPosition = 120\n"))));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->PositionX(), 120);
  EXPECT_EQ(s->PositionY(), 120);
  EXPECT_EQ(s->Orientation(), kvsTop);
  // A negative value: PositionY takes what SetPositionX made of it.
  s = SplitOf(Keep(Read(SplitText("    BarPosition = -40\n"))));
  EXPECT_EQ(s->PositionY(), s->PositionX());
  // A value that is not an integer fails the read.
  EXPECT_THROW(Read(SplitText("    BarPosition = 'x'\n")), EReadError);
}

TEST_F(Streaming, DiscardedLegacyNamesConsumeValuesOfAnyType) {
  const char* values[] = {"clRed", "12", "-300", "True", "False", "'text'", "[a, b]",
                          "( 1 'two' (3) )", " 1.50000000000000000000E+0000", "{0A0B}",
                          "<\n item\n  X = 1\n end>"};
  for (const char* name : {"PaneTabOrder", "AutoScroll", "BarColor", "BarPosition.X",
                           "BarPosition.Y"}) {
    for (const char* v : values) {
      SCOPED_TRACE(std::string(name) + " = " + v);
      std::string lines = std::string("    ") + name + " = " + v + "\n    PositionX = 77\n";
      TkvCustomSplit* s = SplitOf(Keep(Read(SplitText(lines))));
      ASSERT_NE(s, nullptr);
      EXPECT_EQ(s->PositionX(), 77);  // the next property is read as such
      EXPECT_EQ(s->Orientation(), kvsTop);
      EXPECT_EQ(s->PaneCount(), 2);
    }
  }
}

TEST_F(Streaming, PanesAttachInStreamOrderAndOnlyUnderASplit) {
  TkvCustomSplit* s = SplitOf(Keep(Read(SplitText(""))));
  ASSERT_NE(s, nullptr);
  // B's stored PaneIndex 0 was read while B was detached: no effect.
  EXPECT_EQ(Names(s), (std::vector<std::string>{"A", "B"}));
  // A pane read into a form stays detached, without an error.
  TComponent* f = Keep(Read("object F: TForm\n  object P: TkvScrollPane\n  end\nend\n"));
  auto* p = dynamic_cast<TkvScrollPane*>(f->FindComponent("P"));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->Split(), nullptr);
  EXPECT_EQ(p->Parent(), f);
}

TEST_F(Streaming, OnlyListedPanesAreWritten) {
  TForm* f = NewRoot();
  auto* s = new TruVezuz(f);
  s->SetName("S");
  s->SetParent(f);
  auto* listed = new TkvScrollPane(f);
  listed->SetName("Listed");
  listed->SetParent(s);
  s->AddPane(listed);
  auto* removed = new TkvScrollPane(f);
  removed->SetName("Removed");
  removed->SetParent(s);
  s->AddPane(removed);
  s->RemovePane(removed);
  auto* placed = new TruVezuz(f);  // a control put on the split by code
  placed->SetName("Placed");
  placed->SetParent(s);
  std::string once = Write(f);
  EXPECT_EQ(once.find("Removed"), std::string::npos);
  EXPECT_EQ(once.find("Placed"), std::string::npos);
  TComponent* back = Keep(Read(once));
  EXPECT_EQ(back->FindComponent("Placed"), nullptr);
  EXPECT_EQ(Names(SplitOf(back)), (std::vector<std::string>{"Listed"}));
}
