#include "props.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "script.h"
#include "ziVivire.h"

namespace kvrun {

namespace {

// NAME.A.B as its parts; a path needs a name and at least one property.
std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t dot = path.find('.', start);
    parts.push_back(path.substr(start, dot - start));
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  bool ok = parts.size() >= 2;
  for (const std::string& p : parts) ok = ok && !p.empty();
  if (!ok) throw BadLine{"expected NAME.PROPERTY, got " + Quoted(path)};
  return parts;
}

// A published property of an object and the object that has it.
struct PropRef {
  TObject* Obj;
  PPropInfo Prop;
};

PPropInfo RequireProp(const TObject* obj, const std::string& name) {
  PPropInfo prop = GetPropInfo(obj, name);
  if (!prop) throw BadLine{obj->ClassName() + " has no property " + Quoted(name)};
  return prop;
}

// Walks the path from the component: every part but the last names a
// class-type property whose object has the next part.
PropRef ResolveProp(TComponent* component, const std::vector<std::string>& parts) {
  TObject* obj = component;
  std::string where = parts[0];
  for (size_t i = 1; i + 1 < parts.size(); ++i) {
    PPropInfo prop = RequireProp(obj, parts[i]);
    where += "." + parts[i];
    if (prop->PropType->Kind != tkClass)
      throw BadLine{where + " is not an object, it has no property " + Quoted(parts[i + 1])};
    obj = GetObjectProp(obj, prop->Name);
    if (!obj) throw BadLine{where + " is nil, it has no property " + Quoted(parts[i + 1])};
  }
  return {obj, RequireProp(obj, parts.back())};
}

// ---------------------------------------------------------------------------
// Values

// A form string: quoted runs ('it''s') and character codes (#13).
bool IsFormString(const std::string& text, size_t* length) {
  size_t n = 0, i = 0;
  if (text.empty()) return false;
  while (i < text.size()) {
    if (text[i] == '\'') {
      for (++i;; ++i) {
        if (i >= text.size()) return false;
        if (text[i] != '\'') {
          ++n;
          continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\'') {
          ++n;
          ++i;
          continue;
        }
        ++i;
        break;
      }
    } else if (text[i] == '#') {
      size_t start = ++i;
      int code = 0;
      while (i < text.size() && text[i] >= '0' && text[i] <= '9' && code <= 255)
        code = code * 10 + (text[i++] - '0');
      if (i == start || code > 255) return false;
      ++n;
    } else {
      return false;
    }
  }
  if (length) *length = n;
  return true;
}

// An integer as the platform reads one: decimal, or $hex (also 0x) giving
// the 32 bits of the value, within the type's range.
bool IsOrdinalText(const std::string& s, PTypeInfo type) {
  size_t i = 0;
  bool neg = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
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
    const char c = s[i];
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (hex && c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      return false;
    u = u * (hex ? 16 : 10) + static_cast<uint64_t>(d);
    if (u > 0xFFFFFFFFull) return false;
  }
  int64_t v = static_cast<int64_t>(u);
  if (hex && type->MinValue < 0 && u > 0x7FFFFFFFull)
    v = static_cast<int32_t>(static_cast<uint32_t>(u));
  if (neg) v = -v;
  return v >= type->MinValue && v <= type->MaxValue;
}

// Whether the text is a value of the property's type in the text form
// notation, the notation SetPropFromText reads. Checked before anything is
// set, so that a script's bad value is told apart from what a setter
// raises.
bool IsValueOf(PPropInfo prop, const std::string& text) {
  PTypeInfo t = prop->PropType;
  int32_t i;
  size_t n;
  switch (t->Kind) {
    case tkInteger:
      return (t->IdentToInt && t->IdentToInt(text, i)) || IsOrdinalText(text, t);
    case tkChar:
      return IsFormString(text, &n) && n == 1;
    case tkEnumeration:
      return GetEnumValue(t, text) >= 0;
    case tkSet:
      if (text.empty() || text.front() != '[') return false;
      try {
        StringToSet(t, text);
        return true;
      } catch (const EPropertyConvertError&) {
        return false;
      }
    case tkString:
    case tkLString:
    case tkWString:
      return IsFormString(text, nullptr);
    case tkFloat: {
      char* end = nullptr;
      std::strtod(text.c_str(), &end);
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

// ---------------------------------------------------------------------------
// Public members of a split that are not published

struct SplitMember {
  bool Indexed;
  std::function<std::string(TkvCustomSplit&, int32_t)> Read;
};

std::string PaneName(const TkvScrollPane* pane) { return pane ? pane->Name() : "nil"; }

std::string RectText(const TRect& r) {
  return "(" + std::to_string(r.Left) + ", " + std::to_string(r.Top) + ", " +
         std::to_string(r.Right) + ", " + std::to_string(r.Bottom) + ")";
}

const std::map<std::string, SplitMember>& SplitMembers() {
  static const std::map<std::string, SplitMember> members = {
      {"panecount",
       {false, [](TkvCustomSplit& s, int32_t) { return std::to_string(s.PaneCount()); }}},
      {"visiblepanecount",
       {false, [](TkvCustomSplit& s, int32_t) { return std::to_string(s.VisiblePaneCount()); }}},
      {"panes", {true, [](TkvCustomSplit& s, int32_t i) { return PaneName(s.Panes(i)); }}},
      {"visiblepanes",
       {true, [](TkvCustomSplit& s, int32_t i) { return PaneName(s.VisiblePanes(i)); }}},
      {"position",
       {false,
        [](TkvCustomSplit& s, int32_t) {
          TPoint p = s.Position();
          return "(" + std::to_string(p.X) + ", " + std::to_string(p.Y) + ")";
        }}},
      {"actualstyle",
       {false,
        [](TkvCustomSplit& s, int32_t) {
          return GetEnumName(TTypeOf<TkvsStyle>::Info(), s.ActualStyle());
        }}},
      {"framewidth",
       {false, [](TkvCustomSplit& s, int32_t) { return std::to_string(s.FrameWidth()); }}},
      {"mouseover",
       {false, [](TkvCustomSplit& s, int32_t) { return std::string(s.MouseOver() ? "True" : "False"); }}},
      {"getvbarrect", {false, [](TkvCustomSplit& s, int32_t) { return RectText(s.GetVBarRect()); }}},
      {"gethbarrect", {false, [](TkvCustomSplit& s, int32_t) { return RectText(s.GetHBarRect()); }}},
  };
  return members;
}

// Reads MEMBER or MEMBER(I) of a split; nothing when the split has no such
// member.
std::optional<std::string> ReadSplitMember(TkvCustomSplit& split, const std::string& word) {
  std::string name = word;
  std::optional<std::string> index;
  if (size_t open = word.find('('); open != std::string::npos && word.back() == ')') {
    name = word.substr(0, open);
    index = word.substr(open + 1, word.size() - open - 2);
  }
  auto it = SplitMembers().find(LowerCase(name));
  if (it == SplitMembers().end()) return std::nullopt;
  const SplitMember& m = it->second;
  if (m.Indexed != index.has_value())
    throw BadLine{m.Indexed ? name + " needs an index: " + name + "(I)"
                            : name + " takes no index"};
  return m.Read(split, index ? ParseInt(*index) : 0);
}

}  // namespace

std::string GetValue(Host& host, const std::string& path) {
  std::vector<std::string> parts = SplitPath(path);
  TComponent* component = host.Require(parts[0]);
  if (auto* split = dynamic_cast<TkvCustomSplit*>(component); split && parts.size() == 2)
    if (auto v = ReadSplitMember(*split, parts[1])) return *v;
  PropRef ref = ResolveProp(component, parts);
  return PropValueToText(ref.Obj, ref.Prop);
}

void SetValue(Host& host, const std::string& path, const std::string& value) {
  std::vector<std::string> parts = SplitPath(path);
  PropRef ref = ResolveProp(host.Require(parts[0]), parts);
  if (!IsValueOf(ref.Prop, value))
    throw BadLine{Quoted(value) + " is not a value of " + ref.Prop->Name + " (" +
                  ref.Prop->PropType->Name + ")"};
  SetPropFromText(ref.Obj, ref.Prop, value);
}

}  // namespace kvrun
