// TReader: reads components from the binary form-file format.
//
// A whole read (ReadRootComponent) creates each component from its class,
// sets its name, binds the root's field of that name, and lets it read its
// own state (ReadState -> ReadData): properties through their setters while
// csLoading and csReading are set, then its children. Component references
// are resolved by name once the whole stream is in, then Loaded runs on the
// root and on every component read, in reading order. A failure anywhere
// frees every component the read created.
#include <algorithm>
#include <unordered_map>

#include "classes/formfile_internal.h"
#include "vcl/Classes.h"

using formfile::kMaxDepth;

const TClassInfo& TFiler::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("TFiler", &TObject::StaticClass());
  return info;
}
const TClassInfo& TReader::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("TReader", &TFiler::StaticClass());
  return info;
}

namespace {

const char* ValueTypeName(int t) {
  static const char* names[] = {"vaNull",   "vaList",   "vaInt8",       "vaInt16",  "vaInt32",
                                "vaExtended", "vaString", "vaIdent",    "vaFalse",  "vaTrue",
                                "vaBinary", "vaSet",    "vaLString",    "vaNil",    "vaCollection",
                                "vaSingle", "vaCurrency", "vaDate",     "vaWString", "vaInt64"};
  return t >= 0 && t <= vaInt64 ? names[t] : "an unknown value type";
}

bool IsIntegerValue(TValueType t) {
  return t == vaInt8 || t == vaInt16 || t == vaInt32 || t == vaInt64;
}

// The range of an ordinal's storage, whatever its declared subrange.
void StorageRange(TOrdType ord, int64_t& lo, int64_t& hi) {
  switch (ord) {
    case otSByte: lo = INT8_MIN; hi = INT8_MAX; break;
    case otUByte: lo = 0; hi = UINT8_MAX; break;
    case otSWord: lo = INT16_MIN; hi = INT16_MAX; break;
    case otUWord: lo = 0; hi = UINT16_MAX; break;
    case otSLong: lo = INT32_MIN; hi = INT32_MAX; break;
    case otULong: lo = 0; hi = UINT32_MAX; break;
  }
}

std::string NameOf(const TComponent* c) {
  if (!c) return "";
  return c->Name().empty() ? c->ClassName() : c->Name();
}

}  // namespace

// A reference to resolve by name once the whole stream is in.
struct TReader::Fixup {
  TPersistent* Instance;
  PPropInfo Prop;
  std::string Name;
};

// What a whole read keeps besides the stream position.
struct TReader::State {
  std::vector<TComponent*> Created;  // in creation order; freed on failure
  std::vector<TComponent*> Loaded;   // the root first, then in reading order
  std::vector<Fixup> Fixups;
  std::vector<const TFieldInfo*> Bound;  // root fields set during the read
  bool FieldsBuilt = false;
  TTextMap<const TFieldInfo*> Fields;  // by name, ignoring case
};

TReader::TReader(TStream* stream, int bufSize) : TFiler(stream) {
  FStreamSize = stream->Size();
  if (auto* mem = dynamic_cast<TCustomMemoryStream*>(stream)) {
    // Read a memory stream's bytes where they are.
    FDirect = true;
    FData = mem->Memory();
    FOrigin = 0;
    FPos = mem->Position();
    FEnd = FStreamSize;
    if (FPos > FEnd) FPos = FEnd;
  } else {
    FBuffer.resize(static_cast<size_t>(std::max(bufSize, 256)));
    FData = FBuffer.data();
    FOrigin = stream->Position();
  }
  DescribeOffset = [](int64_t offset) { return "offset " + std::to_string(offset); };
}

TReader::~TReader() {
  // Give back what was buffered but not read.
  try {
    if (FDirect)
      FStream->SetPosition(FPos);
    else if (FEnd > FPos)
      FStream->Seek(-(FEnd - FPos), soFromCurrent);
  } catch (...) {
  }
}

std::string TReader::Where(int64_t offset) const { return DescribeOffset(offset); }

void TReader::ReadError(const std::string& what, int64_t offset) {
  throw EReadError(what + " at " + Where(offset));
}

