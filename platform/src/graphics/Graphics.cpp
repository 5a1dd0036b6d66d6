#include "vcl/Graphics.h"

#include <cmath>

namespace {

struct ColorName {
  int32_t Value;
  const char* Name;
};

const ColorName kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

// The fixed classic colour scheme, by system colour index.
const COLORREF kSysColors[] = {
    RGB(0xC0, 0xC0, 0xC0),  // scroll bar
    RGB(0x00, 0x80, 0x80),  // background
    RGB(0x00, 0x00, 0x80),  // active caption
    RGB(0x80, 0x80, 0x80),  // inactive caption
    RGB(0xC0, 0xC0, 0xC0),  // menu
    RGB(0xFF, 0xFF, 0xFF),  // window
    RGB(0x00, 0x00, 0x00),  // window frame
    RGB(0x00, 0x00, 0x00),  // menu text
    RGB(0x00, 0x00, 0x00),  // window text
    RGB(0xFF, 0xFF, 0xFF),  // caption text
    RGB(0xC0, 0xC0, 0xC0),  // active border
    RGB(0xC0, 0xC0, 0xC0),  // inactive border
    RGB(0x80, 0x80, 0x80),  // application workspace
    RGB(0x00, 0x00, 0x80),  // highlight
    RGB(0xFF, 0xFF, 0xFF),  // highlight text
    RGB(0xC0, 0xC0, 0xC0),  // button face
    RGB(0x80, 0x80, 0x80),  // button shadow
    RGB(0x80, 0x80, 0x80),  // grey text
    RGB(0x00, 0x00, 0x00),  // button text
    RGB(0xC0, 0xC0, 0xC0),  // inactive caption text
    RGB(0xFF, 0xFF, 0xFF),  // button highlight
    RGB(0x00, 0x00, 0x00),  // 3D dark shadow
    RGB(0xC0, 0xC0, 0xC0),  // 3D light
    RGB(0x00, 0x00, 0x00),  // info text
    RGB(0xFF, 0xFF, 0xE1),  // info background
};

}  // namespace

bool ColorToIdent(int32_t color, std::string& ident) {
  for (const ColorName& c : kColorNames) {
    if (c.Value == color) {
      ident = c.Name;
      return true;
    }
  }
  return false;
}

bool IdentToColor(const std::string& ident, int32_t& color) {
  for (const ColorName& c : kColorNames) {
    if (SameText(ident, c.Name)) {
      color = c.Value;
      return true;
    }
  }
  return false;
}

PTypeInfo TTypeOf<TColor>::Info() {
  static const PTypeInfo info =
      MakeIntTypeInfo("TColor", otSLong, INT32_MIN, INT32_MAX, ColorToIdent, IdentToColor);
  return info;
}

COLORREF ColorToRGB(TColor color) {
  uint32_t c = static_cast<uint32_t>(color);
  if (c & 0x80000000u) {
    uint32_t index = c & 0xFF;
    if (index < sizeof kSysColors / sizeof kSysColors[0]) return kSysColors[index];
    return 0;
  }
  return c & 0x00FFFFFFu;
}

// ---------------------------------------------------------------------------

const TClassInfo& TGraphicsObject::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("TGraphicsObject", &TPersistent::StaticClass());
  return info;
}

const TClassInfo& TFont::StaticClass() {
  static const PTypeInfo charset = MakeIntTypeInfo("TFontCharset", otUByte, 0, 255);
  static const TClassInfo info =
      TClassBuilder<TFont>("TFont")
          .CreatablePlain()
          .Prop("Charset", &TFont::Charset, &TFont::SetCharset, TypeIs{charset},
                Default{DEFAULT_CHARSET})
          .Prop("Color", &TFont::Color, &TFont::SetColor)
          .Prop("Height", &TFont::Height, &TFont::SetHeight)
          .Prop("Name", &TFont::Name, &TFont::SetName)
          .Prop("Pitch", &TFont::Pitch, &TFont::SetPitch, Default{fpDefault})
          .Prop("Size", &TFont::Size, &TFont::SetSize, StoredNever{})
          .Prop("Style", &TFont::Style, &TFont::SetStyle);
  return info;
}

