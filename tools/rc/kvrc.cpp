// kvrc: the resource compiler. Reads a resource script and the files it
// names and writes a C++ source holding the module's resource table, which
// registers itself at start-up (see resources/README.md for the formats).
//
//   kvrc --module NAME --instance FUNCTION [--depfile FILE] -o OUT.cpp SCRIPT.rc
//
// A script line is   NAME TYPE FILE   (FILE relative to the script):
//   TYPE CURSOR   a cursor picture in text form (RT_GROUP_CURSOR + RT_CURSOR)
//   TYPE BITMAP   a bitmap, as text or as a .bmp file (RT_BITMAP)
//   TYPE RCDATA   the file's bytes (RT_RCDATA); VERSIONINFO likewise (RT_VERSION)
//   any other TYPE word: a resource of that string type with the file's bytes
// NAME is a number (an id) or a word (kept in upper case, as names match
// ignoring case anyway). '#' or '//' starts a comment, also after a line's
// words.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

struct Error : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const std::string& where, int line, const std::string& what) {
  throw Error(where + ":" + std::to_string(line) + ": " + what);
}

void PutWord(Bytes& b, uint32_t v) {
  b.push_back(static_cast<unsigned char>(v & 0xFF));
  b.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}
void PutDword(Bytes& b, uint32_t v) {
  PutWord(b, v & 0xFFFF);
  PutWord(b, v >> 16);
}