void TReader::FillMore(int64_t need) {
  if (!FDirect) {
    int64_t keep = FEnd - FPos;
    std::memmove(FBuffer.data(), FBuffer.data() + FPos, static_cast<size_t>(keep));
    FOrigin += FPos;
    FPos = 0;
    FEnd = keep;
    if (need > static_cast<int64_t>(FBuffer.size())) FBuffer.resize(static_cast<size_t>(need));
    FData = FBuffer.data();
    while (FEnd < need) {
      int64_t n = FStream->Read(FBuffer.data() + FEnd, static_cast<int64_t>(FBuffer.size()) - FEnd);
      if (n <= 0) break;
      FEnd += n;
    }
    if (FEnd - FPos >= need) return;
  }
  ReadError("Unexpected end of stream: " + std::to_string(need) + " more byte" +
                (need == 1 ? "" : "s") + " expected, " + std::to_string(FEnd - FPos) + " left",
            Position());
}

void TReader::Read(void* buffer, int64_t count) {
  if (count <= 0) return;
  auto* out = static_cast<uint8_t*>(buffer);
  int64_t have = std::min(count, FEnd - FPos);
  std::memcpy(out, FData + FPos, static_cast<size_t>(have));
  FPos += have;
  if (have == count) return;
  // The rest straight from the stream.
  int64_t at = Position();
  int64_t left = count - have;
  int64_t got = FDirect ? 0 : FStream->Read(out + have, left);
  if (got > 0) FOrigin += got;
  if (got != left)
    ReadError("Unexpected end of stream: " + std::to_string(left) + " more bytes expected", at);
}

void TReader::SkipBytes(int64_t count) {
  while (count > 0) {
    if (FPos == FEnd) Fill(1);
    int64_t n = std::min(count, FEnd - FPos);
    FPos += n;
    count -= n;
  }
}

// A length field may not promise more bytes than the stream still holds:
// nothing is allocated for a length the stream cannot back.
void TReader::CheckLength(int64_t length, int64_t at) {
  int64_t left = FStreamSize - Position();
  if (length < 0 || length > left)
    ReadError("Invalid length " + std::to_string(length) + ": only " + std::to_string(left) +
                  " bytes are left in the stream",
              at);
}

TValueType TReader::PeekType() {
  Fill(1);
  uint8_t b = FData[FPos];
  if (b > vaInt64)
    ReadError("Invalid value type " + std::to_string(b) + ": a value type (0.." +
                  std::to_string(int{vaInt64}) + ") expected",
              Position());
  return static_cast<TValueType>(b);
}

TValueType TReader::NextValue() { return PeekType(); }

TValueType TReader::ReadValue() {
  TValueType t = PeekType();
  ++FPos;
  return t;
}

void TReader::CheckValue(TValueType value) {
  int64_t at = Position();
  TValueType t = ReadValue();
  if (t != value)
    ReadError(std::string("Invalid value: ") + ValueTypeName(value) + " expected, " +
                  ValueTypeName(t) + " found",
              at);
}

bool TReader::EndOfList() {
  Fill(1);
  return FData[FPos] == 0;
}

void TReader::ReadListBegin() { CheckValue(vaList); }

void TReader::ReadListEnd() { CheckValue(vaNull); }

std::string TReader::ReadStr() {
  uint8_t n = ReadByte();
  Fill(n);
  std::string s(reinterpret_cast<const char*>(FData + FPos), n);
  FPos += n;
  return s;
}

int64_t TReader::ReadInt64() {
  int64_t at = Position();
  TValueType t = ReadValue();
  switch (t) {
    case vaInt8: {
      return static_cast<int8_t>(ReadByte());
    }
    case vaInt16: {
      uint8_t b[2];
      Read(b, 2);
      return static_cast<int16_t>(b[0] | (b[1] << 8));
    }
    case vaInt32: {
      uint8_t b[4];
      Read(b, 4);
      return static_cast<int32_t>(uint32_t{b[0]} | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16) |
                                  (uint32_t{b[3]} << 24));
    }
    case vaInt64: {
      uint8_t b[8];
      Read(b, 8);
      uint64_t u = 0;
      for (int i = 7; i >= 0; --i) u = (u << 8) | b[i];
      return static_cast<int64_t>(u);
    }
    default:
      ReadError(std::string("Invalid value: an integer expected, ") + ValueTypeName(t) + " found",
                at);
  }
}

