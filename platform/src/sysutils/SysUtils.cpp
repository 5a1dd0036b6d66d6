#include "vcl/SysUtils.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void FormatError(const std::string& fmt) {
  throw EConvertError("Format '" + fmt + "' invalid or incompatible with argument");
}

// Inserts thousands separators into the integer part of a fixed number.
std::string Thousands(const std::string& fixed) {
  size_t start = (!fixed.empty() && fixed[0] == '-') ? 1 : 0;
  size_t dot = fixed.find('.');
  if (dot == std::string::npos) dot = fixed.size();
  std::string out = fixed.substr(0, start);
  for (size_t i = start; i < dot; ++i) {
    out += fixed[i];
    size_t left = dot - i - 1;
    if (left > 0 && left % 3 == 0) out += ',';
  }
  return out + fixed.substr(dot);
}

// printf of one number into a string of whatever length it takes.
template <class... A>
std::string Printf(const char* format, A... args) {
  int n = std::snprintf(nullptr, 0, format, args...);
  if (n <= 0) return std::string();
  std::string s(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(s.data(), s.size(), format, args...);
  s.resize(static_cast<size_t>(n));
  return s;
}

std::string FormatOne(const std::string& fmt, char type, int prec, const TVarRec& a) {
  char buf[64];
  switch (type) {
    case 'd':
    case 'u': {
      if (a.Kind != TVarRec::vtInteger) FormatError(fmt);
      int64_t v = a.I;
      if (type == 'u' && v < 0) v = static_cast<int64_t>(static_cast<uint32_t>(v));
      std::string digits = std::to_string(v < 0 ? -static_cast<uint64_t>(v) : static_cast<uint64_t>(v));
      // The precision is a minimum number of digits.
      if (prec > 0 && static_cast<int>(digits.size()) < prec)
        digits.insert(0, static_cast<size_t>(prec) - digits.size(), '0');
      return (v < 0 ? "-" : "") + digits;
    }
    case 'x': {
      if (a.Kind != TVarRec::vtInteger) FormatError(fmt);
      std::snprintf(buf, sizeof buf, "%llX",
                    static_cast<unsigned long long>(a.I < 0 && a.I >= INT32_MIN
                                                        ? static_cast<uint32_t>(a.I)
                                                        : static_cast<uint64_t>(a.I)));
      std::string digits = buf;
      if (prec > 0 && static_cast<int>(digits.size()) < prec)
        digits.insert(0, static_cast<size_t>(prec) - digits.size(), '0');
      return digits;
    }
    case 'e':
    case 'f':
    case 'g':
    case 'n':
    case 'm': {
      double v;
      if (a.Kind == TVarRec::vtExtended)
        v = a.D;
      else
        FormatError(fmt);
      if (type == 'e') return Printf("%.*E", prec < 0 ? 14 : (prec > 0 ? prec - 1 : 0), v);
      if (type == 'g') return Printf("%.*G", prec < 0 ? 15 : prec, v);
      std::string fixed = Printf("%.*f", prec < 0 ? 2 : prec, v);
      if (type == 'f') return fixed;
      std::string s = Thousands(fixed);
      return type == 'm' ? "$" + s : s;
    }
    case 'p': {
      if (a.Kind != TVarRec::vtPointer) FormatError(fmt);
      std::snprintf(buf, sizeof buf, "%08llX",
                    static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(a.P)));
      return buf;
    }
    case 's': {
      std::string s;
      if (a.Kind == TVarRec::vtString)
        s = a.S;
      else if (a.Kind == TVarRec::vtChar)
        s = std::string(1, a.C);
      else
        FormatError(fmt);
      if (prec >= 0 && static_cast<size_t>(prec) < s.size()) s.resize(static_cast<size_t>(prec));
      return s;
    }
    default:
      FormatError(fmt);
  }
}

}  // namespace

std::string Format(const std::string& fmt, std::initializer_list<TVarRec> args) {
  return Format(fmt, std::vector<TVarRec>(args));
}

