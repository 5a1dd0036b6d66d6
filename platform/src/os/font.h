// Fonts: logical fonts resolved to an outline face and a pixel size, and the
// cache of sized faces with their rendered glyphs.
#pragma once

#include <vcl/Windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace os {

// The families the system has faces for; each comes in four styles.
enum class FontFamily { Sans, Serif, Mono };

// A font as created: its LOGFONT and what it resolved to.
struct FontInfo {
  LOGFONTA logFont;
  FontFamily family = FontFamily::Sans;
  bool bold = false;
  bool italic = false;
  int32_t pixelSize = 11;  // the em height in pixels
};

// Resolves a LOGFONT: the face name (or, for an unknown name, the pitch and
// family) picks the family, the weight and italic flag the style, lfHeight
// the pixel size. The face name is read up to its null or LF_FACESIZE bytes.
FontInfo ResolveFont(const LOGFONTA& lf);

// The face a known name maps to; false for a name the system does not know.
bool FamilyOfFaceName(const char* name, size_t length, FontFamily* family);

// The Unicode character of a code page 1252 byte.
uint32_t CodePointOf(uint8_t ch);

struct FontMetrics {
  int32_t ascent = 0;
  int32_t descent = 0;
  int32_t internalLeading = 0;
  int32_t externalLeading = 0;
  int32_t aveCharWidth = 0;
  int32_t maxCharWidth = 0;
  // Rows relative to the baseline row (the first row below the baseline is
  // 0, the last row of a letter standing on the baseline is -1).
  int32_t underlineTop = 1;
  int32_t strikeOutTop = -3;
  int32_t lineThickness = 1;
};

// A rendered glyph: 8-bit coverage, placed relative to the pen position on
// the baseline.
struct Glyph {
  int32_t left = 0;  // from the pen to the bitmap's first column
  int32_t top = 0;   // rows of the bitmap above the baseline
  int32_t width = 0;
  int32_t rows = 0;
  std::vector<uint8_t> coverage;  // rows × width, 0 = untouched, 255 = solid
};

// A face at one pixel size with the glyphs of the code page's 256 bytes.
// Advances and metrics are known from creation; bitmaps are rendered on
// first use and kept.
class SizedFace {
 public:
  virtual ~SizedFace() = default;
  const FontMetrics& Metrics() const { return metrics_; }
  int32_t Advance(uint8_t ch) const { return advances_[ch]; }
  virtual const Glyph& GlyphOf(uint8_t ch) = 0;

 protected:
  FontMetrics metrics_;
  std::array<int32_t, 256> advances_{};
};

// The sized face of a font from the cache; null when no font file can be
// read. The cache keeps a bounded number of sized faces; a pointer held by
// the caller stays valid on its own.
std::shared_ptr<SizedFace> FaceFor(const FontInfo& font);

}  // namespace os