int32_t TReader::ReadInteger() {
  int64_t at = Position();
  int64_t v = ReadInt64();
  if (v < INT32_MIN || v > INT32_MAX)
    ReadError("Invalid value: " + std::to_string(v) + " does not fit a 32-bit integer", at);
  return static_cast<int32_t>(v);
}

bool TReader::ReadBoolean() {
  int64_t at = Position();
  TValueType t = ReadValue();
  if (t == vaTrue) return true;
  if (t == vaFalse) return false;
  ReadError(std::string("Invalid value: a Boolean expected, ") + ValueTypeName(t) + " found", at);
}

char TReader::ReadChar() {
  int64_t at = Position();
  std::string s = ReadString();
  if (s.size() != 1) ReadError("Invalid value: a single character expected", at);
  return s[0];
}

std::string TReader::ReadIdent() {
  int64_t at = Position();
  TValueType t = ReadValue();
  switch (t) {
    case vaIdent: return ReadStr();
    case vaFalse: return "False";
    case vaTrue: return "True";
    case vaNil: return "nil";
    case vaNull: return "Null";
    default:
      ReadError(std::string("Invalid value: an identifier expected, ") + ValueTypeName(t) +
                    " found",
                at);
  }
}

namespace {
uint32_t Le32(const uint8_t* b) {
  return uint32_t{b[0]} | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16) | (uint32_t{b[3]} << 24);
}
}  // namespace

std::u16string TReader::ReadWideString() {
  int64_t at = Position();
  TValueType t = ReadValue();
  if (t == vaString || t == vaLString) {
    --FPos;  // FPos still lies within the buffer: the type byte was just read
    return formfile::BytesToWide(ReadString());
  }
  if (t != vaWString)
    ReadError(std::string("Invalid value: a string expected, ") + ValueTypeName(t) + " found", at);
  uint8_t b[4];
  int64_t lenAt = Position();
  Read(b, 4);
  int64_t units = Le32(b);
  CheckLength(units * 2, lenAt);
  std::u16string w(static_cast<size_t>(units), u'\0');
  for (int64_t i = 0; i < units; ++i) {
    uint8_t u[2];
    Read(u, 2);
    w[static_cast<size_t>(i)] = static_cast<char16_t>(u[0] | (u[1] << 8));
  }
  return w;
}

std::string TReader::ReadString() {
  int64_t at = Position();
  TValueType t = ReadValue();
  int64_t len;
  if (t == vaString) {
    len = ReadByte();
  } else if (t == vaLString) {
    uint8_t b[4];
    int64_t lenAt = Position();
    Read(b, 4);
    len = Le32(b);
    CheckLength(len, lenAt);
  } else if (t == vaWString) {
    --FPos;
    return formfile::WideToBytes(ReadWideString());
  } else {
    ReadError(std::string("Invalid value: a string expected, ") + ValueTypeName(t) + " found", at);
  }
  std::string s(static_cast<size_t>(len), '\0');
  Read(s.data(), len);
  return s;
}

long double TReader::ReadFloat() {
  int64_t at = Position();
  TValueType t = NextValue();
  switch (t) {
    case vaExtended: {
      ReadValue();
      uint8_t b[10];
      Read(b, 10);
      return formfile::ExtendedToLongDouble(b);
    }
    case vaSingle: return ReadSingle();
    case vaDate: return ReadDate();
    case vaCurrency: return static_cast<long double>(ReadCurrency()) / 10000;
    default:
      if (IsIntegerValue(t)) return static_cast<long double>(ReadInt64());
      ReadError(std::string("Invalid value: a number expected, ") + ValueTypeName(t) + " found",
                at);
  }
}

