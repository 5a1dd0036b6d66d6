// Controls: the control classes. TControl has bounds, a parent, visibility
// and looks; TWinControl owns a window of the window system and arranges its
// child controls; TCustomControl paints itself on a canvas.
#pragma once

#include <vector>

#include "vcl/Classes.h"
#include "vcl/Graphics.h"
#include "vcl/Windows.h"

// Component messages: the library's own notifications between controls.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
constexpr UINT CM_CHANGED = CM_BASE + 55;

VCL_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
VCL_ENUM(TControlStyleEnum, csAcceptsControls, csCaptureMouse, csDesignInteractive,
         csClickEvents, csFramed, csSetCaption, csOpaque, csDoubleClicks, csFixedWidth,
         csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents, csDisplayDragImage,
         csReflector)
VCL_SET(TControlStyle, TControlStyleEnum)
VCL_ENUM(TControlStateEnum, csLButtonDown, csClicked, csPalette, csReadingState,
         csAlignmentNeeded, csFocusing, csCreating, csPaintCopy, csCustomPaint,
         csDestroyingHandle)
VCL_SET(TControlState, TControlStateEnum)
VCL_ENUM(TDragMode, dmManual, dmAutomatic)
VCL_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
VCL_ENUM(TShiftStateEnum, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
VCL_SET(TShiftState, TShiftStateEnum)
VCL_ENUM(TDragState, dsDragEnter, dsDragLeave, dsDragMove)
VCL_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
// The border style of controls: the first two of the form border styles.
using TBorderStyle = TFormBorderStyle;
PTypeInfo BorderStyleTypeInfo();

// A cursor: one of the platform's standard shapes (negative) or a cursor
// an application added to Screen.Cursors.
enum TCursor : int16_t {
  crDefault = 0,
  crNone = -1,
  crArrow = -2,
  crCross = -3,
  crIBeam = -4,
  crSize = -5,
  crSizeNESW = -6,
  crSizeNS = -7,
  crSizeNWSE = -8,
  crSizeWE = -9,
  crUpArrow = -10,
  crHourGlass = -11,
  crDrag = -12,
  crNoDrop = -13,
  crHSplit = -14,
  crVSplit = -15,
  crMultiDrag = -16,
  crSQLWait = -17,
  crNo = -18,
  crAppStart = -19,
  crHelp = -20,
};
template <>
struct TTypeOf<TCursor> {
  static PTypeInfo Info();
};
bool CursorToIdent(int32_t cursor, std::string& ident);
bool IdentToCursor(const std::string& ident, int32_t& cursor);

using TTabOrder = int16_t;
PTypeInfo TabOrderTypeInfo();  // -1..32767
using THelpContext = int32_t;
using TCaption = std::string;

class TWinControl;
class TControl;

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int32_t, int32_t>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int32_t, int32_t>;
using TKeyEvent = TEvent<TObject*, uint16_t&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, char&>;
using TDragDropEvent = TEvent<TObject*, TObject*, int32_t, int32_t>;
using TDragOverEvent = TEvent<TObject*, TObject*, int32_t, int32_t, TDragState, bool&>;
using TEndDragEvent = TEvent<TObject*, TObject*, int32_t, int32_t>;

// The parameters of a window about to be created (CreateParams).
struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASS WindowClass;
  std::string WinClassName;
};

// The key state of a mouse message as a shift state.
TShiftState KeysToShiftState(WPARAM keys);

// ---------------------------------------------------------------------------

