// TWriter: writes components in the binary form-file format.
//
// A component is its class name and name, its stored properties (published
// ones in declaration order, then the defined ones), the end of the property
// list, the children that GetChildren passes, each in full, and the end of
// the child list.
#include "classes/formfile_internal.h"
#include "vcl/Classes.h"

const TClassInfo& TWriter::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("TWriter", &TFiler::StaticClass());
  return info;
}

TWriter::TWriter(TStream* stream, int bufSize)
    : TFiler(stream),
      FBuffer(new uint8_t[static_cast<size_t>(bufSize < 256 ? 256 : bufSize)]),
      FBufSize(static_cast<size_t>(bufSize < 256 ? 256 : bufSize)) {
  FOrigin = stream->Position();
}

TWriter::~TWriter() {
  try {
    FlushBuffer();
  } catch (...) {
  }
}

void TWriter::FlushBuffer() {
  if (FBufPos == 0) return;
  size_t n = FBufPos;
  FBufPos = 0;
  FStream->WriteBuffer(FBuffer.get(), static_cast<int64_t>(n));
  FOrigin += static_cast<int64_t>(n);
}

void TWriter::Write(const void* buffer, int64_t count) {
  if (count <= 0) return;
  const auto* p = static_cast<const uint8_t*>(buffer);
  auto n = static_cast<size_t>(count);
  while (n > FBufSize - FBufPos) {
    size_t part = FBufSize - FBufPos;
    std::memcpy(FBuffer.get() + FBufPos, p, part);
    FBufPos += part;
    p += part;
    n -= part;
    FlushBuffer();
  }
  std::memcpy(FBuffer.get() + FBufPos, p, n);
  FBufPos += n;
}

void TWriter::WriteValue(TValueType value) {
  if (FBufPos == FBufSize) FlushBuffer();
  FBuffer[FBufPos++] = static_cast<uint8_t>(value);
}

void TWriter::WriteListBegin() { WriteValue(vaList); }
void TWriter::WriteListEnd() { WriteValue(vaNull); }

void TWriter::WriteSignature() { Write("TPF0", 4); }

void TWriter::WritePrefix(TFilerFlags flags, int32_t childPos) {
  if (flags.Empty()) return;
  uint8_t b = static_cast<uint8_t>(0xF0 | (flags.Bits() & 0x07));
  Write(&b, 1);
  if (flags.Contains(ffChildPos)) WriteInteger(childPos);
}

void TWriter::WriteInteger(int64_t value) {
  uint8_t b[9];
  int n;
  if (value >= INT8_MIN && value <= INT8_MAX) {
    b[0] = vaInt8;
    n = 1;
  } else if (value >= INT16_MIN && value <= INT16_MAX) {
    b[0] = vaInt16;
    n = 2;
  } else if (value >= INT32_MIN && value <= INT32_MAX) {
    b[0] = vaInt32;
    n = 4;
  } else {
    b[0] = vaInt64;
    n = 8;
  }
  uint64_t u = static_cast<uint64_t>(value);
  for (int i = 0; i < n; ++i) b[1 + i] = static_cast<uint8_t>(u >> (8 * i));
  Write(b, n + 1);
}

void TWriter::WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }

void TWriter::WriteChar(char value) { WriteString(std::string(1, value)); }

void TWriter::WriteStr(const std::string& value) {
  if (value.size() > 255)
    throw EWriteError("Cannot write \"" + value.substr(0, 40) + "...\": a name holds at most 255 bytes");
  uint8_t b[256];
  b[0] = static_cast<uint8_t>(value.size());
  std::memcpy(b + 1, value.data(), value.size());
  Write(b, static_cast<int64_t>(value.size()) + 1);
}

void TWriter::WriteIdent(const std::string& ident) {
  if (SameText(ident, "False")) {
    WriteValue(vaFalse);
  } else if (SameText(ident, "True")) {
    WriteValue(vaTrue);
  } else if (SameText(ident, "nil")) {
    WriteValue(vaNil);
  } else {
    WriteValue(vaIdent);
    WriteStr(ident);
  }
}

