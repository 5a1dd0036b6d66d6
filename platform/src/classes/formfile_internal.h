// Pieces that the form-file reader, writer and text converter share: the
// 80-bit float layout, code page 1252, and limits.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "vcl/TypInfo.h"

namespace formfile {

// Components, lists and collections nested deeper than this are refused:
// a stream cannot make the reader recurse without bound.
constexpr int kMaxDepth = 128;

// The x87 80-bit extended layout, little-endian: 64-bit mantissa with an
// explicit integer bit, then sign and a 15-bit exponent biased by 16383.
inline long double ExtendedToLongDouble(const uint8_t b[10]) {
  if constexpr (LDBL_MANT_DIG == 64 && sizeof(long double) >= 10) {
    long double v = 0;
    std::memcpy(&v, b, 10);
    return v;
  } else {
    uint64_t mant = 0;
    for (int i = 7; i >= 0; --i) mant = (mant << 8) | b[i];
    int se = b[8] | (b[9] << 8);
    bool neg = (se & 0x8000) != 0;
    int exp = se & 0x7FFF;
    long double v;
    if (exp == 0x7FFF)
      v = (mant << 1) ? NAN : INFINITY;
    else
      v = std::ldexp(static_cast<long double>(mant), exp - 16383 - 63);
    return neg ? -v : v;
  }
}

inline void LongDoubleToExtended(long double v, uint8_t b[10]) {
  if constexpr (LDBL_MANT_DIG == 64 && sizeof(long double) >= 10) {
    uint8_t raw[sizeof(long double)] = {};
    std::memcpy(raw, &v, sizeof v);
    std::memcpy(b, raw, 10);
  } else {
    std::memset(b, 0, 10);
    bool neg = std::signbit(v);
    if (neg) v = -v;
    int se = 0;
    uint64_t mant = 0;
    if (std::isnan(v)) {
      se = 0x7FFF;
      mant = 0xC000000000000000ull;
    } else if (std::isinf(v)) {
      se = 0x7FFF;
      mant = 0x8000000000000000ull;
    } else if (v != 0) {
      int e;
      long double f = std::frexp(v, &e);  // v = f * 2^e, 0.5 <= f < 1
      mant = static_cast<uint64_t>(std::ldexp(f, 64));
      se = e - 1 + 16383;
    }
    for (int i = 0; i < 8; ++i) b[i] = static_cast<uint8_t>(mant >> (8 * i));
    if (neg) se |= 0x8000;
    b[8] = static_cast<uint8_t>(se);
    b[9] = static_cast<uint8_t>(se >> 8);
  }
}

// Code page 1252: the bytes 0x80..0x9F that are not Unicode's C1 controls.
inline const char16_t* Cp1252High() {
  static const char16_t table[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  return table;
}

inline char16_t Cp1252ToUnit(uint8_t c) {
  return c >= 0x80 && c < 0xA0 ? Cp1252High()[c - 0x80] : static_cast<char16_t>(c);
}

inline std::u16string BytesToWide(const std::string& s) {
  std::u16string w;
  w.reserve(s.size());
  for (char c : s) w += Cp1252ToUnit(static_cast<uint8_t>(c));
  return w;
}

// A unit that code page 1252 lacks becomes '?'.
inline std::string WideToBytes(const std::u16string& w) {
  std::string s;
  s.reserve(w.size());
  for (char16_t u : w) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      s += static_cast<char>(u);
      continue;
    }
    char out = '?';
    for (int i = 0; i < 32; ++i)
      if (Cp1252High()[i] == u) {
        out = static_cast<char>(0x80 + i);
        break;
      }
    s += out;
  }
  return s;
}

// Booleans are stored as vaFalse / vaTrue, other enumerations by name.
inline bool IsBooleanType(PTypeInfo t) {
  return t == TTypeOf<bool>::Info() ||
         (t->Kind == tkEnumeration && t->EnumNames.size() == 2 && t->EnumNames[0] == "False" &&
          t->EnumNames[1] == "True");
}

}  // namespace formfile