std::string Format(const std::string& fmt, const std::vector<TVarRec>& args) {
  std::string out;
  size_t next = 0;  // index of the next argument
  size_t i = 0;
  // Widths and precisions are bounded so that a directive cannot ask for an
  // absurdly long text, whether written in the format or passed by '*'.
  constexpr int kMaxNumber = 100000;
  auto readNumber = [&](int& value) -> bool {
    if (i < fmt.size() && fmt[i] == '*') {
      ++i;
      if (next >= args.size() || args[next].Kind != TVarRec::vtInteger) FormatError(fmt);
      int64_t v = args[next++].I;
      if (v > kMaxNumber) FormatError(fmt);
      value = v < -kMaxNumber ? -kMaxNumber : static_cast<int>(v);
      return true;
    }
    if (i >= fmt.size() || !std::isdigit(static_cast<unsigned char>(fmt[i]))) return false;
    value = 0;
    while (i < fmt.size() && std::isdigit(static_cast<unsigned char>(fmt[i]))) {
      value = value * 10 + (fmt[i] - '0');
      if (value > kMaxNumber) FormatError(fmt);
      ++i;
    }
    return true;
  };
  while (i < fmt.size()) {
    char c = fmt[i++];
    if (c != '%') {
      out += c;
      continue;
    }
    if (i < fmt.size() && fmt[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    // [index:][-][width][.prec]type
    // What looks like an index may turn out to be the width: then both the
    // place in the format and a '*' argument it took are given back.
    size_t save = i;
    size_t saveNext = next;
    int num = 0;
    if (readNumber(num) && i < fmt.size() && fmt[i] == ':') {
      if (num < 0) FormatError(fmt);
      next = static_cast<size_t>(num);
      ++i;
    } else {
      i = save;
      next = saveNext;
    }
    bool left = false;
    if (i < fmt.size() && fmt[i] == '-') {
      left = true;
      ++i;
    }
    int width = 0;
    readNumber(width);
    int prec = -1;
    if (i < fmt.size() && fmt[i] == '.') {
      ++i;
      prec = 0;
      readNumber(prec);
    }
    if (i >= fmt.size()) FormatError(fmt);
    char type = static_cast<char>(std::tolower(static_cast<unsigned char>(fmt[i++])));
    if (next >= args.size()) FormatError(fmt);
    std::string s = FormatOne(fmt, type, prec, args[next++]);
    if (static_cast<int>(s.size()) < width) {
      std::string pad(static_cast<size_t>(width) - s.size(), ' ');
      s = left ? s + pad : pad + s;
    }
    out += s;
  }
  return out;
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

std::string IntToHex(int64_t value, int digits) {
  return Format("%.*x", {digits, static_cast<long long>(value)});
}

bool TryStrToInt(const std::string& text, int32_t& value) {
  std::string s = Trim(text);
  if (s.empty()) return false;
  size_t i = 0;
  bool neg = false;
  if (s[i] == '-' || s[i] == '+') {
    neg = s[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return false;
  uint64_t v = 0;
  for (; i < s.size(); ++i) {
    int d;
    char ch = s[i];
    if (ch >= '0' && ch <= '9')
      d = ch - '0';
    else if (base == 16 && std::isxdigit(static_cast<unsigned char>(ch)))
      d = std::tolower(static_cast<unsigned char>(ch)) - 'a' + 10;
    else
      return false;
    v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    if (v > 0xFFFFFFFFull) return false;
  }
  if (base == 10) {
    if (neg ? v > 0x80000000ull : v > 0x7FFFFFFFull) return false;
    value = neg ? static_cast<int32_t>(-static_cast<int64_t>(v)) : static_cast<int32_t>(v);
  } else {
    // Hexadecimal covers the whole 32 bits, as the platform reads $FFFFFFFF as -1.
    int64_t sv = static_cast<int32_t>(static_cast<uint32_t>(v));
    value = static_cast<int32_t>(neg ? -sv : sv);
  }
  return true;
}

int32_t StrToInt(const std::string& s) {
  int32_t v;
  if (!TryStrToInt(s, v)) throw EConvertError("'" + s + "' is not a valid integer value");
  return v;
}

std::string UpperCase(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

std::string LowerCase(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

int CompareText(const std::string& a, const std::string& b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    int ca = static_cast<unsigned char>(a[i]);
    int cb = static_cast<unsigned char>(b[i]);
    if (ca >= 'a' && ca <= 'z') ca -= 32;
    if (cb >= 'a' && cb <= 'z') cb -= 32;
    if (ca != cb) return ca - cb;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

bool IsValidIdent(const std::string& ident) {
  if (ident.empty()) return false;
  auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!alpha(ident[0])) return false;
  for (char c : ident)
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

const TClassInfo& Exception::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("Exception", &TObject::StaticClass());
  return info;
}
