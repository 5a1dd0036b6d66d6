// Cursors: loaded from a module's RT_GROUP_CURSOR and RT_CURSOR resources
// (the directory picks the image, the image carries the hot spot and the
// AND and XOR masks of a 32 x 32 monochrome bitmap), the system's standard
// cursors, and the cursor shown on the screen.
#include <vcl/Windows.h>

#include <cstring>
#include <unordered_map>

#include "os/state.h"

using namespace os;

namespace {

constexpr int kSize = 32;

struct Cursor {
  std::string name;
  CursorPicture picture;
  bool system = false;
  HRSRC group = nullptr;  // the resource it was loaded from, for sharing
};

// Cursors outlive ResetWindowSystem: the library holds them for the whole
// program (Screen.Cursors).
std::unordered_map<uintptr_t, Cursor>& Cursors() {
  static auto* cursors = new std::unordered_map<uintptr_t, Cursor>;
  return *cursors;
}

Cursor* FindCursor(HCURSOR h) {
  auto& cursors = Cursors();
  auto it = cursors.find(Key(h));
  return h && it != cursors.end() ? &it->second : nullptr;
}

// Little-endian reads from a resource that has been checked to be long
// enough.
WORD Word(const unsigned char* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }
DWORD Dword(const unsigned char* p) {
  return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) |
         (static_cast<DWORD>(p[2]) << 16) | (static_cast<DWORD>(p[3]) << 24);
}
int32_t Long(const unsigned char* p) { return static_cast<int32_t>(Dword(p)); }

struct Bytes {
  const unsigned char* data = nullptr;
  DWORD size = 0;
};

Bytes ResourceBytes(HMODULE module, const char* name, const char* type) {
  const HRSRC res = FindResource(module, name, type);
  if (!res) return {};
  return Bytes{static_cast<const unsigned char*>(LockResource(LoadResource(module, res))),
               SizeofResource(module, res)};
}

// The id of the 32 x 32 image in a cursor directory (NEWHEADER, then
// 14-byte entries: width, height (twice the image's: both masks), planes,
// bit count, byte size, image id), or 0.
WORD ImageIdFromDirectory(const Bytes& dir) {
  if (dir.size < 6 || Word(dir.data) != 0 || Word(dir.data + 2) != 2) return 0;
  const WORD count = Word(dir.data + 4);
  for (WORD i = 0; i < count; ++i) {
    const size_t at = 6 + size_t{i} * 14;
    if (at + 14 > dir.size) return 0;
    const unsigned char* e = dir.data + at;
    if (Word(e) == kSize && Word(e + 2) == 2 * kSize) return Word(e + 12);
  }
  return 0;
}

// Reads a cursor image: the hot spot (two words), a BITMAPINFOHEADER of a
// 32 x 64, 1-bit bitmap, two palette entries, then the XOR and the AND
// masks, each 32 rows of 4 bytes from the bottom row up.
bool ParseImage(const Bytes& img, CursorPicture* out) {
  constexpr DWORD kHeader = 40;
  constexpr DWORD kMask = kSize * kSize / 8;
  constexpr DWORD kTotal = 4 + kHeader + 8 + 2 * kMask;
  if (!img.data || img.size < kTotal) return false;
  const unsigned char* bih = img.data + 4;
  if (Dword(bih) != kHeader || Long(bih + 4) != kSize || Long(bih + 8) != 2 * kSize ||
      Word(bih + 12) != 1 || Word(bih + 14) != 1 || Dword(bih + 16) != 0)
    return false;
  const unsigned char* palette = bih + kHeader;
  auto bright = [](const unsigned char* q) { return q[0] + q[1] + q[2] > 3 * 127; };
  const bool oneIsWhite = bright(palette + 4);
  const bool zeroIsWhite = bright(palette);
  const unsigned char* xorMask = palette + 8;
  const unsigned char* andMask = xorMask + kMask;
  out->hotSpot = TPoint{Word(img.data), Word(img.data + 2)};
  for (int y = 0; y < kSize; ++y) {
    const int stored = kSize - 1 - y;  // bottom-up rows
    for (int x = 0; x < kSize; ++x) {
      const int byte = stored * 4 + x / 8;
      const int bit = 7 - x % 8;
      const bool a = (andMask[byte] >> bit) & 1;
      const bool c = (xorMask[byte] >> bit) & 1;
      CursorPixel p;
      if (a)
        p = c ? CursorPixel::Inverted : CursorPixel::Transparent;
      else
        p = (c ? oneIsWhite : zeroIsWhite) ? CursorPixel::White : CursorPixel::Black;
      out->pixels[y][x] = p;
    }
  }
  out->valid = true;
  return true;
}