std::string Trim(const std::string& s) {
  size_t a = 0, e = s.size();
  while (a < e && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (e > a && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(a, e - a);
}

bool IsComment(const std::string& t) {
  return t.empty() || t[0] == '#' || t.rfind("//", 0) == 0;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool IsNumber(const std::string& s) {
  if (s.empty() || s.size() > 5) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return std::stoul(s) <= 0xFFFF;
}

Bytes ReadFile(const std::string& path, const std::string& where, int line) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail(where, line, "cannot read " + path);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Lines(const Bytes& data) {
  std::vector<std::string> out;
  std::string cur;
  for (unsigned char c : data) {
    if (c == '\n') {
      out.push_back(cur);
      cur.clear();
    } else if (c != '\r') {
      cur.push_back(static_cast<char>(c));
    }
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}

// ---------------------------------------------------------------------------
// Cursors: "hotspot X Y", then 32 rows of 32 characters.

constexpr int kCursorSize = 32;

struct CursorImage {
  int hotX = 0;
  int hotY = 0;
  std::vector<std::string> rows;
};

CursorImage ReadCursor(const std::string& path) {
  const std::vector<std::string> lines = Lines(ReadFile(path, path, 0));
  CursorImage img;
  bool haveHotSpot = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const int lineNo = static_cast<int>(i + 1);
    const std::string t = Trim(lines[i]);
    if (img.rows.empty() && IsComment(t)) continue;
    if (!haveHotSpot) {
      std::istringstream in(t);
      std::string word;
      int x = -1, y = -1;
      std::string rest;
      if (!(in >> word >> x >> y) || word != "hotspot" || (in >> rest))
        Fail(path, lineNo, "expected 'hotspot X Y'");
      if (x < 0 || x >= kCursorSize || y < 0 || y >= kCursorSize)
        Fail(path, lineNo, "the hot spot lies outside the 32 x 32 picture");
      img.hotX = x;
      img.hotY = y;
      haveHotSpot = true;
      continue;
    }
    if (t.empty() && img.rows.size() == kCursorSize) continue;
    if (t.size() != kCursorSize) Fail(path, lineNo, "a picture row has 32 characters");
    for (char c : t)
      if (c != '.' && c != 'X' && c != 'o' && c != '~')
        Fail(path, lineNo, std::string("unknown pixel '") + c + "' (use . X o ~)");
    if (img.rows.size() == kCursorSize) Fail(path, lineNo, "more than 32 picture rows");
    img.rows.push_back(t);
  }
  if (!haveHotSpot) Fail(path, 1, "no 'hotspot X Y' line");
  if (img.rows.size() != kCursorSize)
    Fail(path, static_cast<int>(lines.size()), "the picture needs 32 rows");
  return img;
}

// The RT_CURSOR data: hot spot, BITMAPINFOHEADER of the doubled height,
// a black and white palette, the XOR mask and the AND mask (bottom-up rows).
Bytes CursorData(const CursorImage& img) {
  Bytes b;
  PutWord(b, static_cast<uint32_t>(img.hotX));
  PutWord(b, static_cast<uint32_t>(img.hotY));
  PutDword(b, 40);
  PutDword(b, kCursorSize);
  PutDword(b, 2 * kCursorSize);
  PutWord(b, 1);
  PutWord(b, 1);
  for (int i = 0; i < 6; ++i) PutDword(b, 0);  // compression, sizes, resolution, colours
  PutDword(b, 0x00000000);  // palette: black
  PutDword(b, 0x00FFFFFF);  //          white
  Bytes xorMask, andMask;
  for (int y = kCursorSize - 1; y >= 0; --y) {
    for (int byte = 0; byte < kCursorSize / 8; ++byte) {
      unsigned char x = 0, a = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const char c = img.rows[static_cast<size_t>(y)][static_cast<size_t>(byte * 8 + bit)];
        const bool andBit = c == '.' || c == '~';
        const bool xorBit = c == 'o' || c == '~';
        if (andBit) a = static_cast<unsigned char>(a | (0x80 >> bit));
        if (xorBit) x = static_cast<unsigned char>(x | (0x80 >> bit));
      }
      xorMask.push_back(x);
      andMask.push_back(a);
    }
  }
  b.insert(b.end(), xorMask.begin(), xorMask.end());
  b.insert(b.end(), andMask.begin(), andMask.end());
  return b;
}

// The RT_GROUP_CURSOR directory with its one image.
Bytes CursorGroup(uint16_t imageId, size_t imageSize) {
  Bytes b;
  PutWord(b, 0);  // reserved
  PutWord(b, 2);  // cursors
  PutWord(b, 1);  // one image
  PutWord(b, kCursorSize);
  PutWord(b, 2 * kCursorSize);
  PutWord(b, 1);  // planes
  PutWord(b, 1);  // bits per pixel
  PutDword(b, static_cast<uint32_t>(imageSize));
  PutWord(b, imageId);
  return b;
}

// ---------------------------------------------------------------------------
// Bitmaps: a .bmp file loses its file header; a text bitmap is
//   size W H
//   colour C RRGGBB      (one line per character used)
//   H rows of W characters
// and becomes a 24-bit bottom-up DIB.

Bytes BitmapFromBmp(const Bytes& file, const std::string& path) {
  if (file.size() < 14 + 40 || file[0] != 'B' || file[1] != 'M')
    Fail(path, 1, "not a BMP file");
  return Bytes(file.begin() + 14, file.end());
}

Bytes BitmapFromText(const Bytes& file, const std::string& path) {
  const std::vector<std::string> lines = Lines(file);
  int w = 0, h = 0;
  std::map<char, uint32_t> colours;
  std::vector<std::string> rows;
  for (size_t i = 0; i < lines.size(); ++i) {
    const int lineNo = static_cast<int>(i + 1);
    const std::string t = Trim(lines[i]);
    if (rows.empty() && IsComment(t)) continue;
    std::istringstream in(t);
    std::string word;
    in >> word;
    if (rows.empty() && word == "size") {
      if (!(in >> w >> h) || w <= 0 || h <= 0 || w > 4096 || h > 4096)
        Fail(path, lineNo, "expected 'size W H' (1 to 4096)");
      continue;
    }
    if (rows.empty() && (word == "colour" || word == "color")) {
      std::string c, hex;
      if (!(in >> c >> hex) || c.size() != 1 || hex.size() != 6 ||
          hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        Fail(path, lineNo, "expected 'colour C RRGGBB'");
      colours[c[0]] = static_cast<uint32_t>(std::stoul(hex, nullptr, 16));
      continue;
    }
    if (w == 0) Fail(path, lineNo, "'size W H' comes first");
    if (static_cast<int>(t.size()) != w)
      Fail(path, lineNo, "a row has " + std::to_string(w) + " characters");
    for (char c : t)
      if (!colours.count(c)) Fail(path, lineNo, std::string("no colour for '") + c + "'");
    if (static_cast<int>(rows.size()) == h) Fail(path, lineNo, "more rows than the size says");
    rows.push_back(t);
  }
  if (w == 0 || static_cast<int>(rows.size()) != h)
    Fail(path, static_cast<int>(lines.size()), "the picture needs as many rows as its height");
  Bytes b;
  const uint32_t stride = (static_cast<uint32_t>(w) * 3 + 3) & ~3u;
  PutDword(b, 40);
  PutDword(b, static_cast<uint32_t>(w));
  PutDword(b, static_cast<uint32_t>(h));
  PutWord(b, 1);
  PutWord(b, 24);
  PutDword(b, 0);
  PutDword(b, stride * static_cast<uint32_t>(h));
  for (int i = 0; i < 4; ++i) PutDword(b, 0);
  for (int y = h - 1; y >= 0; --y) {
    const size_t start = b.size();
    for (char c : rows[static_cast<size_t>(y)]) {
      const uint32_t rgb = colours[c];
      b.push_back(static_cast<unsigned char>(rgb & 0xFF));          // blue
      b.push_back(static_cast<unsigned char>((rgb >> 8) & 0xFF));   // green
      b.push_back(static_cast<unsigned char>((rgb >> 16) & 0xFF));  // red
    }
    while (b.size() - start < stride) b.push_back(0);
  }
  return b;
}

// ---------------------------------------------------------------------------
// The script and the output

struct Resource {
  uint16_t typeId = 0;
  std::string typeName;  // empty for an id
  uint16_t nameId = 0;
  std::string name;  // empty for an id
  Bytes data;
};

struct Script {
  std::vector<Resource> resources;
  std::vector<std::string> inputs;
};

std::string DirOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// Splits a script line into words up to a comment; a word may be quoted
// to hold spaces.
std::vector<std::string> Words(const std::string& line, const std::string& where, int lineNo) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < line.size()) {
    if (std::isspace(static_cast<unsigned char>(line[i]))) {
      ++i;
      continue;
    }
    if (line[i] == '#' || line.compare(i, 2, "//") == 0) break;  // a comment ends the line
    std::string w;
    if (line[i] == '"') {
      const size_t end = line.find('"', i + 1);
      if (end == std::string::npos) Fail(where, lineNo, "unterminated quote");
      w = line.substr(i + 1, end - i - 1);
      i = end + 1;
    } else {
      while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) w += line[i++];
    }
    out.push_back(w);
  }
  return out;
}

