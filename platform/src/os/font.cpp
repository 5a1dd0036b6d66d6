// Fonts: the system's face names mapped onto the DejaVu outline faces,
// rasterised with FreeType into 8-bit coverage and cached by face, size and
// character.
#include "os/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>

namespace os {

namespace {

constexpr const char* kFontDir = "/usr/share/fonts/truetype/dejavu/";
constexpr int32_t kDefaultPixelSize = 11;
constexpr int32_t kMaxPixelSize = 512;
constexpr size_t kCacheLimit = 24;  // sized faces kept

// The files of each family, by style: regular, bold, italic, bold italic.
constexpr const char* kFiles[3][4] = {
    {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSans-Oblique.ttf",
     "DejaVuSans-BoldOblique.ttf"},
    {"DejaVuSerif.ttf", "DejaVuSerif-Bold.ttf", "DejaVuSerif-Italic.ttf",
     "DejaVuSerif-BoldItalic.ttf"},
    {"DejaVuSansMono.ttf", "DejaVuSansMono-Bold.ttf", "DejaVuSansMono-Oblique.ttf",
     "DejaVuSansMono-BoldOblique.ttf"},
};

struct FaceName {
  const char* name;
  FontFamily family;
};

// The platform's face names and the family that stands in for each.
constexpr FaceName kFaceNames[] = {
    {"MS Sans Serif", FontFamily::Sans},
    {"Arial", FontFamily::Sans},
    {"Small Fonts", FontFamily::Sans},
    {"System", FontFamily::Sans},
    {"MS Shell Dlg", FontFamily::Sans},
    {"MS Shell Dlg 2", FontFamily::Sans},
    {"Tahoma", FontFamily::Sans},
    {"Verdana", FontFamily::Sans},
    {"Helvetica", FontFamily::Sans},
    {"Arial Narrow", FontFamily::Sans},
    {"Segoe UI", FontFamily::Sans},
    {"DejaVu Sans", FontFamily::Sans},
    {"Times New Roman", FontFamily::Serif},
    {"MS Serif", FontFamily::Serif},
    {"Times", FontFamily::Serif},
    {"Roman", FontFamily::Serif},
    {"Georgia", FontFamily::Serif},
    {"Book Antiqua", FontFamily::Serif},
    {"DejaVu Serif", FontFamily::Serif},
    {"Courier New", FontFamily::Mono},
    {"Courier", FontFamily::Mono},
    {"Fixedsys", FontFamily::Mono},
    {"Terminal", FontFamily::Mono},
    {"Lucida Console", FontFamily::Mono},
    {"Consolas", FontFamily::Mono},
    {"DejaVu Sans Mono", FontFamily::Mono},
};

// Code page 1252 bytes 0x80..0x9F; the five bytes the code page leaves
// undefined keep their Latin-1 (control) values.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool SameName(const char* a, size_t length, const char* b) {
  if (std::strlen(b) != length) return false;
  for (size_t i = 0; i < length; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y && !(x < 128 && y < 128 && std::tolower(x) == std::tolower(y))) return false;
  }
  return true;
}

int64_t RoundDiv(int64_t num, int64_t den) {
  // den > 0; rounds half away from zero.
  return num >= 0 ? (num * 2 + den) / (den * 2) : -((-num * 2 + den) / (den * 2));
}

FT_Library Library() {
  // Created once and kept for the program's life, like the window system's
  // state: glyphs may still be drawn while the program exits.
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
    return lib;
  }();
  return library;
}

// Opens the face of a family and style, falling back to the family's
// regular face and then to the regular sans face when a file is missing.
FT_Face OpenFace(FontFamily family, bool bold, bool italic) {
  FT_Library lib = Library();
  if (!lib) return nullptr;
  const int f = static_cast<int>(family);
  const int style = (bold ? 1 : 0) + (italic ? 2 : 0);
  for (const char* file : {kFiles[f][style], kFiles[f][0], kFiles[0][0]}) {
    FT_Face face = nullptr;
    const std::string path = std::string(kFontDir) + file;
    if (FT_New_Face(lib, path.c_str(), 0, &face) == 0) {
      if (FT_IS_SCALABLE(face)) return face;
      FT_Done_Face(face);
    }
  }
  return nullptr;
}

