// Classes for the form-file tests: a component with a published property of
// every kind, a container control, and a form with published fields and
// methods. Each records what the reader did to it.
#pragma once

#include <gtest/gtest.h>
#include <vcl/Classes.h>
#include <vcl/Controls.h>
#include <vcl/Forms.h>
#include <vcl/Graphics.h>

#include <string>
#include <vector>

VCL_ENUM(TStKind, skFirst, skSecond, skThird)
VCL_SET(TStKinds, TStKind)

namespace sttest {

inline PTypeInfo ShortNameType() {
  static const PTypeInfo info = MakeShortStringTypeInfo("TStShortName", 4);
  return info;
}
inline PTypeInfo PercentType() {
  static const PTypeInfo info = MakeIntTypeInfo("TStPercent", otUByte, 0, 100);
  return info;
}

// What happened during a read, in order: "set Name.Prop", "loaded Name".
inline std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

// A component with nothing stored by default but a property of every kind.
class TStAll : public TComponent {
  VCL_CLASS(TStAll, TComponent)
  explicit TStAll(TComponent* owner)
      : TComponent(owner), FFont(new TFont), FLines(new TStringList) {}
  ~TStAll() override {
    delete FLines;
    delete FFont;
  }

  int32_t Count() const { return FCount; }
  void SetCount(int32_t v) {
    Note("Count");
    FCount = v;
  }
  uint8_t Small() const { return FSmall; }
  void SetSmall(uint8_t v) { FSmall = v; }
  uint8_t Percent() const { return FPercent; }
  void SetPercent(uint8_t v) { FPercent = v; }
  TColor Shade() const { return FShade; }
  void SetShade(TColor v) { FShade = v; }
  bool Flag() const { return FFlag; }
  void SetFlag(bool v) { FFlag = v; }
  TStKind Kind() const { return FKind; }
  void SetKind(TStKind v) { FKind = v; }
  TStKinds Kinds() const { return FKinds; }
  void SetKinds(TStKinds v) { FKinds = v; }
  std::string Caption() const { return FCaption; }
  void SetCaption(const std::string& v) { FCaption = v; }
  std::string ShortName() const { return FShortName; }
  void SetShortName(const std::string& v) { FShortName = v; }
  char Letter() const { return FLetter; }
  void SetLetter(char v) { FLetter = v; }
  double Ratio() const { return FRatio; }
  void SetRatio(double v) { FRatio = v; }
  TFont* Font() const { return FFont; }
  bool StoreFont = false;
  bool IsFontStored() const { return StoreFont; }
  void SetFont(TFont* v) { FFont->Assign(v); }
  TStringList* Lines() const { return FLines; }
  void SetLines(TStringList* v) { FLines->Assign(v); }
  TComponent* Buddy() const { return FBuddy; }
  void SetBuddy(TComponent* v) { FBuddy = v; }
  const TNotifyEvent& GetOnPing() const { return OnPing; }
  void SetOnPing(const TNotifyEvent& e) { OnPing = e; }
  int32_t Fixed() const { return 5; }

  // Defined properties: an integer, and a block of bytes.
  int32_t Extra = 0;
  bool HasExtra = false;
  std::string Blob;

  TNotifyEvent OnPing;

  void Loaded() override {
    TComponent::Loaded();
    Log().push_back("loaded " + Name());
  }

 protected:
  void DefineProperties(TFiler* filer) override {
    TComponent::DefineProperties(filer);
    filer->DefineProperty(
        "Extra", [this](TReader* r) { Extra = r->ReadInteger(); },
        [this](TWriter* w) { w->WriteInteger(Extra); }, HasExtra);
    filer->DefineBinaryProperty(
        "Blob",
        [this](TStream* s) {
          Blob.assign(static_cast<size_t>(s->Size()), '\0');
          s->ReadBuffer(Blob.data(), s->Size());
        },
        [this](TStream* s) { s->WriteBuffer(Blob.data(), static_cast<int64_t>(Blob.size())); },
        !Blob.empty());
  }