Script ReadScript(const std::string& path) {
  Script script;
  script.inputs.push_back(path);
  const std::vector<std::string> lines = Lines(ReadFile(path, path, 0));
  const std::string dir = DirOf(path);
  uint16_t nextImageId = 1;
  std::map<std::string, int> seen;
  for (size_t i = 0; i < lines.size(); ++i) {
    const int lineNo = static_cast<int>(i + 1);
    const std::string t = Trim(lines[i]);
    if (IsComment(t)) continue;
    const std::vector<std::string> w = Words(t, path, lineNo);
    if (w.size() != 3) Fail(path, lineNo, "expected 'NAME TYPE FILE'");
    const std::string type = Upper(w[1]);
    const std::string file = w[2].size() && w[2][0] == '/' ? w[2] : dir + "/" + w[2];
    script.inputs.push_back(file);

    Resource r;
    if (IsNumber(w[0]))
      r.nameId = static_cast<uint16_t>(std::stoul(w[0]));
    else
      r.name = Upper(w[0]);
    const std::string key = type + " " + (r.name.empty() ? "#" + w[0] : r.name);
    if (seen.count(key))
      Fail(path, lineNo, "the " + key + " resource was defined on line " +
                             std::to_string(seen[key]));
    seen[key] = lineNo;

    if (type == "CURSOR") {
      Resource image;
      image.typeId = 1;  // RT_CURSOR
      image.nameId = nextImageId++;
      image.data = CursorData(ReadCursor(file));
      r.typeId = 12;  // RT_GROUP_CURSOR
      r.data = CursorGroup(image.nameId, image.data.size());
      script.resources.push_back(std::move(image));
    } else if (type == "BITMAP") {
      r.typeId = 2;
      const Bytes bytes = ReadFile(file, path, lineNo);
      const bool bmp = file.size() >= 4 && Upper(file.substr(file.size() - 4)) == ".BMP";
      r.data = bmp ? BitmapFromBmp(bytes, file) : BitmapFromText(bytes, file);
    } else if (type == "RCDATA") {
      r.typeId = 10;
      r.data = ReadFile(file, path, lineNo);
    } else if (type == "VERSIONINFO") {
      r.typeId = 16;
      r.data = ReadFile(file, path, lineNo);
    } else {
      r.typeName = type;
      r.data = ReadFile(file, path, lineNo);
    }
    script.resources.push_back(std::move(r));
  }
  return script;
}

