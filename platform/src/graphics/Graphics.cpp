#include "vcl/Graphics.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

int32_t ClampToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

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
  static const TTextMap<int32_t> byName = [] {
    TTextMap<int32_t> m;
    for (const ColorName& c : kColorNames) m.emplace(c.Name, c.Value);
    return m;
  }();
  auto it = byName.find(ident);
  if (it == byName.end()) return false;
  color = it->second;
  return true;
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

TFont::~TFont() {
  if (FHandle) DeleteObject(FHandle);
}

void TFont::Assign(TPersistent* source) {
  if (auto* f = dynamic_cast<TFont*>(source)) {
    if (*f == *this) return;
    FCharset = f->FCharset;
    FColor = f->FColor;
    FHeight = f->FHeight;
    FName = f->FName;
    FPitch = f->FPitch;
    FStyle = f->FStyle;
    FontChanged();
    return;
  }
  TPersistent::Assign(source);
}

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONTA lf;
    lf.lfHeight = FHeight;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic) ? 1 : 0;
    lf.lfUnderline = FStyle.Contains(fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = FCharset;
    lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    // The face name is cut to what a LOGFONT holds.
    FName.copy(lf.lfFaceName, LF_FACESIZE - 1);
    FHandle = CreateFontIndirect(&lf);
  }
  return FHandle;
}

void TFont::FontChanged() {
  if (FHandle) {
    DeleteObject(FHandle);
    FHandle = nullptr;
  }
  Changed();
}

void TFont::SetCharset(TFontCharset v) {
  if (FCharset == v) return;
  FCharset = v;
  FontChanged();
}
void TFont::SetColor(TColor v) {
  if (FColor == v) return;
  FColor = v;
  Changed();
}
void TFont::SetHeight(int32_t v) {
  if (FHeight == v) return;
  FHeight = v;
  FontChanged();
}
void TFont::SetName(const std::string& v) {
  if (FName == v || v.empty()) return;
  FName = v;
  FontChanged();
}
void TFont::SetPitch(TFontPitch v) {
  if (FPitch == v) return;
  FPitch = v;
  FontChanged();
}
void TFont::SetStyle(TFontStyles v) {
  if (FStyle == v) return;
  FStyle = v;
  FontChanged();
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

TBrush::~TBrush() {
  if (FHandle) DeleteObject(FHandle);
}

void TBrush::Assign(TPersistent* source) {
  if (auto* b = dynamic_cast<TBrush*>(source)) {
    FColor = b->FColor;
    FStyle = b->FStyle;
    BrushChanged();
    return;
  }
  TPersistent::Assign(source);
}

HBRUSH TBrush::Handle() {
  if (!FHandle) {
    FHandle = FStyle == bsClear ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                                : CreateSolidBrush(ColorToRGB(FColor));
  }
  return FHandle;
}

void TBrush::BrushChanged() {
  if (FHandle) {
    DeleteObject(FHandle);  // the hollow stock brush stays
    FHandle = nullptr;
  }
  Changed();
}

void TBrush::SetColor(TColor v) {
  if (FColor == v) return;
  FColor = v;
  if (FStyle == bsClear) FStyle = bsSolid;
  BrushChanged();
}
void TBrush::SetStyle(TBrushStyle v) {
  if (FStyle == v) return;
  FStyle = v;
  BrushChanged();
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

TPen::~TPen() {
  if (FHandle) DeleteObject(FHandle);
}

void TPen::Assign(TPersistent* source) {
  if (auto* p = dynamic_cast<TPen*>(source)) {
    FColor = p->FColor;
    FWidth = p->FWidth;
    FStyle = p->FStyle;
    PenChanged();
    return;
  }
  TPersistent::Assign(source);
}

HPEN TPen::Handle() {
  // The pen styles have the system's pen style values.
  if (!FHandle) FHandle = CreatePen(static_cast<int>(FStyle), FWidth, ColorToRGB(FColor));
  return FHandle;
}

void TPen::PenChanged() {
  if (FHandle) {
    DeleteObject(FHandle);
    FHandle = nullptr;
  }
  Changed();
}

void TPen::SetColor(TColor v) {
  if (FColor == v) return;
  FColor = v;
  PenChanged();
}
void TPen::SetWidth(int32_t v) {
  if (FWidth == v) return;
  FWidth = v;
  PenChanged();
}
void TPen::SetStyle(TPenStyle v) {
  if (FStyle == v) return;
  FStyle = v;
  PenChanged();
}

// ---------------------------------------------------------------------------

const TClassInfo& TCanvas::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("TCanvas", &TPersistent::StaticClass());
  return info;
}

TCanvas::TCanvas() : FBrush(new TBrush), FPen(new TPen), FFont(new TFont) {
  FFont->OnChange = [this](TObject*) { FontChanged(); };
  FPen->OnChange = [this](TObject*) { PenChanged(); };
  FBrush->OnChange = [this](TObject*) { BrushChanged(); };
}

TCanvas::~TCanvas() {
  SetHandle(nullptr);
  delete FBrush;
  delete FPen;
  delete FFont;
}

HDC TCanvas::Handle() {
  Changing();
  RequiredState({csHandleValid, csFontValid, csPenValid, csBrushValid});
  return FHandle;
}

void TCanvas::SetHandle(HDC dc) {
  if (FHandle == dc) return;
  if (FHandle) {
    DeselectHandles();
    FHandle = nullptr;
    FState.Exclude(csHandleValid);
  }
  if (dc) {
    FState.Include(csHandleValid);
    FHandle = dc;
  }
}

// The DC keeps stock objects instead of the canvas's, which may go away
// before the DC does.
void TCanvas::DeselectHandles() {
  if (!FHandle) return;
  if (FState.Contains(csPenValid)) SelectObject(FHandle, GetStockObject(BLACK_PEN));
  if (FState.Contains(csBrushValid)) SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
  if (FState.Contains(csFontValid)) SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
  FState = FState - TCanvasStates{csPenValid, csBrushValid, csFontValid};
}

void TCanvas::RequiredState(TCanvasStates required) {
  const TCanvasStates need = required - FState;
  if (need.Empty()) return;
  if (need.Contains(csHandleValid)) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
    FState.Include(csHandleValid);
  }
  if (need.Contains(csFontValid)) {
    SelectObject(FHandle, FFont->Handle());
    SetTextColor(FHandle, ColorToRGB(FFont->Color()));
    FState.Include(csFontValid);
  }
  if (need.Contains(csPenValid)) {
    SelectObject(FHandle, FPen->Handle());
    FState.Include(csPenValid);
  }
  if (need.Contains(csBrushValid)) {
    SelectObject(FHandle, FBrush->Handle());
    // Text is drawn on the brush's colour, or on what lies under it for a
    // clear brush.
    if (FBrush->Style() == bsClear) {
      SetBkMode(FHandle, TRANSPARENT);
    } else {
      SetBkColor(FHandle, ColorToRGB(FBrush->Color()));
      SetBkMode(FHandle, OPAQUE);
    }
    FState.Include(csBrushValid);
  }
}