// The design metrics that map a cell height to an em height.
struct CellRatio {
  int64_t unitsPerEm = 2048;
  int64_t winAscent = 1901;
  int64_t winDescent = 483;
};

CellRatio CellRatioOf(FT_Face face) {
  CellRatio r;
  r.unitsPerEm = std::max<int64_t>(face->units_per_EM, 1);
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
    r.winAscent = os2->usWinAscent;
    r.winDescent = os2->usWinDescent;
  } else {
    r.winAscent = std::max<int64_t>(face->ascender, 0);
    r.winDescent = std::max<int64_t>(-int64_t{face->descender}, 0);
  }
  if (r.winAscent + r.winDescent <= 0) r.winAscent = r.unitsPerEm;
  return r;
}

int64_t CellHeight(const CellRatio& r, int64_t ppem) {
  return RoundDiv(r.winAscent * ppem, r.unitsPerEm) + RoundDiv(r.winDescent * ppem, r.unitsPerEm);
}

// The largest em height whose cell fits the asked cell height.
int32_t PixelSizeForCell(FontFamily family, bool bold, bool italic, int64_t cell) {
  CellRatio r;
  if (FT_Face face = OpenFace(family, bold, italic)) {
    r = CellRatioOf(face);
    FT_Done_Face(face);
  }
  int64_t ppem = std::clamp<int64_t>(RoundDiv(cell * r.unitsPerEm, r.winAscent + r.winDescent), 1,
                                     kMaxPixelSize);
  while (ppem > 1 && CellHeight(r, ppem) > cell) --ppem;
  while (ppem < kMaxPixelSize && CellHeight(r, ppem + 1) <= cell) ++ppem;
  return static_cast<int32_t>(ppem);
}

class FreeTypeFace final : public SizedFace {
 public:
  FreeTypeFace(FT_Face face, int32_t ppem) : face_(face) {
    FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(ppem));
    for (int ch = 0; ch < 256; ++ch) {
      indexes_[ch] = FT_Get_Char_Index(face_, CodePointOf(static_cast<uint8_t>(ch)));
      advances_[ch] = FT_Load_Glyph(face_, indexes_[ch], FT_LOAD_DEFAULT) == 0
                          ? static_cast<int32_t>((face_->glyph->advance.x + 32) >> 6)
                          : 0;
    }
    ComputeMetrics(ppem);
  }
  ~FreeTypeFace() override { FT_Done_Face(face_); }
  FreeTypeFace(const FreeTypeFace&) = delete;
  FreeTypeFace& operator=(const FreeTypeFace&) = delete;

  const Glyph& GlyphOf(uint8_t ch) override {
    if (!rendered_[ch]) {
      Render(ch);
      rendered_[ch] = true;
    }
    return glyphs_[ch];
  }

 private:
  void ComputeMetrics(int32_t ppem) {
    const CellRatio r = CellRatioOf(face_);
    auto scale = [&](int64_t units) { return static_cast<int32_t>(RoundDiv(units * ppem, r.unitsPerEm)); };
    FontMetrics& m = metrics_;
    m.ascent = scale(r.winAscent);
    m.descent = scale(r.winDescent);
    m.internalLeading = std::max(0, m.ascent + m.descent - ppem);
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face_, FT_SFNT_HHEA));
    if (hhea) {
      const int64_t lineSpacing = int64_t{hhea->Ascender} - hhea->Descender + hhea->Line_Gap;
      m.externalLeading = std::max(0, scale(lineSpacing - (r.winAscent + r.winDescent)));
    }
    m.aveCharWidth = advances_['x'];
    m.maxCharWidth = *std::max_element(advances_.begin() + 0x20, advances_.end());
    m.lineThickness = std::max(1, scale(face_->underline_thickness));
    m.underlineTop = std::clamp(scale(-int64_t{face_->underline_position}), 1,
                                std::max(1, m.descent - m.lineThickness));
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    const int64_t strike = os2 && os2->yStrikeoutPosition > 0 ? os2->yStrikeoutPosition
                                                               : r.unitsPerEm * 22 / 100;
    m.strikeOutTop = -std::max(1, scale(strike));
  }

  void Render(uint8_t ch) {
    Glyph& g = glyphs_[ch];
    if (FT_Load_Glyph(face_, indexes_[ch], FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) return;
    const FT_GlyphSlot slot = face_->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_GRAY || bm.width == 0 || bm.rows == 0) return;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int32_t>(bm.width);
    g.rows = static_cast<int32_t>(bm.rows);
    g.coverage.resize(static_cast<size_t>(g.width) * static_cast<size_t>(g.rows));
    const int grays = std::max(bm.num_grays - 1, 1);
    for (int32_t y = 0; y < g.rows; ++y) {
      const unsigned char* src = bm.pitch >= 0 ? bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch
                                               : bm.buffer + static_cast<ptrdiff_t>(g.rows - 1 - y) * -bm.pitch;
      uint8_t* dst = g.coverage.data() + static_cast<size_t>(y) * static_cast<size_t>(g.width);
      for (int32_t x = 0; x < g.width; ++x) dst[x] = static_cast<uint8_t>(src[x] * 255 / grays);
    }
  }

  FT_Face face_;
  std::array<FT_UInt, 256> indexes_{};
  std::array<Glyph, 256> glyphs_;
  std::array<bool, 256> rendered_{};
};