float TReader::ReadSingle() {
  CheckValue(vaSingle);
  uint8_t b[4];
  Read(b, 4);
  uint32_t u = Le32(b);
  float f;
  std::memcpy(&f, &u, 4);
  return f;
}

double TReader::ReadDate() {
  CheckValue(vaDate);
  uint8_t b[8];
  Read(b, 8);
  uint64_t u = uint64_t{Le32(b)} | (uint64_t{Le32(b + 4)} << 32);
  double d;
  std::memcpy(&d, &u, 8);
  return d;
}

int64_t TReader::ReadCurrency() {
  CheckValue(vaCurrency);
  uint8_t b[8];
  Read(b, 8);
  return static_cast<int64_t>(uint64_t{Le32(b)} | (uint64_t{Le32(b + 4)} << 32));
}

void TReader::SkipSetBody() {
  for (;;) {
    uint8_t n = ReadByte();
    if (n == 0) return;
    Fill(n);
    FPos += n;
  }
}

void TReader::SkipValue() {
  int64_t at = Position();
  if (FDepth >= kMaxDepth) ReadError("Values nested too deeply", at);
  TValueType t = ReadValue();
  switch (t) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
      return;
    case vaList: {
      ++FDepth;
      while (!EndOfList()) SkipValue();
      --FDepth;
      ReadListEnd();
      return;
    }
    case vaInt8: SkipBytes(1); return;
    case vaInt16: SkipBytes(2); return;
    case vaInt32: SkipBytes(4); return;
    case vaInt64:
    case vaCurrency:
    case vaDate: SkipBytes(8); return;
    case vaSingle: SkipBytes(4); return;
    case vaExtended: SkipBytes(10); return;
    case vaString:
    case vaIdent: SkipBytes(ReadByte()); return;
    case vaLString:
    case vaBinary:
    case vaWString: {
      int64_t lenAt = Position();
      uint8_t b[4];
      Read(b, 4);
      int64_t len = int64_t{Le32(b)} * (t == vaWString ? 2 : 1);
      CheckLength(len, lenAt);
      SkipBytes(len);
      return;
    }
    case vaSet: SkipSetBody(); return;
    case vaCollection: {
      ++FDepth;
      while (!EndOfList()) {
        if (IsIntegerValue(NextValue())) ReadInt64();  // an item's order index
        CheckValue(vaList);
        while (!EndOfList()) {
          ReadStr();
          SkipValue();
        }
        ReadListEnd();
      }
      --FDepth;
      ReadListEnd();
      return;
    }
  }
}

// ---------------------------------------------------------------------------
// Components

void TReader::ReadSignature() {
  int64_t at = Position();
  static const uint8_t sig[4] = {'T', 'P', 'F', '0'};
  if (FEnd - FPos < 4) {
    try {
      Fill(4);
    } catch (EReadError&) {
      ReadError("Illegal stream image: the signature TPF0 expected", at);
    }
  }
  if (std::memcmp(FData + FPos, sig, 4) != 0)
    ReadError("Illegal stream image: the signature TPF0 expected", at);
  FPos += 4;
}

void TReader::ReadPrefix(TFilerFlags& flags, int32_t& childPos) {
  flags = {};
  childPos = 0;
  Fill(1);
  uint8_t b = FData[FPos];
  if ((b & 0xF0) != 0xF0) return;
  ++FPos;
  flags = TFilerFlags::FromBits(b & 0x07);
  if (flags.Contains(ffChildPos)) childPos = ReadInteger();
}

void TReader::PropertyError(const std::string& reason, int64_t at) {
  ReadError("Error reading " + NameOf(FComponent) + "." + FPropPath + ": " + reason, at);
}

void TReader::BindField(TComponent* component) {
  if (!FRoot || component->Owner() != FRoot || component->Name().empty()) return;
  if (!FState->FieldsBuilt) {
    // The root's published fields, by name, once per read: binding stays
    // constant time however many components the form has.
    for (TClass c = FRoot->ClassType(); c; c = c->Parent)
      for (const TFieldInfo& f : c->Fields) FState->Fields.emplace(f.Name, &f);
    FState->FieldsBuilt = true;
  }
  if (FState->Fields.empty()) return;
  auto it = FState->Fields.find(component->Name());
  if (it == FState->Fields.end()) return;
  it->second->Set(FRoot, component);
  FState->Bound.push_back(it->second);
}

