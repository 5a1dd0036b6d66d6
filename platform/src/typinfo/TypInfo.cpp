#include "vcl/TypInfo.h"

#include <cstdio>
#include <cstdlib>
#include <deque>

#include "vcl/Classes.h"
#include "vcl/SysUtils.h"

namespace {

// Type informations made at run time live as long as the process.
std::deque<TTypeInfo>& TypeStore() {
  static std::deque<TTypeInfo> store;
  return store;
}

PTypeInfo Keep(TTypeInfo ti) {
  TypeStore().push_back(std::move(ti));
  return &TypeStore().back();
}

PTypeInfo BooleanType() {
  static const PTypeInfo info = [] {
    TTypeInfo ti;
    ti.Kind = tkEnumeration;
    ti.Name = "Boolean";
    ti.OrdType = otUByte;
    ti.MinValue = 0;
    ti.MaxValue = 1;
    ti.EnumNames = {"False", "True"};
    return Keep(std::move(ti));
  }();
  return info;
}

[[noreturn]] void UnknownProperty(const TObject* obj, const std::string& name) {
  throw EPropertyError("Unknown property: \"" + name + "\" in class " + obj->ClassName());
}

PPropInfo Require(const TObject* obj, const std::string& name) {
  PPropInfo p = GetPropInfo(obj, name);
  if (!p) UnknownProperty(obj, name);
  return p;
}

[[noreturn]] void ReadOnly(PPropInfo prop) {
  throw EPropertyError("Property " + prop->Name + " is read-only");
}

[[noreturn]] void WrongKind(PPropInfo prop) {
  throw EPropertyError("Property " + prop->Name + " is not of a matching type");
}

}  // namespace

void RaiseMethodSignatureMismatch(const std::string& name) {
  throw EInvalidCast("Method " + name + " does not match the event's type");
}

PTypeInfo MakeEnumTypeInfo(const char* name, const char* names) {
  TTypeInfo ti;
  ti.Kind = tkEnumeration;
  ti.Name = name;
  std::string cur;
  for (const char* p = names;; ++p) {
    if (*p == ',' || *p == 0) {
      std::string n = Trim(cur);
      if (!n.empty()) ti.EnumNames.push_back(n);
      cur.clear();
      if (*p == 0) break;
    } else {
      cur += *p;
    }
  }
  ti.MinValue = 0;
  ti.MaxValue = static_cast<int64_t>(ti.EnumNames.size()) - 1;
  ti.OrdType = ti.EnumNames.size() <= 256 ? otUByte : otUWord;
  return Keep(std::move(ti));
}

PTypeInfo MakeIntTypeInfo(const char* name, TOrdType ord, int64_t min, int64_t max,
                          bool (*intToIdent)(int32_t, std::string&),
                          bool (*identToInt)(const std::string&, int32_t&)) {
  TTypeInfo ti;
  ti.IntToIdent = intToIdent;
  ti.IdentToInt = identToInt;
  ti.Kind = tkInteger;
  ti.Name = name;
  ti.OrdType = ord;
  ti.MinValue = min;
  ti.MaxValue = max;
  return Keep(std::move(ti));
}

PTypeInfo MakeShortStringTypeInfo(const char* name, int maxLength) {
  TTypeInfo ti;
  ti.Kind = tkString;
  ti.Name = name;
  ti.MaxLength = maxLength;
  return Keep(std::move(ti));
}

PTypeInfo MakeSetTypeInfo(const char* name, PTypeInfo element) {
  TTypeInfo ti;
  ti.Kind = tkSet;
  ti.Name = name;
  ti.CompType = element;
  size_t n = element->EnumNames.size();
  ti.OrdType = n <= 8 ? otUByte : (n <= 16 ? otUWord : otSLong);
  return Keep(std::move(ti));
}

PTypeInfo MakeClassTypeInfo(TClass cls) {
  TTypeInfo ti;
  ti.Kind = tkClass;
  ti.Name = cls->ClassName;
  ti.ClassType = cls;
  return Keep(std::move(ti));
}

PTypeInfo MakeMethodTypeInfo(const char* name) {
  TTypeInfo ti;
  ti.Kind = tkMethod;
  ti.Name = name;
  return Keep(std::move(ti));
}

