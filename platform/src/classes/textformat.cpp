// The text format of form files, the conversions between it and the binary
// format, and whole form files in either format.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cctype>

#include "classes/formfile_internal.h"
#include "vcl/Classes.h"

using formfile::kMaxDepth;

namespace {

// ---------------------------------------------------------------------------
// Binary to text

// Sign character, one digit, '.', 20 digits, 'E', sign, 4-digit exponent.
std::string FormatExtended(long double v) {
  if (std::isnan(v)) return " NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : " INF";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.20Le", v);
  const char* p = buf;
  bool neg = *p == '-';
  if (neg) ++p;
  const char* e = std::strchr(p, 'e');
  std::string mant(p, static_cast<size_t>(e - p));
  int exp = std::atoi(e + 1);
  char tail[16];
  std::snprintf(tail, sizeof tail, "E%c%04d", exp < 0 ? '-' : '+', exp < 0 ? -exp : exp);
  return std::string(1, neg ? '-' : ' ') + mant + tail;
}

// A currency value is an integer of ten-thousandths: its digits are laid out
// exactly, without passing through binary floating point.
std::string FormatCurrency(int64_t c) {
  bool neg = c < 0;
  uint64_t u = neg ? 0 - static_cast<uint64_t>(c) : static_cast<uint64_t>(c);
  std::string digits = std::to_string(u);
  int exp = u == 0 ? 0 : static_cast<int>(digits.size()) - 1 - 4;
  std::string mant = digits.substr(0, 1) + "." + digits.substr(1);
  mant.resize(22, '0');
  char tail[16];
  std::snprintf(tail, sizeof tail, "E%c%04d", exp < 0 ? '-' : '+', exp < 0 ? -exp : exp);
  return std::string(1, neg ? '-' : ' ') + mant + tail;
}

std::string QuoteWide(const std::u16string& w) {
  if (w.empty()) return "''";
  std::string out;
  bool inQuote = false;
  for (char16_t u : w) {
    if (u >= 32 && u <= 126) {
      if (!inQuote) {
        out += '\'';
        inQuote = true;
      }
      if (u == '\'') out += '\'';
      out += static_cast<char>(u);
    } else {
      if (inQuote) {
        out += '\'';
        inQuote = false;
      }
      out += '#' + std::to_string(static_cast<unsigned>(u));
    }
  }
  if (inQuote) out += '\'';
  return out;
}

class BinaryToText {
 public:
  BinaryToText(TReader& r, std::string& out) : R(r), Out(out) {}

