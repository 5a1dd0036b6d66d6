// Graphics: colours, fonts, brushes, pens and the canvas that paints
// through a device context.
#pragma once

#include <initializer_list>
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

// Each of TFont, TBrush and TPen owns the GDI object of its current values:
// Handle() makes it on first use and again after a change that affects it.
class TFont : public TGraphicsObject {
  VCL_CLASS(TFont, TGraphicsObject)
  TFont();
  ~TFont() override;
  void Assign(TPersistent* source) override;

  // A font of Name, Height, Style, Charset and Pitch (Color is the canvas's
  // text colour and needs no new font).
  HFONT Handle();
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
  // Drops the font handle, then tells the owner.
  void FontChanged();

  TFontCharset FCharset = DEFAULT_CHARSET;
  TColor FColor = clWindowText;
  int32_t FHeight = -11;
  std::string FName = "MS Sans Serif";
  TFontPitch FPitch = fpDefault;
  TFontStyles FStyle;
  HFONT FHandle = nullptr;
};

class TBrush : public TGraphicsObject {
  VCL_CLASS(TBrush, TGraphicsObject)
  TBrush() = default;
  ~TBrush() override;
  void Assign(TPersistent* source) override;
  // A solid brush of Color; the hollow stock brush for bsClear. The system
  // has no hatched brushes: the hatch styles paint solid.
  HBRUSH Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle v);

 private:
  void BrushChanged();

  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  HBRUSH FHandle = nullptr;
};

class TPen : public TGraphicsObject {
  VCL_CLASS(TPen, TGraphicsObject)
  TPen() = default;
  ~TPen() override;
  void Assign(TPersistent* source) override;
  HPEN Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t v);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle v);

 private:
  void PenChanged();

  TColor FColor = clBlack;
  int32_t FWidth = 1;
  TPenStyle FStyle = psSolid;
  HPEN FHandle = nullptr;
};

VCL_ENUM(TCanvasState, csHandleValid, csFontValid, csPenValid, csBrushValid)
VCL_SET(TCanvasStates, TCanvasState)

// Draws through a device context with its brush, pen and font. The canvas
// selects its font, pen and brush into the DC only when a drawing operation
// needs them, and again after they change.
class TCanvas : public TPersistent {
  VCL_CLASS(TCanvas, TPersistent)
  TCanvas();
  ~TCanvas() override;

  // The DC with the font, pen and brush selected; a canvas without a DC asks
  // CreateHandle for one and raises EInvalidOperation when it gets none.
  HDC Handle();
  // Takes a DC (or none); the previous DC gets the stock objects back.
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return FHandle != nullptr; }
  TBrush* Brush() const { return FBrush; }
  TPen* Pen() const { return FPen; }
  TFont* Font() const { return FFont; }

  void FillRect(const TRect& rect);   // with the brush
  void FrameRect(const TRect& rect);  // one pixel wide, with the brush
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
  void MoveTo(int x, int y);
  void LineTo(int x, int y);  // the end point is not drawn
  // Lines through the points with the pen; the last point is not drawn and
  // the pen position stays where it was.
  void Polyline(const TPoint* points, int count);
  void Polyline(std::initializer_list<TPoint> points) {
    Polyline(points.begin(), static_cast<int>(points.size()));
  }
  TPoint PenPos();
  void SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }
  // A pixel's colour as RGB; TColor(CLR_INVALID) outside the clip.
  TColor Pixels(int x, int y);
  void SetPixels(int x, int y, TColor color);

  // Text with the font, on the brush's colour unless the brush is bsClear.
  // TextOut leaves the pen position after the text.
  void TextOut(int x, int y, const std::string& text);
  // The text drawn at (x, y), clipped to rect, which is first filled with
  // the brush unless it is bsClear.
  void TextRect(const TRect& rect, int x, int y, const std::string& text);
  TSize TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  // Gives the canvas a DC when drawing needs one; a plain canvas has none.
  virtual void CreateHandle() {}
  void RequiredState(TCanvasStates required);
  void Changing() { OnChanging(this); }
  void Changed() { OnChange(this); }

 private:
  void DeselectHandles();
  void FontChanged();
  void PenChanged();
  void BrushChanged();

  HDC FHandle = nullptr;
  TCanvasStates FState;
  TBrush* FBrush;
  TPen* FPen;
  TFont* FFont;
};

// Draws a 3D frame `width` pixels wide just inside rect, ring by ring from
// the outside: the top and left edges of each ring in topColor, the bottom
// and right edges in bottomColor. Answers rect shrunk by `width` on every
// side. Rings that no longer fit inside the rectangle are not drawn.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);