TComponent* TReader::ReadComponent(TComponent* component) {
  bool whole = FState == nullptr;
  State local;
  if (whole) FState = &local;
  struct Depth {
    int& d;
    ~Depth() { --d; }
  } depth{++FDepth};
  int64_t at = Position();
  try {
    if (FDepth > kMaxDepth)
      ReadError("Components nested too deeply: at most " + std::to_string(kMaxDepth) +
                    " levels expected",
                at);
    TFilerFlags flags;
    int32_t childPos;
    ReadPrefix(flags, childPos);
    int64_t classAt = Position();
    std::string className = ReadStr();
    int64_t nameAt = Position();
    std::string name = ReadStr();
    if (!component && flags.Contains(ffInherited) && FOwner) {
      component = FOwner->FindComponent(name);  // the component exists already
      // One that is being read now would become a part of itself.
      if (component && component->ComponentState().Contains(csReading))
        ReadError("Component " + name + " is already being read: it cannot contain itself", nameAt);
    }
    if (!component) {
      TClass cls = GetClass(className);
      if (!cls) throw EClassNotFound("Class \"" + className + "\" not found at " + Where(classAt));
      if (!cls->Factory)
        ReadError("Class " + className + " cannot be created from a form file", classAt);
      component = cls->Factory(FOwner);
      FState->Created.push_back(component);
    }
    component->SetComponentStateFlag(csLoading, true);
    component->SetComponentStateFlag(csReading, true);
    // A step of the component's own that refuses it (a name already taken,
    // a parent that cannot hold it) fails the read there.
    auto step = [&](auto&& run, int64_t where) {
      try {
        run();
      } catch (EFilerError&) {
        throw;
      } catch (Exception& e) {
        ReadError("Error reading component " + name + ": " + e.Message(), where);
      }
    };
    if (component->Name() != name) step([&] { component->SetName(name); }, nameAt);
    BindField(component);
    FState->Loaded.push_back(component);
    step([&] { component->ReadState(this); }, at);
    component->SetComponentStateFlag(csReading, false);
    if (flags.Contains(ffChildPos) && FParent) FParent->SetChildOrder(component, childPos);
    if (whole) {
      ResolveFixups();
      for (TComponent* c : FState->Loaded) c->Loaded();
      FState = nullptr;
    }
    return component;
  } catch (...) {
    if (whole) {
      FreeBuilt(FRoot);
      FState = nullptr;
    }
    throw;
  }
}

void TReader::ReadData(TComponent* instance) {
  struct Restore {
    TReader* r;
    TComponent* comp;
    TComponent* parent;
    TComponent* owner;
    ~Restore() {
      r->FComponent = comp;
      r->FParent = parent;
      r->FOwner = owner;
    }
  } restore{this, FComponent, FParent, FOwner};
  FComponent = instance;
  FHintClass = nullptr;
  while (!EndOfList()) ReadProperty(instance);
  ReadListEnd();
  FParent = instance->GetChildParent();
  TComponent* childOwner = instance->GetChildOwner();
  FOwner = childOwner ? childOwner : FRoot;
  while (!EndOfList()) ReadComponent(nullptr);
  ReadListEnd();
}

