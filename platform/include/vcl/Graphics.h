// Graphics: colours, fonts, brushes, pens and the canvas that paints
// through a device context.
#pragma once

#include <string>

#include "vcl/Classes.h"
#include "vcl/Windows.h"

// A colour: an RGB value (0x00BBGGRR), or a system colour (0x80000000 plus
// the system colour index).
enum TColor : int32_t {
  clScrollBar = static_cast<int32_t>(0x80000000),
  clBackground = static_cast<int32_t>(0x80000001),
  clActiveCaption = static_cast<int32_t>(0x80000002),
  clInactiveCaption = static_cast<int32_t>(0x80000003),
  clMenu = static_cast<int32_t>(0x80000004),
  clWindow = static_cast<int32_t>(0x80000005),
  clWindowFrame = static_cast<int32_t>(0x80000006),
  clMenuText = static_cast<int32_t>(0x80000007),
  clWindowText = static_cast<int32_t>(0x80000008),
  clCaptionText = static_cast<int32_t>(0x80000009),
  clActiveBorder = static_cast<int32_t>(0x8000000A),
  clInactiveBorder = static_cast<int32_t>(0x8000000B),
  clAppWorkSpace = static_cast<int32_t>(0x8000000C),
  clHighlight = static_cast<int32_t>(0x8000000D),
  clHighlightText = static_cast<int32_t>(0x8000000E),
  clBtnFace = static_cast<int32_t>(0x8000000F),
  clBtnShadow = static_cast<int32_t>(0x80000010),
  clGrayText = static_cast<int32_t>(0x80000011),
  clBtnText = static_cast<int32_t>(0x80000012),
  clInactiveCaptionText = static_cast<int32_t>(0x80000013),
  clBtnHighlight = static_cast<int32_t>(0x80000014),
  cl3DDkShadow = static_cast<int32_t>(0x80000015),
  cl3DLight = static_cast<int32_t>(0x80000016),
  clInfoText = static_cast<int32_t>(0x80000017),
  clInfoBk = static_cast<int32_t>(0x80000018),

  clBlack = 0x000000,
  clMaroon = 0x000080,
  clGreen = 0x008000,
  clOlive = 0x008080,
  clNavy = 0x800000,
  clPurple = 0x800080,
  clTeal = 0x808000,
  clGray = 0x808080,
  clSilver = 0xC0C0C0,
  clRed = 0x0000FF,
  clLime = 0x00FF00,
  clYellow = 0x00FFFF,
  clBlue = 0xFF0000,
  clFuchsia = 0xFF00FF,
  clAqua = 0xFFFF00,
  clLtGray = 0xC0C0C0,
  clDkGray = 0x808080,
  clWhite = 0xFFFFFF,
  clNone = 0x1FFFFFFF,
  clDefault = 0x20000000,
};

template <>
struct TTypeOf<TColor> {
  static PTypeInfo Info();
};

bool ColorToIdent(int32_t color, std::string& ident);
bool IdentToColor(const std::string& ident, int32_t& color);
// The RGB value of a colour; a system colour is looked up in the system's
// colour scheme.
COLORREF ColorToRGB(TColor color);

VCL_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
VCL_SET(TFontStyles, TFontStyle)
VCL_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)
VCL_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal,
         bsCross, bsDiagCross)
VCL_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
using TFontCharset = uint8_t;

// A drawing attribute that tells its owner when it changes.
class TGraphicsObject : public TPersistent {
  VCL_CLASS(TGraphicsObject, TPersistent)
  TGraphicsObject() = default;
  TNotifyEvent OnChange;

 protected:
  void Changed() { OnChange(this); }
};

class TFont : public TGraphicsObject {
  VCL_CLASS(TFont, TGraphicsObject)
  TFont();
  void Assign(TPersistent* source) override;

  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset v);
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  // Negative: the character height in pixels; positive: the cell height.
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t v);
  std::string Name() const { return FName; }
  void SetName(const std::string& v);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch v);
  // The size in points at the screen's 96 pixels per inch.
  int32_t Size() const;
  void SetSize(int32_t v);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles v);
  int32_t PixelsPerInch() const { return 96; }

  friend bool operator==(const TFont& a, const TFont& b) {
    return a.FCharset == b.FCharset && a.FColor == b.FColor && a.FHeight == b.FHeight &&
           a.FName == b.FName && a.FPitch == b.FPitch && a.FStyle == b.FStyle;
  }

 private:
  TFontCharset FCharset = DEFAULT_CHARSET;
  TColor FColor = clWindowText;
  int32_t FHeight = -11;
  std::string FName = "MS Sans Serif";
  TFontPitch FPitch = fpDefault;
  TFontStyles FStyle;
};

class TBrush : public TGraphicsObject {
  VCL_CLASS(TBrush, TGraphicsObject)
  TBrush() = default;
  void Assign(TPersistent* source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle v);

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

class TPen : public TGraphicsObject {
  VCL_CLASS(TPen, TGraphicsObject)
  TPen() = default;
  void Assign(TPersistent* source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t v);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle v);

 private:
  TColor FColor = clBlack;
  int32_t FWidth = 1;
  TPenStyle FStyle = psSolid;
};

// Draws through a device context with its brush, pen and font.
class TCanvas : public TPersistent {
  VCL_CLASS(TCanvas, TPersistent)
  TCanvas();
  ~TCanvas() override;

  HDC Handle() const { return FHandle; }
  void SetHandle(HDC dc) { FHandle = dc; }
  TBrush* Brush() const { return FBrush; }
  TPen* Pen() const { return FPen; }
  TFont* Font() const { return FFont; }

 private:
  HDC FHandle = nullptr;
  TBrush* FBrush;
  TPen* FPen;
  TFont* FFont;
};