  // The text format holds names only as identifiers (property names and
  // values with dots): a name it cannot hold is refused here rather than
  // written as text that does not read back.
  std::string Name(const char* what, bool dots, bool empty, bool keywords) {
    int64_t at = R.Position();
    std::string n = R.ReadStr();
    bool ok = n.empty() ? empty : IsIdentStart(n[0]);
    for (size_t i = 1; ok && i < n.size(); ++i)
      ok = IsIdentStart(n[i]) || (n[i] >= '0' && n[i] <= '9') || (dots && n[i] == '.');
    if (ok && keywords)
      for (const char* kw : {"object", "inherited", "inline", "end", "item"})
        if (SameText(n, kw)) ok = false;
    if (!ok)
      R.ReadError(std::string("Invalid ") + what + " \"" + n +
                      "\": the text format expects an identifier",
                  at);
    return n;
  }
  static bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
  }

  void Object(int indent) {
    if (indent / 2 >= kMaxDepth) R.ReadError("Components nested too deeply", R.Position());
    TFilerFlags flags;
    int32_t pos;
    R.ReadPrefix(flags, pos);
    std::string cls = Name("class name", false, false, false);
    std::string name = Name("component name", false, true, false);
    Out.append(static_cast<size_t>(indent), ' ');
    Out += flags.Contains(ffInherited) ? "inherited " : (flags.Contains(ffInline) ? "inline " : "object ");
    if (!name.empty()) {
      Out += name;
      Out += ": ";
    }
    Out += cls;
    if (flags.Contains(ffChildPos)) Out += "[" + std::to_string(pos) + "]";
    Out += '\n';
    while (!R.EndOfList()) Property(indent + 2);
    R.ReadListEnd();
    while (!R.EndOfList()) Object(indent + 2);
    R.ReadListEnd();
    Out.append(static_cast<size_t>(indent), ' ');
    Out += "end\n";
  }

 private:
  void Property(int indent) {
    Out.append(static_cast<size_t>(indent), ' ');
    Out += Name("property name", true, false, true);
    Out += " = ";
    Value(indent, 0);
    Out += '\n';
  }

  void Value(int indent, int depth) {
    int64_t at = R.Position();
    if (depth >= kMaxDepth) R.ReadError("Values nested too deeply", at);
    TValueType t = R.NextValue();
    switch (t) {
      case vaList: {
        R.ReadValue();
        if (R.EndOfList()) {
          R.ReadListEnd();
          Out += "( )";
          return;
        }
        Out += "(\n";
        while (!R.EndOfList()) {
          Out.append(static_cast<size_t>(indent + 2), ' ');
          Value(indent + 2, depth + 1);
          Out += '\n';
        }
        R.ReadListEnd();
        Out.append(static_cast<size_t>(indent), ' ');
        Out += ')';
        return;
      }
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64:
        Out += std::to_string(R.ReadInt64());
        return;
      case vaExtended:
        Out += FormatExtended(R.ReadFloat());
        return;
      case vaSingle:
        Out += FormatExtended(R.ReadSingle()) + "s";
        return;
      case vaCurrency:
        Out += FormatCurrency(R.ReadCurrency()) + "c";
        return;
      case vaDate:
        Out += FormatExtended(R.ReadDate()) + "d";
        return;
      case vaString:
      case vaLString:
        Out += QuoteFormString(R.ReadString());
        return;
      case vaWString:
        Out += QuoteWide(R.ReadWideString());
        return;
      case vaIdent:
        R.ReadValue();
        Out += Name("identifier", true, false, false);
        return;
      case vaFalse:
      case vaTrue:
      case vaNil:
        Out += R.ReadIdent();
        return;
      case vaBinary: {
        R.ReadValue();
        uint8_t lb[4];
        int64_t lenAt = R.Position();
        R.Read(lb, 4);
        int64_t len = int64_t{lb[0]} | (int64_t{lb[1]} << 8) | (int64_t{lb[2]} << 16) |
                      (int64_t{lb[3]} << 24);
        int64_t left = R.Stream()->Size() - R.Position();
        if (len > left)
          R.ReadError("Invalid length " + std::to_string(len) + ": only " + std::to_string(left) +
                          " bytes are left in the stream",
                      lenAt);
        Out += "{\n";
        static const char hex[] = "0123456789ABCDEF";
        uint8_t chunk[32];
        for (int64_t done = 0; done < len;) {
          int64_t n = std::min<int64_t>(32, len - done);
          R.Read(chunk, n);
          Out.append(static_cast<size_t>(indent + 2), ' ');
          for (int64_t i = 0; i < n; ++i) {
            Out += hex[chunk[i] >> 4];
            Out += hex[chunk[i] & 15];
          }
          Out += '\n';
          done += n;
        }
        Out.append(static_cast<size_t>(indent), ' ');
        Out += '}';
        return;
      }
      case vaSet: {
        R.ReadValue();
        Out += '[';
        bool first = true;
        for (;;) {
          std::string m = Name("set member", true, true, false);
          if (m.empty()) break;
          if (!first) Out += ", ";
          Out += m;
          first = false;
        }
        Out += ']';
        return;
      }
      case vaCollection: {
        R.ReadValue();
        Out += '<';
        if (R.EndOfList()) {
          R.ReadListEnd();
          Out += '>';
          return;
        }
        Out += '\n';
        while (!R.EndOfList()) {
          Out.append(static_cast<size_t>(indent + 2), ' ');
          Out += "item";
          TValueType n = R.NextValue();
          if (n == vaInt8 || n == vaInt16 || n == vaInt32 || n == vaInt64)
            Out += " [" + std::to_string(R.ReadInt64()) + "]";
          Out += '\n';
          R.CheckValue(vaList);
          while (!R.EndOfList()) {
            Out.append(static_cast<size_t>(indent + 4), ' ');
            Out += Name("property name", true, false, true);
            Out += " = ";
            Value(indent + 4, depth + 1);
            Out += '\n';
          }
          R.ReadListEnd();
          Out.append(static_cast<size_t>(indent + 2), ' ');
          Out += "end";
          if (!R.EndOfList()) Out += '\n';
        }
        R.ReadListEnd();
        Out += '>';
        return;
      }
      case vaNull:
        R.ReadError("Invalid value: a value expected, vaNull found", at);
    }
  }

  TReader& R;
  std::string& Out;
};