std::string CString(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

bool IsIdentifier(const std::string& s) {
  if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0]))) return false;
  for (char c : s)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  return true;
}

std::string Generate(const Script& script, const std::string& module, const std::string& instance,
                     const std::string& scriptName) {
  std::ostringstream out;
  out << "// Generated by kvrc from " << scriptName << "; edit the sources, not this file.\n"
      << "#include <vcl/Windows.h>\n\n"
      << "namespace {\n\n";
  for (size_t i = 0; i < script.resources.size(); ++i) {
    const Bytes& d = script.resources[i].data;
    out << "const unsigned char kData" << i << "[] = {";
    for (size_t j = 0; j < d.size(); ++j) {
      if (j % 16 == 0) out << "\n   ";
      out << " " << static_cast<int>(d[j]) << ",";
    }
    if (d.empty()) out << "0";
    out << "\n};\n";
  }
  out << "\nconst os::ResourceEntry kTable[] = {\n";
  for (size_t i = 0; i < script.resources.size(); ++i) {
    const Resource& r = script.resources[i];
    out << "    {" << r.typeId << ", " << (r.typeName.empty() ? "nullptr" : CString(r.typeName))
        << ", " << r.nameId << ", " << (r.name.empty() ? "nullptr" : CString(r.name)) << ", kData"
        << i << ", " << r.data.size() << "},\n";
  }
  if (script.resources.empty()) out << "    {0, nullptr, 0, nullptr, nullptr, 0},\n";
  out << "};\n\n}  // namespace\n\n"
      << "// The module's instance handle; the first call registers the table.\n"
      << "HINSTANCE " << instance << "() {\n"
      << "  static const HINSTANCE instance = os::RegisterModule(" << CString(module)
      << ", kTable, " << script.resources.size() << ");\n"
      << "  return instance;\n}\n\n"
      << "namespace {\n"
      << "// Registers at start-up, so that os::ModuleHandle finds the module too.\n"
      << "[[maybe_unused]] const HINSTANCE registered = " << instance << "();\n"
      << "}  // namespace\n";
  return out.str();
}

int Usage() {
  std::cerr << "usage: kvrc --module NAME --instance FUNCTION [--depfile FILE] -o OUT.cpp "
               "SCRIPT.rc\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string module, instance, depfile, output, script;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&](std::string& to) {
      if (i + 1 >= argc) return false;
      to = argv[++i];
      return true;
    };
    bool ok = true;
    if (a == "--module")
      ok = next(module);
    else if (a == "--instance")
      ok = next(instance);
    else if (a == "--depfile")
      ok = next(depfile);
    else if (a == "-o")
      ok = next(output);
    else if (script.empty() && !a.empty() && a[0] != '-')
      script = a;
    else
      ok = false;
    if (!ok) return Usage();
  }
  if (module.empty() || output.empty() || script.empty() || !IsIdentifier(instance))
    return Usage();
  try {
    const Script s = ReadScript(script);
    const std::string code = Generate(s, module, instance, script.substr(script.find_last_of('/') + 1));
    {
      std::ofstream out(output, std::ios::binary);
      out << code;
      if (!out) throw Error("cannot write " + output);
    }
    if (!depfile.empty()) {
      std::ofstream dep(depfile);
      dep << output << ":";
      for (const std::string& in : s.inputs) {
        std::string escaped;
        for (char c : in) escaped += c == ' ' ? std::string("\\ ") : std::string(1, c);
        dep << " \\\n  " << escaped;
      }
      dep << "\n";
      if (!dep) throw Error("cannot write " + depfile);
    }
  } catch (const Error& e) {
    std::cerr << "kvrc: " << e.what() << "\n";
    std::remove(output.c_str());
    return 1;
  }
  return 0;
}