class TControl : public TComponent {
  VCL_CLASS(TControl, TComponent)
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // Bounds in the parent's client coordinates.
  int32_t Left() const { return FLeft; }
  void SetLeft(int32_t v) { SetBounds(v, FTop, FWidth, FHeight); }
  int32_t Top() const { return FTop; }
  void SetTop(int32_t v) { SetBounds(FLeft, v, FWidth, FHeight); }
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t v) { SetBounds(FLeft, FTop, v, FHeight); }
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  // Width and height are Right - Left and Bottom - Top, limited to 32 bits.
  void SetBoundsRect(const TRect& r);
  virtual TRect GetClientRect() const;
  TRect ClientRect() const { return GetClientRect(); }
  int32_t ClientWidth() const { return GetClientRect().Right; }
  void SetClientWidth(int32_t v);
  int32_t ClientHeight() const { return GetClientRect().Bottom; }
  void SetClientHeight(int32_t v);
  TPoint ClientOrigin() const;
  TPoint ClientToScreen(const TPoint& p) const;
  TPoint ScreenToClient(const TPoint& p) const;

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  virtual bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign v);
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool v);
  TFont* Font() const { return FFont; }
  void SetFont(TFont* v) { FFont->Assign(v); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool v);
  std::string Hint() const { return FHint; }
  void SetHint(const std::string& v) { FHint = v; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool v);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool v);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor v);
  TDragMode DragMode() const { return FDragMode; }
  void SetDragMode(TDragMode v) { FDragMode = v; }
  TCursor DragCursor() const { return FDragCursor; }
  void SetDragCursor(TCursor v) { FDragCursor = v; }
  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& v) { SetText(v); }
  std::string Text() const { return GetText(); }
  void SetTextProp(const std::string& v) { SetText(v); }
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle v) { FControlStyle = v; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState v) { FControlState = v; }
  // Whether the control holds the mouse capture. A windowed control captures
  // with its own window; any other control through its parent's window,
  // which then hands the mouse messages to it.
  bool MouseCapture() const;
  void SetMouseCapture(bool v);

  // Painting: Invalidate paints later, Repaint at once, Update paints what is
  // invalid now.
  virtual void Invalidate();
  virtual void Repaint();
  virtual void Update();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // Sends a message to the control itself, through its WndProc.
  LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual void WndProc(TMessage& message);
  void Dispatch(TMessage& message) override;

  bool HasParent() const override { return true; }
  void ReadState(TReader* reader) override;
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;
  void SetName(const std::string& name) override;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TDragDropEvent OnDragDrop;
  TDragOverEvent OnDragOver;
  TEndDragEvent OnEndDrag;

  // Event accessors for the property tables.
  const TNotifyEvent& GetOnClick() const { return OnClick; }
  void SetOnClick(const TNotifyEvent& e) { OnClick = e; }
  const TNotifyEvent& GetOnDblClick() const { return OnDblClick; }
  void SetOnDblClick(const TNotifyEvent& e) { OnDblClick = e; }
  const TMouseEvent& GetOnMouseDown() const { return OnMouseDown; }
  void SetOnMouseDown(const TMouseEvent& e) { OnMouseDown = e; }
  const TMouseMoveEvent& GetOnMouseMove() const { return OnMouseMove; }
  void SetOnMouseMove(const TMouseMoveEvent& e) { OnMouseMove = e; }
  const TMouseEvent& GetOnMouseUp() const { return OnMouseUp; }
  void SetOnMouseUp(const TMouseEvent& e) { OnMouseUp = e; }
  const TDragDropEvent& GetOnDragDrop() const { return OnDragDrop; }
  void SetOnDragDrop(const TDragDropEvent& e) { OnDragDrop = e; }
  const TDragOverEvent& GetOnDragOver() const { return OnDragOver; }
  void SetOnDragOver(const TDragOverEvent& e) { OnDragOver = e; }
  const TEndDragEvent& GetOnEndDrag() const { return OnEndDrag; }
  void SetOnEndDrag(const TEndDragEvent& e) { OnEndDrag = e; }

  // Stored rules of the platform's properties.
  bool IsColorStored() const { return !FParentColor; }
  bool IsFontStored() const { return !FParentFont; }
  bool IsShowHintStored() const { return !FParentShowHint; }

 protected:
  virtual std::string GetText() const { return FText; }
  virtual void SetText(const std::string& v);
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  virtual void MouseMove(TShiftState shift, int32_t x, int32_t y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  virtual void Changed();
  void RequestAlign();
  virtual void InvalidateControl(bool isVisible, bool isOpaque);
  void FontChanged(TObject* sender);
  virtual void SetZOrder(bool topMost);
  void UpdateBoundsRect(const TRect& r);
  void DefineProperties(TFiler* filer) override;

  // Message handlers.
  void WMMouseMove(TMessage& m);
  void WMButtonDown(TMessage& m, TMouseButton button, bool dbl);
  void WMButtonUp(TMessage& m, TMouseButton button);
  void WMCancelMode(TMessage& m);
  void WMCaptureChanged(TMessage& m);
  void WMWindowPosChanged(TMessage& m);
  void CMVisibleChanged(TMessage& m);
  void CMEnabledChanged(TMessage& m);
  void CMColorChanged(TMessage& m);
  void CMFontChanged(TMessage& m);
  void CMParentColorChanged(TMessage& m);
  void CMParentFontChanged(TMessage& m);
  void CMParentShowHintChanged(TMessage& m);
  void CMHitTest(TMessage& m);

  TWinControl* FParent = nullptr;
  int32_t FLeft = 0;
  int32_t FTop = 0;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  TControlStyle FControlStyle;
  TControlState FControlState;
  bool FVisible = true;
  bool FEnabled = true;
  TAlign FAlign = alNone;
  TColor FColor = clWindow;
  bool FParentColor = true;
  TFont* FFont;
  bool FParentFont = true;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TCursor FCursor = crDefault;
  TDragMode FDragMode = dmManual;
  TCursor FDragCursor = crDrag;
  std::string FText;

  friend class TWinControl;
};

// ---------------------------------------------------------------------------

class TWinControl : public TControl {
  VCL_CLASS(TWinControl, TControl)
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The window; reading Handle creates it when it does not exist yet.
  HWND Handle();
  HWND WindowHandle() const { return FHandle; }
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  bool Showing() const { return FShowing; }