TComponent* TReader::ReadRootComponent(TComponent* root, TComponent* rootOwner) {
  if (FState) throw EFilerError("A reader reads one form at a time");
  State state;
  FState = &state;
  bool createdRoot = false;
  try {
    ReadSignature();
    TFilerFlags flags;
    int32_t childPos;
    ReadPrefix(flags, childPos);
    int64_t classAt = Position();
    std::string className = ReadStr();
    int64_t nameAt = Position();
    std::string name = ReadStr();
    if (!root) {
      TClass cls = GetClass(className);
      if (!cls) throw EClassNotFound("Class \"" + className + "\" not found at " + Where(classAt));
      if (!cls->Factory)
        ReadError("Class " + className + " cannot be created from a form file", classAt);
      root = cls->Factory(rootOwner);
      createdRoot = true;
    }
    FRoot = root;
    FOwner = root;
    FParent = nullptr;
    root->SetComponentStateFlag(csLoading, true);
    root->SetComponentStateFlag(csReading, true);
    if (!name.empty() && root->Name() != name) {
      // A root whose owner already has a component of that name takes the
      // next free one, Name_1, Name_2...
      std::string unique = name;
      TComponent* o = root->Owner();
      for (int i = 1; o && o->FindComponent(unique) && o->FindComponent(unique) != root; ++i)
        unique = name + "_" + std::to_string(i);
      try {
        root->SetName(unique);
      } catch (Exception& e) {
        ReadError("Error reading component " + name + ": " + e.Message(), nameAt);
      }
    }
    state.Loaded.push_back(root);
    root->ReadState(this);
    root->SetComponentStateFlag(csReading, false);
    ResolveFixups();
    for (TComponent* c : state.Loaded) c->Loaded();
  } catch (...) {
    FreeBuilt(createdRoot ? nullptr : root);
    if (createdRoot) {
      root->Free();
      FRoot = nullptr;
    } else if (root) {
      root->SetComponentStateFlag(csReading, false);
      root->SetComponentStateFlag(csLoading, false);
    }
    FState = nullptr;
    throw;
  }
  FState = nullptr;
  return root;
}

// The components a failed read created go, last created first: children
// before their parents, so that no control frees one that is freed again.
// A root that stays keeps none of its fields pointing at them.
void TReader::FreeBuilt(TComponent* keep) {
  if (keep)
    for (const TFieldInfo* f : FState->Bound) f->Set(keep, nullptr);
  FState->Bound.clear();
  std::vector<TComponent*> created;
  created.swap(FState->Created);
  FState->Loaded.clear();
  FState->Fixups.clear();
  for (auto it = created.rbegin(); it != created.rend(); ++it) (*it)->Free();
}

void TReader::ResolveFixups() {
  std::vector<Fixup> fixups;
  fixups.swap(FState->Fixups);
  for (const Fixup& f : fixups) {
    TComponent* target = nullptr;
    size_t dot = f.Name.find('.');
    if (dot == std::string::npos) {
      if (FRoot && SameText(FRoot->Name(), f.Name))
        target = FRoot;
      else if (FRoot)
        target = FRoot->FindComponent(f.Name);
    } else if (FRoot) {
      // Root.Name: a component of another root that the same owner holds.
      std::string rootName = f.Name.substr(0, dot);
      TComponent* other = SameText(rootName, FRoot->Name())
                              ? FRoot
                              : (FRoot->Owner() ? FRoot->Owner()->FindComponent(rootName) : nullptr);
      if (other) target = other->FindComponent(f.Name.substr(dot + 1));
    }
    if (target && target->ClassType()->InheritsFrom(f.Prop->PropType->ClassType))
      f.Prop->SetObj(f.Instance, target);
  }
}

// ---------------------------------------------------------------------------
// Properties

void TReader::DefineProperty(const std::string& name, const TReaderProc& readData,
                             const TWriterProc&, bool) {
  if (FDefinedFound || !readData || !SameText(name, FDefinedName)) return;
  FDefinedFound = true;
  readData(this);
}

void TReader::DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                   const TStreamProc&, bool) {
  if (FDefinedFound || !readData || !SameText(name, FDefinedName)) return;
  FDefinedFound = true;
  CheckValue(vaBinary);
  int64_t lenAt = Position();
  uint8_t b[4];
  Read(b, 4);
  int64_t len = Le32(b);
  CheckLength(len, lenAt);
  TMemoryStream data;
  data.SetSize(len);
  Read(const_cast<uint8_t*>(data.Memory()), len);
  data.SetPosition(0);
  readData(&data);
}