namespace {
void Put32(uint8_t* b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(v >> (8 * i));
}
}  // namespace

void TWriter::WriteString(const std::string& value) {
  if (value.size() <= 255) {
    uint8_t h[2] = {vaString, static_cast<uint8_t>(value.size())};
    Write(h, 2);
  } else {
    if (value.size() > UINT32_MAX) throw EWriteError("A string of more than 4 GB cannot be written");
    uint8_t h[5] = {vaLString};
    Put32(h + 1, static_cast<uint32_t>(value.size()));
    Write(h, 5);
  }
  Write(value.data(), static_cast<int64_t>(value.size()));
}

void TWriter::WriteWideString(const std::u16string& value) {
  uint8_t h[5] = {vaWString};
  Put32(h + 1, static_cast<uint32_t>(value.size()));
  Write(h, 5);
  for (char16_t u : value) {
    uint8_t b[2] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8)};
    Write(b, 2);
  }
}

void TWriter::WriteFloat(long double value) {
  uint8_t b[11];
  b[0] = vaExtended;
  formfile::LongDoubleToExtended(value, b + 1);
  Write(b, 11);
}

void TWriter::WriteSingle(float value) {
  uint8_t b[5] = {vaSingle};
  uint32_t u;
  std::memcpy(&u, &value, 4);
  Put32(b + 1, u);
  Write(b, 5);
}

void TWriter::WriteDate(double value) {
  uint8_t b[9] = {vaDate};
  uint64_t u;
  std::memcpy(&u, &value, 8);
  Put32(b + 1, static_cast<uint32_t>(u));
  Put32(b + 5, static_cast<uint32_t>(u >> 32));
  Write(b, 9);
}

void TWriter::WriteCurrency(int64_t value) {
  uint8_t b[9] = {vaCurrency};
  uint64_t u = static_cast<uint64_t>(value);
  Put32(b + 1, static_cast<uint32_t>(u));
  Put32(b + 5, static_cast<uint32_t>(u >> 32));
  Write(b, 9);
}

// ---------------------------------------------------------------------------
// Components

void TWriter::WriteRootComponent(TComponent* root) {
  FRoot = root;
  WriteSignature();
  WriteComponent(root);
  FlushBuffer();
}

void TWriter::WriteComponent(TComponent* component) {
  bool was = component->ComponentState().Contains(csWriting);
  component->SetComponentStateFlag(csWriting, true);
  struct Clear {
    TComponent* c;
    bool was;
    ~Clear() { c->SetComponentStateFlag(csWriting, was); }
  } clear{component, was};
  component->WriteState(this);
}

void TWriter::WriteData(TComponent* instance) {
  WriteStr(instance->ClassName());
  WriteStr(instance->Name());
  WriteProperties(instance);
  WriteListEnd();
  TComponent* childOwner = instance->GetChildOwner();
  instance->GetChildren([this](TComponent* child) { WriteComponent(child); },
                        childOwner ? childOwner : FRoot);
  WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* instance) {
  for (PPropInfo p : instance->ClassType()->Props())
    if (p->HasSetter && IsStoredProp(instance, p)) WriteProperty(instance, p);
  instance->DefineProperties(this);
}

void TWriter::WritePropName(const std::string& name) {
  if (FPropPath.empty()) {
    WriteStr(name);
    return;
  }
  size_t n = FPropPath.size() + name.size();
  if (n > 255) WriteStr(FPropPath + name);  // refused there, with the name
  uint8_t b[256];
  b[0] = static_cast<uint8_t>(n);
  std::memcpy(b + 1, FPropPath.data(), FPropPath.size());
  std::memcpy(b + 1 + FPropPath.size(), name.data(), name.size());
  Write(b, static_cast<int64_t>(n) + 1);
}