  int ControlCount() const { return static_cast<int>(FControls.size() + FWinControls.size()); }
  // Non-windowed children first, then windowed ones, each in insertion order.
  TControl* Controls(int index) const;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool ContainsControl(TControl* control) const;

  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();
  void Realign() { AlignControl(nullptr); }
  int AlignLevel() const { return FAlignLevel; }

  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
  TRect GetClientRect() const override;
  void Invalidate() override;
  void Repaint() override;
  void Update() override;
  void WndProc(TMessage& message) override;
  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  void SetParent(TWinControl* parent) override;
  // The topmost non-windowed child control at a client point that is shown
  // (or designed), enabled unless allowDisabled, and answers CM_HITTEST.
  TControl* ControlAtPos(const TPoint& pos, bool allowDisabled) const;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;
  void ReadState(TReader* reader) override;

  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool v);
  bool ParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool v);
  bool IsCtl3DStored() const { return !FParentCtl3D; }
  TTabOrder TabOrder() const;
  void SetTabOrder(TTabOrder v);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool v);
  THelpContext HelpContext() const { return FHelpContext; }
  void SetHelpContext(THelpContext v) { FHelpContext = v; }
  TBrush* Brush() const { return FBrush; }

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;
  const TNotifyEvent& GetOnEnter() const { return OnEnter; }
  void SetOnEnter(const TNotifyEvent& e) { OnEnter = e; }
  const TNotifyEvent& GetOnExit() const { return OnExit; }
  void SetOnExit(const TNotifyEvent& e) { OnExit = e; }
  const TKeyEvent& GetOnKeyDown() const { return OnKeyDown; }
  void SetOnKeyDown(const TKeyEvent& e) { OnKeyDown = e; }
  const TKeyPressEvent& GetOnKeyPress() const { return OnKeyPress; }
  void SetOnKeyPress(const TKeyPressEvent& e) { OnKeyPress = e; }
  const TKeyEvent& GetOnKeyUp() const { return OnKeyUp; }
  void SetOnKeyUp(const TKeyEvent& e) { OnKeyUp = e; }

  // The window procedure that every window of the library has.
  static LRESULT StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // Runs WndProc; an exception it raises goes to the application.
  void MainWndProc(TMessage& message);

 protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void DestroyWnd();
  void CreateHandle();
  void DestroyHandle();
  void RecreateWnd();
  void UpdateBounds();
  void UpdateControlState();
  void UpdateShowing();
  virtual void AlignControls(TControl* control, TRect& rect);
  void AlignControl(TControl* control);
  virtual void PaintWindow(HDC dc);
  void PaintHandler(TMessage& m);
  void InvalidateControl(bool isVisible, bool isOpaque) override;
  void SetZOrder(bool topMost) override;
  // Hands a mouse message of this window to the non-windowed child under
  // the mouse (or holding the capture), in its coordinates.
  bool IsControlMouseMsg(TMessage& m);

  // Message handlers.
  void WMPaint(TMessage& m);
  void WMEraseBkgnd(TMessage& m);
  void WMSize(TMessage& m);
  void WMWindowPosChanged(TMessage& m);
  void WMNCHitTest(TMessage& m);
  void WMSetCursor(TMessage& m);
  void WMNCDestroy(TMessage& m);
  void WMDestroy(TMessage& m);
  void CMVisibleChanged(TMessage& m);
  void CMShowingChanged(TMessage& m);
  void CMEnabledChanged(TMessage& m);
  void CMColorChanged(TMessage& m);
  void CMCtl3DChanged(TMessage& m);
  void CMParentCtl3DChanged(TMessage& m);

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = nullptr;
  bool FShowing = false;
  bool FCtl3D = true;
  bool FParentCtl3D = true;
  bool FTabStop = false;
  THelpContext FHelpContext = 0;
  TBrush* FBrush;
  int FAlignLevel = 0;
  std::vector<TControl*> FControls;     // non-windowed children
  std::vector<TWinControl*> FWinControls;  // windowed children; their order is the tab order
  std::vector<TWinControl*> FTabList;

 private:
  friend class TControl;
  // This control's place in its parent's FTabList when last looked up; a
  // stale value is found out and the whole list renumbered in one pass.
  mutable int FTabIndex = -1;
  int TabIndex() const;
  void InsertChild(TControl* c);
  void RemoveChild(TControl* c);
  void DoAlign(TControl* control, TRect& rect, TAlign align);
};

// ---------------------------------------------------------------------------

class TCustomControl : public TWinControl {
  VCL_CLASS(TCustomControl, TWinControl)
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return FCanvas; }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC dc) override;

 private:
  TCanvas* FCanvas;
};

class TGraphicControl : public TControl {
  VCL_CLASS(TGraphicControl, TControl)
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return FCanvas; }

 protected:
  virtual void Paint() {}
  void Dispatch(TMessage& message) override;

 private:
  TCanvas* FCanvas;
};

// Whether the shell draws controls in the new look. Fixed to the new look.
extern bool NewStyleControls;

// The control that a window belongs to, or nullptr.
TWinControl* FindControl(HWND wnd);

// The control holding the mouse capture (a non-windowed one through its
// parent's window), or nullptr; SetCaptureControl(nullptr) releases it.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
// The control that the last WM_MOUSEMOVE reached; CM_MOUSELEAVE and
// CM_MOUSEENTER (lParam: the control) mark each change.
TControl* GetMouseControl();