PTypeInfo TTypeOf<bool>::Info() { return BooleanType(); }
PTypeInfo TTypeOf<int32_t>::Info() {
  static const PTypeInfo i = MakeIntTypeInfo("Integer", otSLong, INT32_MIN, INT32_MAX);
  return i;
}
PTypeInfo TTypeOf<uint32_t>::Info() {
  static const PTypeInfo i = MakeIntTypeInfo("Cardinal", otULong, 0, UINT32_MAX);
  return i;
}
PTypeInfo TTypeOf<int16_t>::Info() {
  static const PTypeInfo i = MakeIntTypeInfo("SmallInt", otSWord, INT16_MIN, INT16_MAX);
  return i;
}
PTypeInfo TTypeOf<uint16_t>::Info() {
  static const PTypeInfo i = MakeIntTypeInfo("Word", otUWord, 0, UINT16_MAX);
  return i;
}
PTypeInfo TTypeOf<int8_t>::Info() {
  static const PTypeInfo i = MakeIntTypeInfo("ShortInt", otSByte, INT8_MIN, INT8_MAX);
  return i;
}
PTypeInfo TTypeOf<uint8_t>::Info() {
  static const PTypeInfo i = MakeIntTypeInfo("Byte", otUByte, 0, UINT8_MAX);
  return i;
}
PTypeInfo TTypeOf<char>::Info() {
  static const PTypeInfo i = [] {
    TTypeInfo ti;
    ti.Kind = tkChar;
    ti.Name = "Char";
    ti.OrdType = otUByte;
    ti.MinValue = 0;
    ti.MaxValue = 255;
    return Keep(std::move(ti));
  }();
  return i;
}
PTypeInfo TTypeOf<double>::Info() {
  static const PTypeInfo i = [] {
    TTypeInfo ti;
    ti.Kind = tkFloat;
    ti.Name = "Double";
    return Keep(std::move(ti));
  }();
  return i;
}
PTypeInfo TTypeOf<std::string>::Info() {
  static const PTypeInfo i = [] {
    TTypeInfo ti;
    ti.Kind = tkLString;
    ti.Name = "string";
    return Keep(std::move(ti));
  }();
  return i;
}

// ---------------------------------------------------------------------------

TClassInfo TClassInfo::Plain(const char* name, TClass parent) {
  TClassInfo ci;
  ci.ClassName = name;
  ci.Parent = parent;
  return ci;
}

bool TClassInfo::InheritsFrom(TClass cls) const {
  for (TClass c = this; c; c = c->Parent)
    if (c == cls) return true;
  return false;
}

void TClassInfo::Resolve() const {
  if (FResolved) return;
  if (Parent) FAllProps = Parent->Props();
  for (const TPropInfo& p : OwnProps) {
    bool replaced = false;
    for (PPropInfo& q : FAllProps) {
      if (SameText(q->Name, p.Name)) {
        q = &p;  // a redeclared property keeps its inherited place
        replaced = true;
        break;
      }
    }
    if (!replaced) FAllProps.push_back(&p);
  }
  for (PPropInfo p : FAllProps) FByName[p->Name] = p;
  FResolved = true;
}

const std::vector<PPropInfo>& TClassInfo::Props() const {
  Resolve();
  return FAllProps;
}

PPropInfo TClassInfo::FindProp(std::string_view name) const {
  Resolve();
  auto it = FByName.find(name);
  return it == FByName.end() ? nullptr : it->second;
}

const TMethodInfo* TClassInfo::FindMethod(const std::string& name) const {
  for (TClass c = this; c; c = c->Parent)
    for (const TMethodInfo& m : c->Methods)
      if (SameText(m.Name, name)) return &m;
  return nullptr;
}

const TFieldInfo* TClassInfo::FindField(const std::string& name) const {
  for (TClass c = this; c; c = c->Parent)
    for (const TFieldInfo& f : c->Fields)
      if (SameText(f.Name, name)) return &f;
  return nullptr;
}

// ---------------------------------------------------------------------------

PPropInfo GetPropInfo(const TObject* obj, const std::string& name) {
  return obj ? obj->ClassType()->FindProp(name) : nullptr;
}

PPropInfo GetPropInfo(TClass cls, const std::string& name) {
  return cls ? cls->FindProp(name) : nullptr;
}

bool IsStoredProp(const TObject* obj, PPropInfo prop) {
  if (prop->StoredNever) return false;
  return !prop->StoredFn || prop->StoredFn(obj);
}