// Writers put a component's properties in declaration order, so the next
// name is most often a little after the last one found: a few comparisons
// in place of a hashed look-up. Any other name is looked up as usual.
PPropInfo TReader::NextProp(TClass cls, std::string_view name) {
  const std::vector<PPropInfo>& props = cls->Props();
  if (cls != FHintClass) {
    FHintClass = cls;
    FHintIndex = 0;
  }
  size_t end = std::min(props.size(), FHintIndex + 8);
  for (size_t i = FHintIndex; i < end; ++i) {
    if (props[i]->Name.size() == name.size() && props[i]->Name == name) {
      FHintIndex = i + 1;
      return props[i];
    }
  }
  return cls->FindProp(name);
}

void TReader::ReadProperty(TComponent* instance) {
  int64_t at = Position();
  // The name is copied once, to a buffer of this frame: a look-up needs no
  // string of its own.
  char buf[256];
  uint8_t n = ReadByte();
  Fill(n);
  std::memcpy(buf, FData + FPos, n);
  FPos += n;
  const std::string_view whole(buf, n);
  FPropPath.assign(whole);
  auto name = [whole] { return std::string(whole); };
  try {
    TPersistent* obj = instance;
    size_t start = 0;
    for (;;) {
      size_t dot = whole.find('.', start);
      bool last = dot == std::string_view::npos;
      PPropInfo p = last && start == 0 ? NextProp(obj->ClassType(), whole)
                                       : obj->ClassType()->FindProp(
                                             last ? whole.substr(start) : whole.substr(start, dot - start));
      if (p && last) {
        ReadPropValue(obj, p);
        return;
      }
      if (!p) {
        // Not published: perhaps a defined property, dotted names included.
        FDefinedName.assign(whole.substr(start));
        FDefinedFound = false;
        obj->DefineProperties(this);
        bool found = FDefinedFound;
        FDefinedFound = false;
        FDefinedName.clear();
        if (!found)
          PropertyError("Unknown property: \"" + name() + "\" in class " + obj->ClassName(), at);
        return;
      }
      // A class property's part: Font.Color.
      TObject* sub = p->PropType->Kind == tkClass && p->GetObj ? p->GetObj(obj) : nullptr;
      auto* part = dynamic_cast<TPersistent*>(sub);
      if (!part || dynamic_cast<TComponent*>(sub))
        PropertyError("Unknown property: \"" + name() + "\" in class " + obj->ClassName() + ": " +
                          p->Name + " has no parts",
                      at);
      obj = part;
      start = dot + 1;
    }
  } catch (EFilerError& e) {
    if (e.Message().rfind("Error reading ", 0) != 0 && !dynamic_cast<EClassNotFound*>(&e))
      e.SetMessage("Error reading " + NameOf(FComponent) + "." + name() + ": " + e.Message());
    throw;
  } catch (Exception& e) {
    // A setter's own failure, told as a read error of this property.
    ReadError("Error reading " + NameOf(FComponent) + "." + name() + ": " + e.Message(), at);
  }
}