 private:
  void Note(const char* prop) {
    std::string state;
    if (FComponentState.Contains(csLoading)) state += " loading";
    if (FComponentState.Contains(csReading)) state += " reading";
    Log().push_back("set " + Name() + "." + prop + state);
  }
  int32_t FCount = 0;
  uint8_t FSmall = 0;
  uint8_t FPercent = 0;
  TColor FShade = clBlack;
  bool FFlag = false;
  TStKind FKind = skFirst;
  TStKinds FKinds;
  std::string FCaption;
  std::string FShortName;
  char FLetter = 'a';
  double FRatio = 0;
  TFont* FFont;
  TStringList* FLines;
  TComponent* FBuddy = nullptr;
};

// A container control whose children are its child controls.
class TStPanel : public TCustomControl {
  VCL_CLASS(TStPanel, TCustomControl)
  explicit TStPanel(TComponent* owner) : TCustomControl(owner) {
    FControlStyle.Include(csAcceptsControls);
  }
  void Loaded() override {
    TCustomControl::Loaded();
    Log().push_back("loaded " + Name());
  }
  void ReadState(TReader* reader) override {
    Log().push_back("read " + Name() + " parent " +
                    (reader->Parent() ? reader->Parent()->Name() : std::string("nil")) +
                    " owner " + (reader->Owner() ? reader->Owner()->Name() : std::string("nil")));
    TCustomControl::ReadState(reader);
  }
  // Records whether the control is marked as being read.
  int32_t Probe() const { return 0; }
  void SetProbe(int32_t) {
    Log().push_back("probe " + Name() +
                    (ControlState().Contains(csReadingState) ? " readingstate" : ""));
  }
};

// A form with published fields and methods.
class TStForm : public TForm {
  VCL_CLASS(TStForm, TForm)
  explicit TStForm(TComponent* owner) : TForm(owner) {}
  void Ping(TObject*) { ++Pings; }
  void Loaded() override {
    TForm::Loaded();
    Log().push_back("loaded " + Name());
  }
  TStAll* First = nullptr;
  TStPanel* Panel = nullptr;
  int Pings = 0;
};

// Registers the test classes once.
inline void RegisterStreamClasses() {
  static bool done = false;
  if (done) return;
  RegisterClasses({&TStAll::StaticClass(), &TStPanel::StaticClass(), &TStForm::StaticClass()});
  done = true;
}

// Builds expected stream bytes by hand.
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
  Bytes& Data(const std::string& s) {
    b += s;
    return *this;
  }
  Bytes& Ident(const std::string& name, const std::string& id) { return Str(name).Raw({7}).Str(id); }
  Bytes& End() { return Raw({0}); }
};

inline std::string Hex(const std::string& s) {
  static const char* d = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s) {
    if (!out.empty()) out += ' ';
    out += d[c >> 4];
    out += d[c & 15];
  }
  return out;
}

inline std::string Bin(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

inline std::string WriteToString(TComponent* root, TStreamOriginalFormat format = sofBinary) {
  TMemoryStream s;
  WriteFormStream(&s, root, format);
  return s.DataString();
}

inline TComponent* ReadFromString(const std::string& bytes, TComponent* owner = nullptr) {
  TReadOnlyMemoryStream s(bytes.data(), static_cast<int64_t>(bytes.size()));
  return ReadFormStream(&s, owner);
}

inline std::string BinaryToText(const std::string& bytes) {
  TReadOnlyMemoryStream in(bytes.data(), static_cast<int64_t>(bytes.size()));
  TMemoryStream out;
  ObjectBinaryToText(&in, &out);
  return out.DataString();
}

inline std::string TextToBinary(const std::string& text) {
  TReadOnlyMemoryStream in(text.data(), static_cast<int64_t>(text.size()));
  TMemoryStream out;
  ObjectTextToBinary(&in, &out);
  return out.DataString();
}

}  // namespace sttest