bool IsDefaultPropValue(const TObject* obj, PPropInfo prop) {
  switch (prop->PropType->Kind) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet:
      return prop->Default != NoDefault && prop->GetOrd(obj) == prop->Default;
    case tkString:
    case tkLString:
    case tkWString:
      return prop->GetStr(obj).empty();
    case tkFloat:
      return prop->GetFloat(obj) == 0;
    case tkMethod:
      return !prop->GetMethod(obj).Assigned();
    case tkClass:
      return prop->GetObj(obj) == nullptr;
    default:
      return false;
  }
}

int64_t GetOrdProp(const TObject* obj, PPropInfo prop) {
  if (!prop->GetOrd) WrongKind(prop);
  return prop->GetOrd(obj);
}

int64_t GetOrdProp(const TObject* obj, const std::string& name) {
  return GetOrdProp(obj, Require(obj, name));
}

void SetOrdProp(TObject* obj, PPropInfo prop, int64_t value) {
  if (!prop->HasSetter) ReadOnly(prop);
  if (!prop->SetOrd) WrongKind(prop);
  prop->SetOrd(obj, value);
}

void SetOrdProp(TObject* obj, const std::string& name, int64_t value) {
  SetOrdProp(obj, Require(obj, name), value);
}

std::string GetEnumProp(const TObject* obj, const std::string& name) {
  PPropInfo p = Require(obj, name);
  return GetEnumName(p->PropType, GetOrdProp(obj, p));
}

void SetEnumProp(TObject* obj, const std::string& name, const std::string& value) {
  PPropInfo p = Require(obj, name);
  int v = GetEnumValue(p->PropType, value);
  if (v < 0) throw EPropertyConvertError("Invalid property element: " + value);
  SetOrdProp(obj, p, v);
}

std::string GetStrProp(const TObject* obj, PPropInfo prop) {
  if (!prop->GetStr) WrongKind(prop);
  return prop->GetStr(obj);
}

std::string GetStrProp(const TObject* obj, const std::string& name) {
  return GetStrProp(obj, Require(obj, name));
}

void SetStrProp(TObject* obj, PPropInfo prop, const std::string& value) {
  if (!prop->HasSetter) ReadOnly(prop);
  if (!prop->SetStr) WrongKind(prop);
  // A short string keeps at most its declared number of bytes.
  if (prop->PropType->Kind == tkString &&
      value.size() > static_cast<size_t>(prop->PropType->MaxLength))
    prop->SetStr(obj, value.substr(0, static_cast<size_t>(prop->PropType->MaxLength)));
  else
    prop->SetStr(obj, value);
}

void SetStrProp(TObject* obj, const std::string& name, const std::string& value) {
  SetStrProp(obj, Require(obj, name), value);
}

std::string GetSetProp(const TObject* obj, const std::string& name, bool brackets) {
  PPropInfo p = Require(obj, name);
  if (p->PropType->Kind != tkSet) WrongKind(p);
  return SetToString(p->PropType, static_cast<uint32_t>(GetOrdProp(obj, p)), brackets);
}

void SetSetProp(TObject* obj, const std::string& name, const std::string& value) {
  PPropInfo p = Require(obj, name);
  if (p->PropType->Kind != tkSet) WrongKind(p);
  SetOrdProp(obj, p, StringToSet(p->PropType, value));
}

TObject* GetObjectProp(const TObject* obj, const std::string& name) {
  PPropInfo p = Require(obj, name);
  if (!p->GetObj) WrongKind(p);
  return p->GetObj(obj);
}

TMethod GetMethodProp(const TObject* obj, const std::string& name) {
  PPropInfo p = Require(obj, name);
  if (!p->GetMethod) WrongKind(p);
  return p->GetMethod(obj);
}

void SetMethodProp(TObject* obj, const std::string& name, const TMethod& value) {
  PPropInfo p = Require(obj, name);
  if (!p->SetMethod) WrongKind(p);
  p->SetMethod(obj, value);
}

std::string GetEnumName(PTypeInfo type, int64_t value) {
  if (value < 0 || value >= static_cast<int64_t>(type->EnumNames.size())) return "";
  return type->EnumNames[static_cast<size_t>(value)];
}

int GetEnumValue(PTypeInfo type, const std::string& name) {
  for (size_t i = 0; i < type->EnumNames.size(); ++i)
    if (SameText(type->EnumNames[i], name)) return static_cast<int>(i);
  return -1;
}

