// TypInfo: run-time type information. Every platform class describes itself
// once in a TClassInfo: its name, its parent, how to construct it, and its
// published properties (in declaration order, with type, default and stored
// rule), published methods and published fields. The form reader and writer,
// the designer's inspector and property access by name all work from it.
#pragma once

#include <any>
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "vcl/System.h"

class TComponent;
class TPersistent;

enum TTypeKind : uint8_t {
  tkUnknown,
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,  // short string, at most MaxLength bytes
  tkSet,
  tkClass,
  tkMethod,
  tkWChar,
  tkLString,
  tkWString,
  tkVariant
};

enum TOrdType : uint8_t { otSByte, otUByte, otSWord, otUWord, otSLong, otULong };

struct TTypeInfo;
using PTypeInfo = const TTypeInfo*;

struct TTypeInfo {
  TTypeKind Kind = tkUnknown;
  std::string Name;
  // Ordinals (integers, characters, enumerations, sets): storage and range.
  TOrdType OrdType = otSLong;
  int64_t MinValue = 0;
  int64_t MaxValue = 0;
  std::vector<std::string> EnumNames;  // tkEnumeration, ordinal order
  PTypeInfo CompType = nullptr;        // tkSet: the element type
  int MaxLength = 255;                 // tkString
  TClass ClassType = nullptr;          // tkClass
  // Integer types whose values have identifiers (colours, cursors).
  bool (*IntToIdent)(int32_t value, std::string& ident) = nullptr;
  bool (*IdentToInt)(const std::string& ident, int32_t& value) = nullptr;
};

// Type information of the C++ types that published properties use.
template <class T, class Enable = void>
struct TTypeOf;

PTypeInfo MakeEnumTypeInfo(const char* name, const char* commaSeparatedNames);
PTypeInfo MakeIntTypeInfo(const char* name, TOrdType ord, int64_t min, int64_t max,
                          bool (*intToIdent)(int32_t, std::string&) = nullptr,
                          bool (*identToInt)(const std::string&, int32_t&) = nullptr);
PTypeInfo MakeShortStringTypeInfo(const char* name, int maxLength);
PTypeInfo MakeSetTypeInfo(const char* name, PTypeInfo element);
PTypeInfo MakeClassTypeInfo(TClass cls);
PTypeInfo MakeMethodTypeInfo(const char* name);