TFont::TFont() = default;

void TFont::Assign(TPersistent* source) {
  if (auto* f = dynamic_cast<TFont*>(source)) {
    if (*f == *this) return;
    FCharset = f->FCharset;
    FColor = f->FColor;
    FHeight = f->FHeight;
    FName = f->FName;
    FPitch = f->FPitch;
    FStyle = f->FStyle;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TFont::SetCharset(TFontCharset v) {
  if (FCharset == v) return;
  FCharset = v;
  Changed();
}
void TFont::SetColor(TColor v) {
  if (FColor == v) return;
  FColor = v;
  Changed();
}
void TFont::SetHeight(int32_t v) {
  if (FHeight == v) return;
  FHeight = v;
  Changed();
}
void TFont::SetName(const std::string& v) {
  if (FName == v || v.empty()) return;
  FName = v;
  Changed();
}
void TFont::SetPitch(TFontPitch v) {
  if (FPitch == v) return;
  FPitch = v;
  Changed();
}
void TFont::SetStyle(TFontStyles v) {
  if (FStyle == v) return;
  FStyle = v;
  Changed();
}

// Size = -Height × 72 / 96, rounded as the platform's MulDiv does.
int32_t TFont::Size() const {
  int64_t num = -static_cast<int64_t>(FHeight) * 72;
  int64_t q = (std::llabs(num) * 2 + 96) / (2 * 96);
  return static_cast<int32_t>(num < 0 ? -q : q);
}

void TFont::SetSize(int32_t v) {
  int64_t num = -static_cast<int64_t>(v) * 96;
  int64_t q = (std::llabs(num) * 2 + 72) / (2 * 72);
  SetHeight(static_cast<int32_t>(num < 0 ? -q : q));
}

// ---------------------------------------------------------------------------

const TClassInfo& TBrush::StaticClass() {
  static const TClassInfo info = TClassBuilder<TBrush>("TBrush")
                                     .CreatablePlain()
                                     .Prop("Color", &TBrush::Color, &TBrush::SetColor,
                                           Default{clWhite})
                                     .Prop("Style", &TBrush::Style, &TBrush::SetStyle,
                                           Default{bsSolid});
  return info;
}

void TBrush::Assign(TPersistent* source) {
  if (auto* b = dynamic_cast<TBrush*>(source)) {
    FColor = b->FColor;
    FStyle = b->FStyle;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}
void TBrush::SetColor(TColor v) {
  if (FColor == v) return;
  FColor = v;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}
void TBrush::SetStyle(TBrushStyle v) {
  if (FStyle == v) return;
  FStyle = v;
  Changed();
}

const TClassInfo& TPen::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TPen>("TPen")
          .CreatablePlain()
          .Prop("Color", &TPen::Color, &TPen::SetColor, Default{clBlack})
          .Prop("Style", &TPen::Style, &TPen::SetStyle, Default{psSolid})
          .Prop("Width", &TPen::Width, &TPen::SetWidth, Default{1});
  return info;
}

void TPen::Assign(TPersistent* source) {
  if (auto* p = dynamic_cast<TPen*>(source)) {
    FColor = p->FColor;
    FWidth = p->FWidth;
    FStyle = p->FStyle;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}
void TPen::SetColor(TColor v) {
  if (FColor == v) return;
  FColor = v;
  Changed();
}
void TPen::SetWidth(int32_t v) {
  if (FWidth == v) return;
  FWidth = v;
  Changed();
}
void TPen::SetStyle(TPenStyle v) {
  if (FStyle == v) return;
  FStyle = v;
  Changed();
}

// ---------------------------------------------------------------------------

const TClassInfo& TCanvas::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("TCanvas", &TPersistent::StaticClass());
  return info;
}

TCanvas::TCanvas() : FBrush(new TBrush), FPen(new TPen), FFont(new TFont) {}

TCanvas::~TCanvas() {
  delete FBrush;
  delete FPen;
  delete FFont;
}