std::string SetToString(PTypeInfo setType, uint32_t bits, bool brackets) {
  std::string s;
  PTypeInfo el = setType->CompType;
  for (size_t i = 0; i < el->EnumNames.size() && i < 32; ++i) {
    if (bits & (uint32_t{1} << i)) {
      if (!s.empty()) s += brackets ? ", " : ",";
      s += el->EnumNames[i];
    }
  }
  return brackets ? "[" + s + "]" : s;
}

uint32_t StringToSet(PTypeInfo setType, const std::string& text) {
  std::string t = Trim(text);
  if (!t.empty() && t.front() == '[') {
    if (t.back() != ']') throw EPropertyConvertError("Invalid property element: " + text);
    t = t.substr(1, t.size() - 2);
  }
  uint32_t bits = 0;
  size_t start = 0;
  while (start <= t.size()) {
    size_t comma = t.find(',', start);
    if (comma == std::string::npos) comma = t.size();
    std::string name = Trim(t.substr(start, comma - start));
    if (!name.empty()) {
      int v = GetEnumValue(setType->CompType, name);
      if (v < 0 || v >= 32) throw EPropertyConvertError("Invalid property element: " + name);
      bits |= uint32_t{1} << v;
    } else if (!Trim(t).empty()) {
      // Only the empty set has no member; a comma needs one on each side.
      throw EPropertyConvertError("Invalid property element: " + text);
    }
    start = comma + 1;
  }
  return bits;
}

std::string QuoteFormString(const std::string& s) {
  if (s.empty()) return "''";
  std::string out;
  bool inQuote = false;
  for (char ch : s) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 32 && c <= 126) {
      if (!inQuote) {
        out += '\'';
        inQuote = true;
      }
      if (c == '\'') out += '\'';
      out += ch;
    } else {
      if (inQuote) {
        out += '\'';
        inQuote = false;
      }
      out += '#' + std::to_string(c);
    }
  }
  if (inQuote) out += '\'';
  return out;
}