// ---------------------------------------------------------------------------
// Text to binary

using TLineMap = std::vector<std::pair<int64_t, int>>;

class TextToBinary {
 public:
  TextToBinary(const std::string& text, TWriter& w, TLineMap* map)
      : T(text), W(w), Map(map) {}

  void Run() {
    Blanks();
    W.WriteSignature();
    Object(0);
    Blanks();
    while (P < T.size() && (T[P] == '\0' || T[P] == '\x1A')) ++P;
    if (P < T.size()) Error("the end of the text");
  }

 private:
  [[noreturn]] void Error(const std::string& expected) {
    std::string found;
    if (P >= T.size()) {
      found = "the end of the text";
    } else {
      unsigned char c = static_cast<unsigned char>(T[P]);
      if (c >= 32 && c < 127) {
        size_t e = P;
        while (e < T.size() && e - P < 20 && IsIdentChar(T[e])) ++e;
        found = "'" + (e > P ? T.substr(P, e - P) : std::string(1, T[P])) + "'";
      } else {
        found = "byte #" + std::to_string(c);
      }
    }
    size_t lineStart = T.rfind('\n', P == 0 ? 0 : P - 1);
    size_t col = lineStart == std::string::npos || P == 0 ? P + 1 : P - lineStart;
    throw EParserError(expected + " expected, " + found + " found at line " + std::to_string(Line) +
                       ", column " + std::to_string(col) + " (offset " + std::to_string(P) + ")");
  }

