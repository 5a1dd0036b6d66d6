// System: the root class, the platform's basic types, sets and messages.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>

using Integer = int32_t;
using Cardinal = uint32_t;
using LongInt = int32_t;
using SmallInt = int16_t;
using ShortInt = int8_t;
using Byte = uint8_t;
using Word = uint16_t;
using Boolean = bool;
using String = std::string;  // the platform's long string: bytes in code page 1252

struct TClassInfo;
using TClass = const TClassInfo*;

// A message as the platform's message methods see it.
struct TMessage {
  uint32_t Msg = 0;
  uintptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

// Declares the class-information members of a platform class. `inherited`
// names the base class, as the platform's own methods call it.
#define VCL_CLASS(Self, Parent)                               \
 public:                                                      \
  using inherited = Parent;                                   \
  static const TClassInfo& StaticClass();                     \
  TClass ClassType() const override { return &StaticClass(); }

class TObject {
 public:
  TObject() = default;
  virtual ~TObject();
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;

  static const TClassInfo& StaticClass();
  virtual TClass ClassType() const { return &StaticClass(); }
  const std::string& ClassName() const;
  bool InheritsFrom(TClass cls) const;

  // Frees the object: BeforeDestruction runs while the object is still
  // whole, then the destructor chain.
  void Free();
  virtual void AfterConstruction() {}
  virtual void BeforeDestruction() {}

  // Message dispatch: classes override Dispatch with a switch over message
  // ids and fall back to their base's Dispatch; what no class handles
  // reaches DefaultHandler.
  virtual void Dispatch(TMessage& message) { DefaultHandler(message); }
  virtual void DefaultHandler(TMessage&) {}
};

template <class T>
void FreeAndNil(T*& obj) {
  T* o = obj;
  obj = nullptr;
  if (o) o->Free();
}

// A set over an enumeration of at most 32 elements; the element of ordinal n
// is bit n, as the platform stores sets.
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> elems) {
    for (E e : elems) FBits |= Bit(e);
  }
  static constexpr TSet FromBits(uint32_t bits) {
    TSet s;
    s.FBits = bits;
    return s;
  }
  constexpr uint32_t Bits() const { return FBits; }
  constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TSet& Include(E e) {
    FBits |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    FBits &= ~Bit(e);
    return *this;
  }
  constexpr TSet operator+(TSet o) const { return FromBits(FBits | o.FBits); }
  constexpr TSet operator-(TSet o) const { return FromBits(FBits & ~o.FBits); }
  constexpr TSet operator*(TSet o) const { return FromBits(FBits & o.FBits); }
  constexpr TSet operator<<(E e) const { return FromBits(FBits | Bit(e)); }
  constexpr TSet operator>>(E e) const { return FromBits(FBits & ~Bit(e)); }
  friend constexpr bool operator==(TSet a, TSet b) { return a.FBits == b.FBits; }

 private:
  static constexpr uint32_t Bit(E e) { return uint32_t{1} << static_cast<unsigned>(e); }
  uint32_t FBits = 0;
};

// Hashing and equality of identifiers that ignore ASCII case, for maps of
// names (properties, components, classes). Both take string views, so a
// look-up neither lowers nor copies the name. (The hash is deliberately not
// noexcept: the standard library then keeps each key's hash beside it and
// compares names only when the hashes agree.)
struct TTextHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const {
    // Setting bit 5 lowers ASCII letters and leaves digits alone; other
    // bytes that meet on it only share a hash, the equality tells them apart.
    uint64_t h = 14695981039346656037ull;
    for (char c : s) h = (h ^ (static_cast<unsigned char>(c) | 0x20u)) * 1099511628211ull;
    return static_cast<size_t>(h);
  }
};
struct TTextEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    if (a.size() != b.size()) return false;
    if (a == b) return true;  // the usual case: the same spelling
    for (size_t i = 0; i < a.size(); ++i) {
      auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
      if (x == y) continue;
      if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
      if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
      if (x != y) return false;
    }
    return true;
  }
};
template <class V>
using TTextMap = std::unordered_map<std::string, V, TTextHash, TTextEqual>;