int64_t TReader::ReadOrdinalFor(PPropInfo prop, TValueType t, int64_t at) {
  PTypeInfo type = prop->PropType;
  auto invalid = [&](const std::string& why) -> int64_t {
    PropertyError("Invalid value for property: " + why, at);
  };
  switch (type->Kind) {
    case tkInteger: {
      int64_t v;
      if (IsIntegerValue(t)) {
        --FPos;
        v = ReadInt64();
      } else if (t == vaIdent) {
        std::string ident = ReadStr();
        int32_t iv;
        if (!type->IdentToInt || !type->IdentToInt(ident, iv))
          return invalid("\"" + ident + "\" is not a value of " + type->Name);
        return iv;
      } else {
        return invalid(std::string("an integer expected, ") + ValueTypeName(t) + " found");
      }
      int64_t lo = INT32_MIN, hi = INT32_MAX;
      StorageRange(type->OrdType, lo, hi);
      if (v < lo || v > hi)
        return invalid(std::to_string(v) + " does not fit " + type->Name);
      return v;
    }
    case tkChar: {
      if (t != vaString) return invalid(std::string("a character expected, ") + ValueTypeName(t) + " found");
      uint8_t n = ReadByte();
      if (n != 1) return invalid("a single character expected");
      return ReadByte();
    }
    case tkEnumeration: {
      if (formfile::IsBooleanType(type)) {
        if (t == vaTrue) return 1;
        if (t == vaFalse) return 0;
        if (t != vaIdent) return invalid(std::string("a Boolean expected, ") + ValueTypeName(t) + " found");
      } else if (t != vaIdent) {
        return invalid(std::string("an identifier of ") + type->Name + " expected, " +
                       ValueTypeName(t) + " found");
      }
      std::string ident = ReadStr();
      int v = GetEnumValue(type, ident);
      if (v < 0) return invalid("\"" + ident + "\" is not a value of " + type->Name);
      return v;
    }
    case tkSet: {
      if (t != vaSet) return invalid(std::string("a set expected, ") + ValueTypeName(t) + " found");
      uint32_t bits = 0;
      for (;;) {
        std::string member = ReadStr();
        if (member.empty()) break;
        int v = GetEnumValue(type->CompType, member);
        if (v < 0 || v >= 32)
          return invalid("\"" + member + "\" is not a member of " + type->Name);
        bits |= uint32_t{1} << v;
      }
      return bits;
    }
    default:
      return invalid("not an ordinal");
  }
}

void TReader::ReadPropValue(TPersistent* instance, PPropInfo prop) {
  int64_t at = Position();
  if (!prop->HasSetter) PropertyError("Property " + prop->Name + " is read-only", at);
  PTypeInfo type = prop->PropType;
  switch (type->Kind) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet: {
      TValueType t = ReadValue();
      int64_t v = ReadOrdinalFor(prop, t, at);
      prop->SetOrd(instance, v);
      return;
    }
    case tkString:
    case tkLString:
    case tkWString: {
      TValueType t = NextValue();
      if (t != vaString && t != vaLString && t != vaWString)
        PropertyError(std::string("Invalid value for property: a string expected, ") +
                          ValueTypeName(t) + " found",
                      at);
      SetStrProp(instance, prop, ReadString());
      return;
    }
    case tkFloat: {
      TValueType t = NextValue();
      if (!IsIntegerValue(t) && t != vaExtended && t != vaSingle && t != vaDate && t != vaCurrency)
        PropertyError(std::string("Invalid value for property: a number expected, ") +
                          ValueTypeName(t) + " found",
                      at);
      prop->SetFloat(instance, static_cast<double>(ReadFloat()));
      return;
    }
    case tkMethod: {
      TValueType t = ReadValue();
      if (t == vaNil) {
        prop->SetMethod(instance, TMethod{});
        return;
      }
      if (t != vaIdent)
        PropertyError(std::string("Invalid value for property: a method name expected, ") +
                          ValueTypeName(t) + " found",
                      at);
      std::string name = ReadStr();
      const TMethodInfo* m = FRoot ? FRoot->ClassType()->FindMethod(name) : nullptr;
      if (!m)
        PropertyError("Invalid value for property: " + NameOf(FRoot) + " has no method \"" + name +
                          "\"",
                      at);
      prop->SetMethod(instance, TMethod{FRoot, m});
      return;
    }
    case tkClass: {
      bool component =
          type->ClassType && type->ClassType->InheritsFrom(&TComponent::StaticClass());
      TValueType t = ReadValue();
      if (component && t == vaNil) {
        prop->SetObj(instance, nullptr);
        return;
      }
      if (!component || t != vaIdent)
        PropertyError(std::string("Invalid value for property: ") +
                          (component ? "a component name expected, " : "its parts expected, ") +
                          ValueTypeName(t) + " found",
                      at);
      if (!FState) PropertyError("References are read only within a whole form", at);
      FState->Fixups.push_back(Fixup{instance, prop, ReadStr()});
      return;
    }
    default:
      PropertyError("Invalid value for property: its type cannot be read", at);
  }
}