namespace {

// The name under which an object is referred to from another's property.
std::string ReferenceName(const TObject* o) {
  if (const auto* c = dynamic_cast<const TComponent*>(o)) return c->Name();
  return "";
}

// Parses a quoted form string: 'it''s', #9'x', 'a'#13#10'b'.
bool ParseFormString(const std::string& text, std::string& out) {
  out.clear();
  size_t i = 0;
  bool any = false;
  while (i < text.size()) {
    if (text[i] == '\'') {
      ++i;
      for (;;) {
        if (i >= text.size()) return false;
        if (text[i] == '\'') {
          if (i + 1 < text.size() && text[i + 1] == '\'') {
            out += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out += text[i++];
      }
      any = true;
    } else if (text[i] == '#') {
      ++i;
      size_t st = i;
      int v = 0;
      while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        v = v * 10 + (text[i] - '0');
        if (v > 255) return false;
        ++i;
      }
      if (i == st) return false;
      out += static_cast<char>(v);
      any = true;
    } else {
      return false;
    }
  }
  return any;
}

[[noreturn]] void BadValue(PPropInfo prop, const std::string& text) {
  throw EPropertyConvertError("Invalid value for property " + prop->Name + ": " + text);
}

// Reads an integer of an ordinal type: decimal with an optional sign, or $hex
// (also 0x) giving the 32 bits of the value, so that $FFFFFFFF is -1 for a
// signed type and 4294967295 for Cardinal. The value must lie in the type's
// range: a form file that says 300 for a Byte is wrong, not 44.
bool TextToOrdinal(const std::string& s, PTypeInfo type, int64_t& value) {
  size_t i = 0;
  bool neg = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
    neg = s[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < s.size() && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= s.size()) return false;
  uint64_t u = 0;
  for (; i < s.size(); ++i) {
    char ch = s[i];
    int d;
    if (ch >= '0' && ch <= '9')
      d = ch - '0';
    else if (hex && ch >= 'a' && ch <= 'f')
      d = ch - 'a' + 10;
    else if (hex && ch >= 'A' && ch <= 'F')
      d = ch - 'A' + 10;
    else
      return false;
    u = u * (hex ? 16 : 10) + static_cast<uint64_t>(d);
    if (u > 0xFFFFFFFFull) return false;
  }
  int64_t v = static_cast<int64_t>(u);
  if (hex && type->MinValue < 0 && u > 0x7FFFFFFFull) v = static_cast<int32_t>(static_cast<uint32_t>(u));
  if (neg) v = -v;
  // A value must fit the property's storage; within it, a value outside the
  // declared subrange reaches the setter as it is (setters do not validate).
  int64_t lo, hi;
  switch (type->OrdType) {
    case otSByte: lo = INT8_MIN; hi = INT8_MAX; break;
    case otUByte: lo = 0; hi = UINT8_MAX; break;
    case otSWord: lo = INT16_MIN; hi = INT16_MAX; break;
    case otUWord: lo = 0; hi = UINT16_MAX; break;
    case otULong: lo = 0; hi = UINT32_MAX; break;
    default: lo = INT32_MIN; hi = INT32_MAX; break;
  }
  if (v < lo || v > hi) return false;
  value = v;
  return true;
}

}  // namespace

std::string PropValueToText(const TObject* obj, PPropInfo prop) {
  PTypeInfo t = prop->PropType;
  switch (t->Kind) {
    case tkInteger: {
      int64_t v = prop->GetOrd(obj);
      std::string ident;
      if (t->IntToIdent && t->IntToIdent(static_cast<int32_t>(v), ident)) return ident;
      return std::to_string(v);
    }
    case tkChar: {
      return QuoteFormString(std::string(1, static_cast<char>(prop->GetOrd(obj))));
    }
    case tkEnumeration:
      return GetEnumName(t, prop->GetOrd(obj));
    case tkSet:
      return SetToString(t, static_cast<uint32_t>(prop->GetOrd(obj)), true);
    case tkString:
    case tkLString:
    case tkWString:
      return QuoteFormString(prop->GetStr(obj));
    case tkFloat: {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.15g", prop->GetFloat(obj));
      return buf;
    }
    case tkClass: {
      TObject* o = prop->GetObj(obj);
      if (!o) return "nil";
      std::string n = ReferenceName(o);
      return n.empty() ? "(" + o->ClassName() + ")" : n;
    }
    case tkMethod: {
      TMethod m = prop->GetMethod(obj);
      return m.Code ? m.Code->Name : "nil";
    }
    default:
      return "";
  }
}

namespace {

// A property value read from its text: an ordinal, a string, a float, or
// nil for a method or an object.
struct TextValue {
  int64_t Ord = 0;
  std::string Str;
  double Float = 0;
};

bool ParsePropText(PPropInfo prop, const std::string& text, TextValue& out) {
  PTypeInfo t = prop->PropType;
  switch (t->Kind) {
    case tkInteger: {
      int32_t ident;
      if (t->IdentToInt && t->IdentToInt(text, ident)) {
        out.Ord = ident;
        return true;
      }
      return TextToOrdinal(text, t, out.Ord);
    }
    case tkChar:
      if (!ParseFormString(text, out.Str) || out.Str.size() != 1) return false;
      out.Ord = static_cast<unsigned char>(out.Str[0]);
      return true;
    case tkEnumeration:
      out.Ord = GetEnumValue(t, text);
      return out.Ord >= 0;
    case tkSet:
      if (text.empty() || text.front() != '[') return false;
      try {
        out.Ord = StringToSet(t, text);
      } catch (const EPropertyConvertError&) {
        return false;
      }
      return true;
    case tkString:
    case tkLString:
    case tkWString:
      return ParseFormString(text, out.Str);
    case tkFloat: {
      char* end = nullptr;
      out.Float = std::strtod(text.c_str(), &end);
      return !text.empty() && *end == 0;
    }
    case tkMethod:
      return SameText(text, "nil");
    case tkClass:
      return SameText(text, "nil") && prop->SetObj;
    default:
      return false;
  }
}

}  // namespace

bool IsPropText(PPropInfo prop, const std::string& text) {
  TextValue v;
  return ParsePropText(prop, Trim(text), v);
}

void SetPropFromText(TObject* obj, PPropInfo prop, const std::string& rawText) {
  const std::string text = Trim(rawText);
  if (!prop->HasSetter) ReadOnly(prop);
  TextValue v;
  if (!ParsePropText(prop, text, v)) BadValue(prop, text);
  switch (prop->PropType->Kind) {
    case tkString:
    case tkLString:
    case tkWString:
      SetStrProp(obj, prop, v.Str);
      return;
    case tkFloat:
      prop->SetFloat(obj, v.Float);
      return;
    case tkMethod:
      prop->SetMethod(obj, TMethod{});
      return;
    case tkClass:
      prop->SetObj(obj, nullptr);
      return;
    default:
      SetOrdProp(obj, prop, v.Ord);
  }
}