void TCanvas::FontChanged() {
  if (FState.Contains(csFontValid)) {
    FState.Exclude(csFontValid);
    SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
  }
}

void TCanvas::PenChanged() {
  if (FState.Contains(csPenValid)) {
    FState.Exclude(csPenValid);
    SelectObject(FHandle, GetStockObject(BLACK_PEN));
  }
}

void TCanvas::BrushChanged() {
  if (FState.Contains(csBrushValid)) {
    FState.Exclude(csBrushValid);
    SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
  }
}

void TCanvas::FillRect(const TRect& rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FillRect(FHandle, &rect, FBrush->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FrameRect(FHandle, &rect, FBrush->Handle());
  Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Rectangle(FHandle, x1, y1, x2, y2);
  Changed();
}

void TCanvas::MoveTo(int x, int y) {
  RequiredState({csHandleValid});
  MoveToEx(FHandle, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  ::LineTo(FHandle, x, y);
  Changed();
}

void TCanvas::Polyline(const TPoint* points, int count) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  if (points && count > 1) {
    TPoint old;
    MoveToEx(FHandle, points[0].X, points[0].Y, &old);
    for (int i = 1; i < count; ++i) ::LineTo(FHandle, points[i].X, points[i].Y);
    MoveToEx(FHandle, old.X, old.Y, nullptr);
  }
  Changed();
}

TPoint TCanvas::PenPos() {
  RequiredState({csHandleValid});
  TPoint p;
  MoveToEx(FHandle, 0, 0, &p);
  MoveToEx(FHandle, p.X, p.Y, nullptr);
  return p;
}

TColor TCanvas::Pixels(int x, int y) {
  RequiredState({csHandleValid});
  return static_cast<TColor>(static_cast<int32_t>(GetPixel(FHandle, x, y)));
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  Changing();
  RequiredState({csHandleValid});
  SetPixel(FHandle, x, y, ColorToRGB(color));
  Changed();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  ExtTextOut(FHandle, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
  MoveTo(x + TextWidth(text), y);
  Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const std::string& text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  const UINT options = ETO_CLIPPED | (FBrush->Style() != bsClear ? ETO_OPAQUE : 0);
  ExtTextOut(FHandle, x, y, options, &rect, text.data(), static_cast<UINT>(text.size()), nullptr);
  Changed();
}

TSize TCanvas::TextExtent(const std::string& text) {
  RequiredState({csHandleValid, csFontValid});
  TSize size;
  GetTextExtentPoint32(FHandle, text.data(), static_cast<int>(text.size()), &size);
  return size;
}

// ---------------------------------------------------------------------------

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
  canvas->Pen()->SetWidth(1);
  // Inclusive coordinates while the rings are drawn.
  int64_t left = rect.Left;
  int64_t top = rect.Top;
  int64_t right = int64_t{rect.Right} - 1;
  int64_t bottom = int64_t{rect.Bottom} - 1;
  for (int ring = 0; ring < width && left <= right && top <= bottom; ++ring) {
    const auto l = static_cast<int32_t>(left);
    const auto t = static_cast<int32_t>(top);
    const auto r = static_cast<int32_t>(right);
    const auto b = static_cast<int32_t>(bottom);
    canvas->Pen()->SetColor(topColor);
    canvas->Polyline({Point(l, b), Point(l, t), Point(r, t)});
    canvas->Pen()->SetColor(bottomColor);
    canvas->Polyline({Point(r, t), Point(r, b), Point(l - 1, b)});
    ++left;
    ++top;
    --right;
    --bottom;
  }
  // Shrunk by the whole width, also where rings were left out.
  const int64_t w = std::max(width, 0);
  rect = TRect{ClampToInt32(int64_t{rect.Left} + w), ClampToInt32(int64_t{rect.Top} + w),
               ClampToInt32(int64_t{rect.Right} - w), ClampToInt32(int64_t{rect.Bottom} - w)};
}