struct CacheKey {
  FontFamily family;
  bool bold;
  bool italic;
  int32_t pixelSize;
  friend auto operator<=>(const CacheKey&, const CacheKey&) = default;
};

struct CacheEntry {
  std::shared_ptr<SizedFace> face;
  uint64_t lastUse = 0;
};

struct Cache {
  std::map<CacheKey, CacheEntry> entries;
  uint64_t clock = 0;
};

Cache& TheCache() {
  static Cache* cache = new Cache;
  return *cache;
}

}  // namespace

uint32_t CodePointOf(uint8_t ch) {
  return ch >= 0x80 && ch <= 0x9F ? kCp1252High[ch - 0x80] : ch;
}

bool FamilyOfFaceName(const char* name, size_t length, FontFamily* family) {
  for (const FaceName& f : kFaceNames) {
    if (SameName(name, length, f.name)) {
      *family = f.family;
      return true;
    }
  }
  return false;
}

FontInfo ResolveFont(const LOGFONTA& lf) {
  FontInfo info;
  info.logFont = lf;
  const size_t length = static_cast<size_t>(
      std::find(lf.lfFaceName, lf.lfFaceName + LF_FACESIZE, '\0') - lf.lfFaceName);
  if (!FamilyOfFaceName(lf.lfFaceName, length, &info.family)) {
    const int pitch = lf.lfPitchAndFamily & 0x03;
    const int family = lf.lfPitchAndFamily & 0xF0;
    info.family = pitch == FIXED_PITCH || family == FF_MODERN ? FontFamily::Mono
                  : family == FF_ROMAN                        ? FontFamily::Serif
                                                              : FontFamily::Sans;
  }
  info.bold = lf.lfWeight >= FW_SEMIBOLD;
  info.italic = lf.lfItalic != 0;
  const int64_t height = lf.lfHeight;
  if (height < 0)
    info.pixelSize = static_cast<int32_t>(std::min<int64_t>(-height, kMaxPixelSize));
  else if (height > 0)
    info.pixelSize = PixelSizeForCell(info.family, info.bold, info.italic, height);
  else
    info.pixelSize = kDefaultPixelSize;
  return info;
}

std::shared_ptr<SizedFace> FaceFor(const FontInfo& font) {
  Cache& cache = TheCache();
  const CacheKey key{font.family, font.bold, font.italic, font.pixelSize};
  ++cache.clock;
  auto it = cache.entries.find(key);
  if (it != cache.entries.end()) {
    it->second.lastUse = cache.clock;
    return it->second.face;
  }
  FT_Face face = OpenFace(font.family, font.bold, font.italic);
  if (!face) return nullptr;
  auto sized = std::make_shared<FreeTypeFace>(face, font.pixelSize);
  if (cache.entries.size() >= kCacheLimit) {
    auto oldest = std::min_element(cache.entries.begin(), cache.entries.end(),
                                   [](const auto& a, const auto& b) { return a.second.lastUse < b.second.lastUse; });
    cache.entries.erase(oldest);
  }
  cache.entries.emplace(key, CacheEntry{sized, cache.clock});
  return sized;
}

}  // namespace os