void TWriter::WriteProperty(TPersistent* instance, PPropInfo prop) {
  PTypeInfo type = prop->PropType;
  switch (type->Kind) {
    case tkInteger: {
      int64_t v = prop->GetOrd(instance);
      if (prop->Default != NoDefault && v == prop->Default) return;
      std::string ident;
      WritePropName(prop->Name);
      // Only a value that has a name of the property's own type is named.
      if (type->IntToIdent && v >= INT32_MIN && v <= INT32_MAX &&
          type->IntToIdent(static_cast<int32_t>(v), ident))
        WriteIdent(ident);
      else
        WriteInteger(v);
      return;
    }
    case tkChar:
      if (IsDefaultPropValue(instance, prop)) return;
      WritePropName(prop->Name);
      WriteChar(static_cast<char>(prop->GetOrd(instance)));
      return;
    case tkEnumeration: {
      int64_t v = prop->GetOrd(instance);
      if (prop->Default != NoDefault && v == prop->Default) return;
      std::string name = GetEnumName(type, v);
      if (name.empty()) return;  // no enumerator of that ordinal: nothing to name
      WritePropName(prop->Name);
      if (formfile::IsBooleanType(type))
        WriteBoolean(v != 0);
      else
        WriteIdent(name);
      return;
    }
    case tkSet: {
      int64_t v = prop->GetOrd(instance);
      if (prop->Default != NoDefault && v == prop->Default) return;
      uint32_t bits = static_cast<uint32_t>(v);
      WritePropName(prop->Name);
      WriteValue(vaSet);
      PTypeInfo el = type->CompType;
      for (size_t i = 0; i < el->EnumNames.size() && i < 32; ++i)
        if (bits & (uint32_t{1} << i)) WriteStr(el->EnumNames[i]);
      WriteStr("");
      return;
    }
    case tkString:
    case tkLString:
    case tkWString: {
      std::string s = prop->GetStr(instance);
      if (s.empty()) return;
      WritePropName(prop->Name);
      WriteString(s);
      return;
    }
    case tkFloat: {
      double d = prop->GetFloat(instance);
      if (d == 0) return;
      WritePropName(prop->Name);
      WriteFloat(d);
      return;
    }
    case tkMethod: {
      TMethod m = prop->GetMethod(instance);
      if (!m.Assigned() || !FRoot) return;
      // An event is stored as the name of a published method of the root.
      if (FRoot->ClassType()->FindMethod(m.Code->Name) != m.Code) return;
      WritePropName(prop->Name);
      WriteIdent(m.Code->Name);
      return;
    }
    case tkClass: {
      TObject* obj = prop->GetObj(instance);
      if (!obj) return;
      if (auto* c = dynamic_cast<TComponent*>(obj)) {
        std::string ref;
        if (c == FRoot)
          ref = c->Name();
        else if (c->Owner() == FRoot)
          ref = c->Name();
        else if (c->Owner() && !c->Owner()->Name().empty() && !c->Name().empty())
          ref = c->Owner()->Name() + "." + c->Name();
        if (ref.empty()) return;
        WritePropName(prop->Name);
        WriteIdent(ref);
        return;
      }
      auto* part = dynamic_cast<TPersistent*>(obj);
      if (!part) return;
      std::string saved = FPropPath;
      FPropPath += prop->Name + ".";
      struct Restore {
        std::string& path;
        std::string saved;
        ~Restore() { path = std::move(saved); }
      } restore{FPropPath, std::move(saved)};
      WriteProperties(part);
      return;
    }
    default:
      return;
  }
}

void TWriter::DefineProperty(const std::string& name, const TReaderProc&,
                             const TWriterProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  WritePropName(name);
  writeData(this);
}

void TWriter::DefineBinaryProperty(const std::string& name, const TStreamProc&,
                                   const TStreamProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  TMemoryStream data;
  writeData(&data);
  if (data.Size() > static_cast<int64_t>(UINT32_MAX))
    throw EWriteError("Property " + name + " holds more than 4 GB");
  WritePropName(name);
  uint8_t h[5] = {vaBinary};
  Put32(h + 1, static_cast<uint32_t>(data.Size()));
  Write(h, 5);
  Write(data.Memory(), data.Size());
}
