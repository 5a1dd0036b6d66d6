#include "props.h"

#include <cstdint>
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

// Whether the text is a value of the property's type in the text form
// notation, the notation SetPropFromText reads. Checked before anything is
// set, so that a script's bad value is told apart from what a setter
// raises.
bool IsValueOf(PPropInfo prop, const std::string& text) { return IsPropText(prop, text); }

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