  static bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
  }
  static bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9') || c == '.'; }
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

  void Blanks() {
    while (P < T.size()) {
      char c = T[P];
      if (c == '\n') {
        ++Line;
      } else if (c != ' ' && c != '\t' && c != '\r' && c != '\f' && c != '\v') {
        return;
      }
      ++P;
    }
  }

  char Peek() { return P < T.size() ? T[P] : '\0'; }

  void Expect(char c, const char* what) {
    Blanks();
    if (Peek() != c) Error(what);
    ++P;
  }

  std::string Ident(const char* what) {
    Blanks();
    if (P >= T.size() || !IsIdentStart(T[P])) Error(what);
    size_t s = P;
    while (P < T.size() && IsIdentChar(T[P])) ++P;
    return T.substr(s, P - s);
  }

  // The keyword at the position, without moving, lower-cased ("" if none).
  bool AtKeyword(const char* kw) {
    Blanks();
    size_t n = std::strlen(kw);
    if (T.size() - P < n) return false;
    for (size_t i = 0; i < n; ++i)
      if ((T[P + i] | 0x20) != kw[i]) return false;
    return P + n == T.size() || !IsIdentChar(T[P + n]);
  }

  void Mark() {
    if (Map) Map->emplace_back(W.Position(), Line);
  }

  void Object(int depth) {
    if (depth >= kMaxDepth) Error("at most " + std::to_string(kMaxDepth) + " nested objects");
    Mark();
    TFilerFlags flags;
    if (AtKeyword("inherited")) {
      P += 9;
      flags.Include(ffInherited);
    } else if (AtKeyword("inline")) {
      P += 6;
      flags.Include(ffInline);
    } else if (AtKeyword("object")) {
      P += 6;
    } else {
      Error("'object', 'inherited' or 'inline'");
    }
    std::string first = Ident("a component name or class name");
    std::string name, cls;
    Blanks();
    if (Peek() == ':') {
      ++P;
      name = first;
      cls = Ident("a class name");
    } else {
      cls = first;
    }
    Blanks();
    int32_t pos = 0;
    if (Peek() == '[') {
      ++P;
      Blanks();
      int64_t v = Integer();
      if (v < INT32_MIN || v > INT32_MAX) Error("a child position in 32 bits");
      pos = static_cast<int32_t>(v);
      flags.Include(ffChildPos);
      Expect(']', "']'");
    }
    if (name.size() > 255 || cls.size() > 255) Error("a name of at most 255 characters");
    W.WritePrefix(flags, pos);
    W.WriteStr(cls);
    W.WriteStr(name);
    for (;;) {
      Blanks();
      if (AtKeyword("end") || AtKeyword("object") || AtKeyword("inherited") || AtKeyword("inline"))
        break;
      Property(depth);
    }
    W.WriteListEnd();
    while (!AtKeyword("end")) {
      if (!(AtKeyword("object") || AtKeyword("inherited") || AtKeyword("inline")))
        Error("'end' or a child object");
      Object(depth + 1);
    }
    P += 3;
    W.WriteListEnd();
  }

  void Property(int depth) {
    Mark();
    std::string name = Ident("a property name, a child object or 'end'");
    if (name.size() > 255) Error("a property name of at most 255 characters");
    W.WriteStr(name);
    Expect('=', "'='");
    Value(depth);
  }

  int64_t Integer() {
    bool neg = false;
    if (Peek() == '-') {
      neg = true;
      ++P;
    }
    uint64_t u = 0;
    if (Peek() == '$') {
      ++P;
      size_t s = P;
      while (P < T.size() && std::isxdigit(static_cast<unsigned char>(T[P]))) {
        if (P - s >= 16) Error("at most 16 hexadecimal digits");
        char c = T[P++];
        u = u * 16 + static_cast<uint64_t>(IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10);
      }
      if (P == s) Error("a hexadecimal digit");
      // Up to eight digits are the 32 bits of an integer: $FFFFFFFF is -1.
      int64_t v = P - s <= 8 ? static_cast<int32_t>(static_cast<uint32_t>(u)) : static_cast<int64_t>(u);
      return neg ? -v : v;
    }
    size_t s = P;
    while (P < T.size() && IsDigit(T[P])) {
      uint64_t d = static_cast<uint64_t>(T[P] - '0');
      if (u > (static_cast<uint64_t>(INT64_MAX) + (neg ? 1 : 0) - d) / 10)
        Error("an integer in 64 bits");
      u = u * 10 + d;
      ++P;
    }
    if (P == s) Error("a number");
    return neg ? static_cast<int64_t>(0 - u) : static_cast<int64_t>(u);
  }

  // A number: an integer, or a float with an optional s, c or d suffix.
  void Number() {
    size_t start = P;
    if (Peek() == '-') ++P;
    if (Peek() == '$') {
      P = start;
      W.WriteInteger(Integer());
      return;
    }
    if (P + 3 <= T.size() && (T.compare(P, 3, "INF") == 0 || T.compare(P, 3, "NAN") == 0)) {
      bool nan = T[P] == 'N';
      P += 3;
      long double v = nan ? NAN : INFINITY;
      WriteFloatValue(T[start] == '-' ? -v : v);
      return;
    }
    while (P < T.size() && IsDigit(T[P])) ++P;
    bool isFloat = false;
    if (Peek() == '.' && P + 1 < T.size() && IsDigit(T[P + 1])) {
      isFloat = true;
      ++P;
      while (P < T.size() && IsDigit(T[P])) ++P;
    }
    if ((Peek() == 'e' || Peek() == 'E') &&
        (P + 1 < T.size() && (IsDigit(T[P + 1]) || T[P + 1] == '+' || T[P + 1] == '-'))) {
      isFloat = true;
      ++P;
      if (Peek() == '+' || Peek() == '-') ++P;
      size_t ds = P;
      while (P < T.size() && IsDigit(T[P])) ++P;
      if (P == ds) Error("the digits of an exponent");
    }
    if (!isFloat) {
      size_t end = P;
      P = start;
      int64_t v = Integer();
      P = end;
      if (P < T.size() && IsIdentChar(T[P])) Error("the end of the number");
      W.WriteInteger(v);
      return;
    }
    std::string num = T.substr(start, P - start);
    long double v = std::strtold(num.c_str(), nullptr);
    char suffix = static_cast<char>(Peek() | 0x20);
    if ((suffix == 's' || suffix == 'c' || suffix == 'd') &&
        !(P + 1 < T.size() && IsIdentChar(T[P + 1]))) {
      ++P;
      if (suffix == 's') {
        W.WriteSingle(static_cast<float>(v));
      } else if (suffix == 'c') {
        int64_t c;
        if (!ParseCurrency(num, c)) Error("a currency value in range");
        W.WriteCurrency(c);
      } else {
        W.WriteDate(static_cast<double>(v));
      }
      return;
    }
    if (P < T.size() && IsIdentChar(T[P])) Error("the end of the number");
    WriteFloatValue(v);
  }

  void WriteFloatValue(long double v) { W.WriteFloat(v); }

  // A currency value in ten-thousandths, from its decimal digits exactly
  // (rounded half up past the fourth decimal).
  static bool ParseCurrency(const std::string& num, int64_t& out) {
    size_t i = 0;
    bool neg = false;
    if (i < num.size() && (num[i] == '-' || num[i] == '+')) neg = num[i++] == '-';
    __int128 mant = 0;
    int scale = 0;
    bool dot = false;
    const __int128 cap = static_cast<__int128>(1) << 100;
    for (; i < num.size() && num[i] != 'e' && num[i] != 'E'; ++i) {
      if (num[i] == '.') {
        dot = true;
        continue;
      }
      if (mant < cap) {
        mant = mant * 10 + (num[i] - '0');
        if (dot) --scale;
      } else if (!dot) {
        ++scale;
      }
    }
    long exp = 0;
    if (i < num.size()) exp = std::strtol(num.c_str() + i + 1, nullptr, 10);
    if (mant == 0) {
      out = 0;
      return true;
    }
    long e = static_cast<long>(scale) + std::clamp(exp, -1000L, 1000L) + 4;
    const __int128 limit = (static_cast<__int128>(1) << 63) - (neg ? 0 : 1);
    for (; e > 0; --e) {
      mant *= 10;
      if (mant > limit) return false;
    }
    bool up = false;
    for (; e < 0 && mant > 0; ++e) {
      up = mant % 10 >= 5;
      mant /= 10;
    }
    if (up) ++mant;
    if (mant > limit) return false;
    out = neg ? static_cast<int64_t>(-mant) : static_cast<int64_t>(mant);
    return true;
  }

  // One string: quoted parts and #n characters, joined across '+'. A #n above
  // 255 makes the whole string wide.
  void String() {
    size_t start = P;
    int startLine = Line;
    bool wide = false;
    std::string bytes;
    ScanString(bytes, nullptr, wide);
    if (!wide) {
      W.WriteString(bytes);
      return;
    }
    P = start;
    Line = startLine;
    std::u16string units;
    bool dummy = false;
    ScanString(bytes, &units, dummy);
    W.WriteWideString(units);
  }

  void ScanString(std::string& bytes, std::u16string* units, bool& wide) {
    bytes.clear();
    for (;;) {
      bool any = false;
      while (P < T.size() && (T[P] == '\'' || T[P] == '#')) {
        any = true;
        if (T[P] == '\'') {
          ++P;
          for (;;) {
            if (P >= T.size() || T[P] == '\n' || T[P] == '\r') Error("the closing quote of a string");
            if (T[P] == '\'') {
              if (P + 1 < T.size() && T[P + 1] == '\'') {
                P += 2;
                bytes += '\'';
                if (units) *units += u'\'';
                continue;
              }
              ++P;
              break;
            }
            bytes += T[P];
            if (units) *units += formfile::Cp1252ToUnit(static_cast<uint8_t>(T[P]));
            ++P;
          }
        } else {
          ++P;
          uint32_t v = 0;
          size_t s = P;
          if (Peek() == '$') {
            ++P;
            s = P;
            while (P < T.size() && std::isxdigit(static_cast<unsigned char>(T[P]))) {
              char c = T[P++];
              v = v * 16 + static_cast<uint32_t>(IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10);
              if (v > 0xFFFF) Error("a character code of at most 65535");
            }
          } else {
            while (P < T.size() && IsDigit(T[P])) {
              v = v * 10 + static_cast<uint32_t>(T[P++] - '0');
              if (v > 0xFFFF) Error("a character code of at most 65535");
            }
          }
          if (P == s) Error("a character code after '#'");
          if (v > 255) wide = true;
          bytes += static_cast<char>(v & 0xFF);
          if (units) *units += static_cast<char16_t>(v);
        }
      }
      if (!any) Error("a string");
      size_t save = P;
      int saveLine = Line;
      Blanks();
      if (Peek() != '+') {
        P = save;
        Line = saveLine;
        return;
      }
      ++P;
      Blanks();
      if (Peek() != '\'' && Peek() != '#') Error("a string after '+'");
    }
  }

  void Value(int depth) {
    if (depth >= kMaxDepth) Error("at most " + std::to_string(kMaxDepth) + " nested values");
    Blanks();
    char c = Peek();
    if (c == '\'' || c == '#') {
      String();
    } else if (IsDigit(c) || c == '-' || c == '$') {
      Number();
    } else if (c == '[') {
      ++P;
      W.WriteValue(vaSet);
      Blanks();
      if (Peek() != ']') {
        for (;;) {
          std::string m = Ident("a set member");
          if (m.size() > 255) Error("a set member of at most 255 characters");
          W.WriteStr(m);
          Blanks();
          if (Peek() == ']') break;
          Expect(',', "',' or ']'");
        }
      }
      ++P;
      W.WriteStr("");
    } else if (c == '(') {
      ++P;
      W.WriteListBegin();
      for (;;) {
        Blanks();
        if (Peek() == ')') break;
        if (P >= T.size()) Error("')'");
        Value(depth + 1);
      }
      ++P;
      W.WriteListEnd();
    } else if (c == '{') {
      ++P;
      std::string data;
      int hi = -1;
      for (;;) {
        Blanks();
        char h = Peek();
        if (h == '}') break;
        int d = IsDigit(h) ? h - '0' : ((h | 0x20) >= 'a' && (h | 0x20) <= 'f' ? (h | 0x20) - 'a' + 10 : -1);
        if (d < 0) Error("a hexadecimal digit or '}'");
        ++P;
        if (hi < 0) {
          hi = d;
        } else {
          data += static_cast<char>(hi * 16 + d);
          hi = -1;
        }
      }
      if (hi >= 0) Error("an even number of hexadecimal digits");
      ++P;
      W.WriteValue(vaBinary);
      uint8_t lb[4];
      for (int i = 0; i < 4; ++i) lb[i] = static_cast<uint8_t>(data.size() >> (8 * i));
      W.Write(lb, 4);
      W.Write(data.data(), static_cast<int64_t>(data.size()));
    } else if (c == '<') {
      ++P;
      W.WriteValue(vaCollection);
      for (;;) {
        Blanks();
        if (Peek() == '>') break;
        if (!AtKeyword("item")) Error("'item' or '>'");
        P += 4;
        Blanks();
        if (Peek() == '[') {
          ++P;
          Blanks();
          W.WriteInteger(Integer());
          Expect(']', "']'");
        }
        W.WriteListBegin();
        while (!AtKeyword("end")) Property(depth + 1);
        P += 3;
        W.WriteListEnd();
      }
      ++P;
      W.WriteListEnd();
    } else if (IsIdentStart(c)) {
      if (P + 3 <= T.size() && (T.compare(P, 3, "INF") == 0 || T.compare(P, 3, "NAN") == 0) &&
          (P + 3 == T.size() || !IsIdentChar(T[P + 3]))) {
        Number();
        return;
      }
      std::string id = Ident("a value");
      if (SameText(id, "True"))
        W.WriteValue(vaTrue);
      else if (SameText(id, "False"))
        W.WriteValue(vaFalse);
      else if (SameText(id, "nil"))
        W.WriteValue(vaNil);
      else {
        if (id.size() > 255) Error("an identifier of at most 255 characters");
        W.WriteValue(vaIdent);
        W.WriteStr(id);
      }
    } else {
      Error("a value");
    }
  }

  const std::string& T;
  TWriter& W;
  TLineMap* Map;
  size_t P = 0;
  int Line = 1;
};