// Declares an enumeration with the platform's one-byte storage and its names.
#define VCL_ENUM(Name, ...)                                           \
  enum Name : uint8_t { __VA_ARGS__ };                                \
  template <>                                                         \
  struct TTypeOf<Name> {                                              \
    static PTypeInfo Info() {                                         \
      static const PTypeInfo info = MakeEnumTypeInfo(#Name, #__VA_ARGS__); \
      return info;                                                    \
    }                                                                 \
  };

// Declares the type information of a set over an enumeration.
#define VCL_SET(Name, Enum)                                                \
  using Name = TSet<Enum>;                                                 \
  template <>                                                              \
  struct TTypeOf<Name> {                                                   \
    static PTypeInfo Info() {                                              \
      static const PTypeInfo info = MakeSetTypeInfo(#Name, TTypeOf<Enum>::Info()); \
      return info;                                                         \
    }                                                                      \
  };

template <>
struct TTypeOf<bool> {
  static PTypeInfo Info();
};
template <>
struct TTypeOf<int32_t> {
  static PTypeInfo Info();
};
template <>
struct TTypeOf<uint32_t> {
  static PTypeInfo Info();
};
template <>
struct TTypeOf<int16_t> {
  static PTypeInfo Info();
};
template <>
struct TTypeOf<uint16_t> {
  static PTypeInfo Info();
};
template <>
struct TTypeOf<int8_t> {
  static PTypeInfo Info();
};
template <>
struct TTypeOf<uint8_t> {
  static PTypeInfo Info();
};
template <>
struct TTypeOf<char> {
  static PTypeInfo Info();
};
template <>
struct TTypeOf<double> {
  static PTypeInfo Info();
};
template <>
struct TTypeOf<std::string> {
  static PTypeInfo Info();
};
// A pointer to a persistent class: a class-type property.
template <class T>
struct TTypeOf<T*, std::enable_if_t<std::is_base_of_v<TPersistent, T>>> {
  static PTypeInfo Info() {
    static const PTypeInfo info = MakeClassTypeInfo(&T::StaticClass());
    return info;
  }
};

// ---------------------------------------------------------------------------
// Method references and events

struct TMethodInfo;

// What an event property holds when it names a published method: the object
// and the method. An event assigned a plain callable in code has no TMethod.
struct TMethod {
  TObject* Data = nullptr;
  const TMethodInfo* Code = nullptr;
  bool Assigned() const { return Code != nullptr; }
  friend bool operator==(const TMethod&, const TMethod&) = default;
};

// A published method: its name and an invoker of the signature it was
// declared with (a std::function<void(TObject* self, Args...)>).
struct TMethodInfo {
  std::string Name;
  std::any Invoker;
};

[[noreturn]] void RaiseMethodSignatureMismatch(const std::string& name);

// An event: a callable that code assigns, or a published method of some
// object (which form files store by name). Firing an unassigned event does
// nothing.
template <class... A>
class TEvent {
 public:
  using Handler = std::function<void(A...)>;
  using Invoker = std::function<void(TObject*, A...)>;

  TEvent() = default;
  TEvent(std::nullptr_t) {}
  template <class F, class = std::enable_if_t<std::is_invocable_v<F, A...> &&
                                              !std::is_same_v<std::decay_t<F>, TEvent>>>
  TEvent(F&& f) {
    Handler h(std::forward<F>(f));
    if (h) FBound.reset(new Bound{std::move(h), TMethod{}});
  }
  TEvent(const TEvent& other) : FBound(other.FBound ? new Bound(*other.FBound) : nullptr) {}
  TEvent(TEvent&&) noexcept = default;
  TEvent& operator=(const TEvent& other) {
    if (this != &other) FBound.reset(other.FBound ? new Bound(*other.FBound) : nullptr);
    return *this;
  }
  TEvent& operator=(TEvent&&) noexcept = default;

  bool Assigned() const { return FBound != nullptr; }
  explicit operator bool() const { return Assigned(); }
  void operator()(A... args) const {
    if (FBound) FBound->FHandler(args...);
  }
  const TMethod& Method() const {
    static const TMethod none;
    return FBound ? FBound->FMethod : none;
  }

  // Binds the event to a published method of an object.
  static TEvent FromMethod(const TMethod& m) {
    TEvent e;
    if (!m.Code) return e;
    const auto* inv = std::any_cast<Invoker>(&m.Code->Invoker);
    if (!inv) RaiseMethodSignatureMismatch(m.Code->Name);
    Invoker call = *inv;
    TObject* data = m.Data;
    e.FBound.reset(new Bound{[call, data](A... args) { call(data, args...); }, m});
    return e;
  }

 private:
  // Held apart, so that an unassigned event (most of a control's many) is a
  // single null pointer.
  struct Bound {
    Handler FHandler;
    TMethod FMethod;
  };
  std::unique_ptr<Bound> FBound;
};

template <class... A>
struct TTypeOf<TEvent<A...>> {
  static PTypeInfo Info() {
    static const PTypeInfo info = MakeMethodTypeInfo("TEvent");
    return info;
  }
};

using TNotifyEvent = TEvent<TObject*>;

// ---------------------------------------------------------------------------
// Published properties

constexpr int64_t NoDefault = INT32_MIN;  // the platform's "nodefault" marker

struct TPropInfo {
  std::string Name;
  PTypeInfo PropType = nullptr;
  int64_t Default = NoDefault;
  // Stored rule: StoredNever, or a predicate (null = always stored).
  bool StoredNever = false;
  std::function<bool(const TObject*)> StoredFn;
  bool HasSetter = true;

  // Accessors; only those of the property's kind are set. Ordinals (also
  // Booleans, enumerations and sets as their bits) go through int64_t.
  std::function<int64_t(const TObject*)> GetOrd;
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<std::string(const TObject*)> GetStr;
  std::function<void(TObject*, const std::string&)> SetStr;
  std::function<double(const TObject*)> GetFloat;
  std::function<void(TObject*, double)> SetFloat;
  std::function<TObject*(const TObject*)> GetObj;
  std::function<void(TObject*, TObject*)> SetObj;
  std::function<TMethod(const TObject*)> GetMethod;
  std::function<void(TObject*, const TMethod&)> SetMethod;
  // Assigns a callable to an event property: a std::function of the event's
  // own handler type in a std::any. Used by hosts to watch events.
  std::function<void(TObject*, const std::any&)> SetHandler;
};
using PPropInfo = const TPropInfo*;

// A published field: a component reference that the form reader binds by
// component name.
struct TFieldInfo {
  std::string Name;
  TClass FieldClass = nullptr;
  std::function<void(TObject*, TComponent*)> Set;
};

struct TClassInfo {
  std::string ClassName;
  TClass Parent = nullptr;
  // Creates an instance with the given owner; null for classes that cannot
  // be constructed by name.
  std::function<TComponent*(TComponent* owner)> Factory;
  std::function<TPersistent*()> PlainFactory;
  std::vector<TPropInfo> OwnProps;  // as declared by this class
  std::vector<TMethodInfo> Methods;
  std::vector<TFieldInfo> Fields;

  static TClassInfo Plain(const char* name, TClass parent);

  bool InheritsFrom(TClass cls) const;
  // All published properties in stream order: ancestors first; a property
  // that a descendant declares again keeps its inherited place.
  const std::vector<PPropInfo>& Props() const;
  PPropInfo FindProp(std::string_view name) const;  // ignoring case
  const TMethodInfo* FindMethod(const std::string& name) const;
  const TFieldInfo* FindField(const std::string& name) const;

 private:
  mutable bool FResolved = false;
  mutable std::vector<PPropInfo> FAllProps;
  mutable TTextMap<PPropInfo> FByName;
  void Resolve() const;
};

// ---------------------------------------------------------------------------
// Property description: TClassBuilder<T> fills a TClassInfo for class T.

namespace typinfo_detail {

template <class V>
int64_t ToOrd(const V& v) {
  if constexpr (std::is_same_v<V, bool>) {
    return v ? 1 : 0;
  } else if constexpr (std::is_enum_v<V> || std::is_integral_v<V>) {
    return static_cast<int64_t>(v);
  } else {
    return static_cast<int64_t>(v.Bits());  // TSet
  }
}

template <class V>
V FromOrd(int64_t o) {
  if constexpr (std::is_same_v<V, bool>) {
    return o != 0;
  } else if constexpr (std::is_enum_v<V>) {
    return static_cast<V>(static_cast<std::underlying_type_t<V>>(o));
  } else if constexpr (std::is_integral_v<V>) {
    return static_cast<V>(o);
  } else {
    return V::FromBits(static_cast<uint32_t>(o));
  }
}

template <class V>
struct IsEvent : std::false_type {};
template <class... A>
struct IsEvent<TEvent<A...>> : std::true_type {};

}  // namespace typinfo_detail

// Options of a property description.
struct Default {
  int64_t Value;
};
struct StoredNever {};
struct TypeIs {
  PTypeInfo Info;
};
template <class B>
struct StoredBy {
  bool (B::*Pred)() const;
};
template <class B>
StoredBy(bool (B::*)() const) -> StoredBy<B>;

template <class T>
class TClassBuilder {
 public:
  explicit TClassBuilder(const char* name) {
    FInfo.ClassName = name;
    FInfo.Parent = &T::inherited::StaticClass();
  }

  // T can be constructed by name with an owner.
  TClassBuilder& Creatable() {
    FInfo.Factory = [](TComponent* owner) -> TComponent* { return new T(owner); };
    return *this;
  }
  TClassBuilder& CreatablePlain() {
    FInfo.PlainFactory = []() -> TPersistent* { return new T(); };
    return *this;
  }

  // A read-write property: a getter `R P() const` and a setter `void SetP(V)`.
  template <class BG, class R, class BS, class V, class... Opt>
  TClassBuilder& Prop(const char* name, R (BG::*get)() const, void (BS::*set)(V), Opt... opts) {
    using Val = std::decay_t<R>;
    TPropInfo p = Describe<BG, R>(name, get);
    Bind<BS, Val, V>(p, set);
    (Apply(p, opts), ...);
    FInfo.OwnProps.push_back(std::move(p));
    return *this;
  }

  // A read-only published property: never written to a form file.
  template <class BG, class R, class... Opt>
  TClassBuilder& ReadOnlyProp(const char* name, R (BG::*get)() const, Opt... opts) {
    TPropInfo p = Describe<BG, R>(name, get);
    p.HasSetter = false;
    (Apply(p, opts), ...);
    FInfo.OwnProps.push_back(std::move(p));
    return *this;
  }

  // A published method that events can name.
  template <class B, class... A>
  TClassBuilder& Method(const char* name, void (B::*m)(A...)) {
    TMethodInfo mi;
    mi.Name = name;
    mi.Invoker = std::function<void(TObject*, A...)>(
        [m](TObject* self, A... args) { (static_cast<T*>(self)->*m)(args...); });
    FInfo.Methods.push_back(std::move(mi));
    return *this;
  }

  // A published field holding a component of class C.
  template <class C>
  TClassBuilder& Field(const char* name, C* T::*field) {
    TFieldInfo fi;
    fi.Name = name;
    fi.FieldClass = &C::StaticClass();
    fi.Set = [field](TObject* self, TComponent* c) {
      static_cast<T*>(self)->*field = dynamic_cast<C*>(c);
    };
    FInfo.Fields.push_back(std::move(fi));
    return *this;
  }

  // The description is complete: hand it over (once).
  operator TClassInfo() { return std::move(FInfo); }

 private:
  template <class BG, class R>
  static TPropInfo Describe(const char* name, R (BG::*get)() const) {
    using Val = std::decay_t<R>;
    TPropInfo p;
    p.Name = name;
    p.PropType = TTypeOf<Val>::Info();
    if constexpr (std::is_same_v<Val, std::string>) {
      p.GetStr = [get](const TObject* o) { return (static_cast<const T*>(o)->*get)(); };
    } else if constexpr (std::is_floating_point_v<Val>) {
      p.GetFloat = [get](const TObject* o) { return (static_cast<const T*>(o)->*get)(); };
    } else if constexpr (std::is_pointer_v<Val>) {
      p.GetObj = [get](const TObject* o) -> TObject* {
        return (static_cast<const T*>(o)->*get)();
      };
    } else if constexpr (typinfo_detail::IsEvent<Val>::value) {
      p.GetMethod = [get](const TObject* o) {
        return (static_cast<const T*>(o)->*get)().Method();
      };
    } else {
      p.GetOrd = [get](const TObject* o) {
        return typinfo_detail::ToOrd<Val>((static_cast<const T*>(o)->*get)());
      };
    }
    return p;
  }

  template <class BS, class Val, class V>
  static void Bind(TPropInfo& p, void (BS::*set)(V)) {
    if constexpr (std::is_same_v<Val, std::string>) {
      p.SetStr = [set](TObject* o, const std::string& v) { (static_cast<T*>(o)->*set)(v); };
    } else if constexpr (std::is_floating_point_v<Val>) {
      p.SetFloat = [set](TObject* o, double v) { (static_cast<T*>(o)->*set)(static_cast<Val>(v)); };
    } else if constexpr (std::is_pointer_v<Val>) {
      p.SetObj = [set](TObject* o, TObject* v) {
        (static_cast<T*>(o)->*set)(v ? dynamic_cast<Val>(v) : nullptr);
      };
    } else if constexpr (typinfo_detail::IsEvent<Val>::value) {
      p.SetMethod = [set](TObject* o, const TMethod& m) {
        (static_cast<T*>(o)->*set)(Val::FromMethod(m));
      };
      p.SetHandler = [set](TObject* o, const std::any& h) {
        const auto* fn = std::any_cast<typename Val::Handler>(&h);
        if (!fn) RaiseMethodSignatureMismatch("handler");
        (static_cast<T*>(o)->*set)(Val(*fn));
      };
    } else {
      p.SetOrd = [set](TObject* o, int64_t v) {
        (static_cast<T*>(o)->*set)(typinfo_detail::FromOrd<Val>(v));
      };
    }
  }

  static void Apply(TPropInfo& p, Default d) { p.Default = d.Value; }
  static void Apply(TPropInfo& p, StoredNever) { p.StoredNever = true; }
  static void Apply(TPropInfo& p, TypeIs t) { p.PropType = t.Info; }
  template <class B>
  static void Apply(TPropInfo& p, StoredBy<B> s) {
    auto pred = s.Pred;
    p.StoredFn = [pred](const TObject* o) { return (static_cast<const T*>(o)->*pred)(); };
  }

  TClassInfo FInfo;
};

// ---------------------------------------------------------------------------
// Property access by name

PPropInfo GetPropInfo(const TObject* obj, const std::string& name);  // nullptr if none
PPropInfo GetPropInfo(TClass cls, const std::string& name);
// The stored rule of a property for an object (the predicate, or never).
bool IsStoredProp(const TObject* obj, PPropInfo prop);
// Whether the property holds its default value, which the form writer leaves
// out: an ordinal's declared default (none for NoDefault), else the empty
// value (empty string, zero, nil object, unassigned event).
bool IsDefaultPropValue(const TObject* obj, PPropInfo prop);

int64_t GetOrdProp(const TObject* obj, PPropInfo prop);
int64_t GetOrdProp(const TObject* obj, const std::string& name);
void SetOrdProp(TObject* obj, PPropInfo prop, int64_t value);
void SetOrdProp(TObject* obj, const std::string& name, int64_t value);
std::string GetEnumProp(const TObject* obj, const std::string& name);
void SetEnumProp(TObject* obj, const std::string& name, const std::string& value);
std::string GetStrProp(const TObject* obj, PPropInfo prop);
std::string GetStrProp(const TObject* obj, const std::string& name);
void SetStrProp(TObject* obj, PPropInfo prop, const std::string& value);
void SetStrProp(TObject* obj, const std::string& name, const std::string& value);
// Sets as text: members separated by commas, in brackets when asked.
std::string GetSetProp(const TObject* obj, const std::string& name, bool brackets = false);
void SetSetProp(TObject* obj, const std::string& name, const std::string& value);
TObject* GetObjectProp(const TObject* obj, const std::string& name);
TMethod GetMethodProp(const TObject* obj, const std::string& name);
void SetMethodProp(TObject* obj, const std::string& name, const TMethod& value);

std::string GetEnumName(PTypeInfo type, int64_t value);  // "" when out of range
int GetEnumValue(PTypeInfo type, const std::string& name);  // -1 when unknown; ignores case
std::string SetToString(PTypeInfo setType, uint32_t bits, bool brackets);
uint32_t StringToSet(PTypeInfo setType, const std::string& text);  // EPropertyConvertError

// The value of a property written as the platform's text form files write
// it: 12, -3, kvsTop, [a, b], True, 'text', clBtnFace, a method's name, a
// component's name, or nil.
std::string PropValueToText(const TObject* obj, PPropInfo prop);
// Sets a property from such text. Raises EPropertyConvertError when the text
// is not a value of the property's type.
void SetPropFromText(TObject* obj, PPropInfo prop, const std::string& text);
// Whether the text is a value of the property's type in that notation.
bool IsPropText(PPropInfo prop, const std::string& text);
// A string quoted as in text form files: 'it''s', 'a'#13#10'b'.
std::string QuoteFormString(const std::string& s);