bool LoadPicture(HMODULE module, const char* name, CursorPicture* out) {
  const WORD id = ImageIdFromDirectory(ResourceBytes(module, name, RT_GROUP_CURSOR));
  if (!id) return false;
  return ParseImage(ResourceBytes(module, MAKEINTRESOURCE(id), RT_CURSOR), out);
}

std::string DisplayName(const char* name) {
  if (IS_INTRESOURCE(name)) {
    std::string s = std::to_string(reinterpret_cast<uintptr_t>(name));
    s.insert(s.begin(), '#');
    return s;
  }
  return name;
}

// The system's standard cursors: their IDC id, name and the resource of the
// system module ("user32", linked into the library) with their picture.
struct SystemCursor {
  WORD id;
  const char* name;
  WORD sameAs;  // an alias of another id, or 0
};
const SystemCursor kSystemCursors[] = {
    {32512, "IDC_ARROW", 0},    {32513, "IDC_IBEAM", 0},       {32514, "IDC_WAIT", 0},
    {32515, "IDC_CROSS", 0},    {32516, "IDC_UPARROW", 0},     {32640, "IDC_SIZE", 32646},
    {32641, "IDC_ICON", 32512}, {32642, "IDC_SIZENWSE", 0},    {32643, "IDC_SIZENESW", 0},
    {32644, "IDC_SIZEWE", 0},   {32645, "IDC_SIZENS", 0},      {32646, "IDC_SIZEALL", 0},
    {32648, "IDC_NO", 0},       {32649, "IDC_HAND", 0},        {32650, "IDC_APPSTARTING", 0},
    {32651, "IDC_HELP", 0},
};

HCURSOR SystemCursorHandle(WORD id) {
  static std::unordered_map<WORD, HCURSOR>* handles = new std::unordered_map<WORD, HCURSOR>;
  for (const SystemCursor& sc : kSystemCursors) {
    if (sc.id != id) continue;
    if (sc.sameAs) return SystemCursorHandle(sc.sameAs);
    auto it = handles->find(id);
    if (it != handles->end()) return it->second;
    Cursor c;
    c.name = sc.name;
    c.system = true;
    LoadPicture(os::ModuleHandle("user32"), MAKEINTRESOURCE(id), &c.picture);
    const auto h = NewHandle<HCURSOR>();
    Cursors().emplace(Key(h), std::move(c));
    handles->emplace(id, h);
    return h;
  }
  return nullptr;
}

}  // namespace

HCURSOR LoadCursor(HINSTANCE instance, const char* name) {
  if (!name) return nullptr;
  if (!instance) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    return SystemCursorHandle(static_cast<WORD>(reinterpret_cast<uintptr_t>(name)));
  }
  const HRSRC group = FindResource(instance, name, RT_GROUP_CURSOR);
  if (!group) return nullptr;
  for (auto& [key, c] : Cursors())
    if (c.group == group) return reinterpret_cast<HCURSOR>(key);
  Cursor c;
  if (!LoadPicture(instance, name, &c.picture)) return nullptr;
  c.name = DisplayName(name);
  c.group = group;
  const auto h = NewHandle<HCURSOR>();
  Cursors().emplace(Key(h), std::move(c));
  return h;
}

BOOL DestroyCursor(HCURSOR cursor) {
  Cursor* c = FindCursor(cursor);
  if (!c) return FALSE;
  if (c->system) return TRUE;
  Cursors().erase(Key(cursor));
  State& s = S();
  if (s.cursor == cursor) s.cursor = nullptr;
  return TRUE;
}

HCURSOR SetCursor(HCURSOR cursor) {
  State& s = S();
  const HCURSOR previous = s.cursor;
  s.cursor = cursor;
  return previous;
}

HCURSOR GetCursor() { return S().cursor; }

namespace os {

std::string CursorPicture::Row(int y) const {
  std::string row(kSize, '.');
  if (y < 0 || y >= kSize) return "";
  for (int x = 0; x < kSize; ++x) {
    switch (pixels[y][x]) {
      case CursorPixel::Transparent:
        break;
      case CursorPixel::Black:
        row[static_cast<size_t>(x)] = 'X';
        break;
      case CursorPixel::White:
        row[static_cast<size_t>(x)] = 'o';
        break;
      case CursorPixel::Inverted:
        row[static_cast<size_t>(x)] = '~';
        break;
    }
  }
  return row;
}

CursorPicture CursorImage(HCURSOR cursor) {
  const Cursor* c = FindCursor(cursor);
  return c ? c->picture : CursorPicture{};
}

std::string CursorName(HCURSOR cursor) {
  const Cursor* c = FindCursor(cursor);
  return c ? c->name : std::string();
}

}  // namespace os