std::string ReadRest(TStream* input) {
  int64_t pos = input->Position();
  int64_t size = input->Size();
  std::string text(static_cast<size_t>(std::max<int64_t>(size - pos, 0)), '\0');
  if (!text.empty()) input->ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
  return text;
}

void TextToBinaryMapped(TStream* input, TStream* output, TLineMap* map) {
  std::string text = ReadRest(input);
  TWriter w(output, 65536);
  TextToBinary(text, w, map).Run();
  w.FlushBuffer();
}

}  // namespace

void ObjectBinaryToText(TStream* input, TStream* output) {
  std::string out;
  {
    TReader r(input, 65536);
    r.ReadSignature();
    BinaryToText conv(r, out);
    conv.Object(0);
  }
  output->WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

void ObjectTextToBinary(TStream* input, TStream* output) {
  TextToBinaryMapped(input, output, nullptr);
}

TStreamOriginalFormat TestStreamFormat(TStream* stream) {
  int64_t pos = stream->Position();
  char buf[512];
  int64_t n = stream->Read(buf, sizeof buf);
  stream->SetPosition(pos);
  if (n >= 4 && std::memcmp(buf, "TPF0", 4) == 0) return sofBinary;
  int64_t i = 0;
  if (n >= 3 && std::memcmp(buf, "\xEF\xBB\xBF", 3) == 0) i = 3;
  while (i < n && (buf[i] == ' ' || buf[i] == '\t' || buf[i] == '\r' || buf[i] == '\n')) ++i;
  for (const char* kw : {"object", "inherited", "inline"}) {
    int64_t k = static_cast<int64_t>(std::strlen(kw));
    if (n - i > k) {
      bool match = true;
      for (int64_t j = 0; j < k; ++j)
        if ((buf[i + j] | 0x20) != kw[j]) match = false;
      char after = buf[i + k];
      if (match && (after == ' ' || after == '\t' || after == '\r' || after == '\n')) return sofText;
    }
  }
  return sofUnknown;
}

namespace {

// Reads a form from a stream in either format into root (created when null).
TComponent* ReadForm(TStream* stream, TComponent* root, TComponent* owner) {
  switch (TestStreamFormat(stream)) {
    case sofBinary: {
      TReader reader(stream, 65536);
      return reader.ReadRootComponent(root, owner);
    }
    case sofText: {
      TMemoryStream binary;
      TLineMap lines;
      TextToBinaryMapped(stream, &binary, &lines);
      binary.SetPosition(0);
      TReader reader(&binary, 65536);
      // Errors name the line of the text rather than an offset in the
      // converted stream.
      reader.DescribeOffset = [&lines](int64_t offset) {
        auto it = std::upper_bound(lines.begin(), lines.end(), std::make_pair(offset, INT32_MAX));
        if (it == lines.begin()) return std::string("line 1");
        return "line " + std::to_string(std::prev(it)->second);
      };
      return reader.ReadRootComponent(root, owner);
    }
    default:
      throw EReadError("Illegal stream image: neither the signature TPF0 nor a text form "
                       "(object, inherited or inline) at offset " +
                       std::to_string(stream->Position()));
  }
}

}  // namespace

TComponent* ReadFormStream(TStream* stream, TComponent* owner) {
  return ReadForm(stream, nullptr, owner);
}

void ReadFormStreamInto(TStream* stream, TComponent* root) { ReadForm(stream, root, nullptr); }

TComponent* ReadFormFile(const std::string& fileName, TComponent* owner) {
  TMemoryStream data;
  data.LoadFromFile(fileName);
  try {
    return ReadFormStream(&data, owner);
  } catch (EFilerError& e) {
    e.SetMessage(fileName + ": " + e.Message());
    throw;
  }
}

void WriteFormStream(TStream* stream, TComponent* root, TStreamOriginalFormat format) {
  if (format != sofText) {
    TWriter writer(stream, 65536);
    writer.WriteRootComponent(root);
    return;
  }
  TMemoryStream binary;
  {
    TWriter writer(&binary, 65536);
    writer.WriteRootComponent(root);
  }
  binary.SetPosition(0);
  ObjectBinaryToText(&binary, stream);
}

void WriteFormFile(const std::string& fileName, TComponent* root, TStreamOriginalFormat format) {
  TMemoryStream data;
  WriteFormStream(&data, root, format);
  ReplaceFileContent(fileName, data.DataString());
}
