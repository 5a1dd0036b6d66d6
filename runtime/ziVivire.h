// ziVivire: the split container and its scroll panes.
//
// A split (TruVezuz) divides its client area among up to four panes
// (TkvScrollPane) with a vertical bar, a horizontal bar or both. The bar
// places are kept in pixels (PositionX, PositionY) and in percent of the
// usable extent (PercentX, PercentY).
#pragma once

#include <string>

#include "vcl/Classes.h"
#include "vcl/Controls.h"
#include "vcl/Forms.h"
#include "vcl/Windows.h"

VCL_ENUM(TkvsOrientation, kvsVert, kvsHorz, kvsLeft, kvsTop, kvsRight, kvsBottom)
VCL_ENUM(TkvsStyle, kvsAuto, kvsWin31, kvsWin95, kvsInset, kvsGroove, kvsWin97)
VCL_ENUM(TkvsOption, kvsHideInvisible, kvsSaveAsPercent, kvsVer1Compat)
VCL_SET(TkvsOptions, TkvsOption)
VCL_ENUM(TkvsPaneTabOrder, kvsAcross, kvsDown, kvsClockwise, kvsCounterClockwise)
VCL_ENUM(T3DEffect, kv3Normal, kv3Flat, kv3Raised, kv3Inset, kv3Ridged, kv3Grooved, kv3Shadow,
         kv3None, kv3Disabled)

// 0..100, held in one byte.
using TPercent = uint8_t;
PTypeInfo TypeInfo_TPercent();
// A short string of at most one character.
using TAboutRegString = std::string;
PTypeInfo TypeInfo_TAboutRegString();

class TkvScrollPane;

// Unit-level state shared by every split of the process.
extern int32_t SplitInstanceCount;
extern HCURSOR SplitCursorHandle;
extern bool PaneClassRegistered;
extern const char* ProductTitle;
extern const char* CtlFileInfo;

// Reads and drops the next value of a form file, whatever its type.
void DiscardValue(TReader* reader);

class TkvCustomSplit : public TCustomControl {
  VCL_CLASS(TkvCustomSplit, TCustomControl)
  explicit TkvCustomSplit(TComponent* owner);
  ~TkvCustomSplit() override;

  // The pane list, in pane order.
  int32_t PaneCount() const { return GetPaneCount(); }
  TkvScrollPane* Panes(int32_t index) const { return GetPanes(index); }
  int32_t VisiblePaneCount() const { return GetVisiblePaneCount(); }
  TkvScrollPane* VisiblePanes(int32_t index) const { return GetVisiblePanes(index); }
  int32_t GetPaneCount() const;
  TkvScrollPane* GetPanes(int32_t index) const;
  int32_t GetVisiblePaneCount() const;
  TkvScrollPane* GetVisiblePanes(int32_t index) const;
  void AddPane(TkvScrollPane* pane);
  void RemovePane(TkvScrollPane* pane);
  void Swap(int32_t i, int32_t j);
  void Rotate();

  // Bar positions.
  int32_t PositionX() const { return FPositionX; }
  void SetPositionX(int32_t value);
  int32_t PositionY() const { return FPositionY; }
  void SetPositionY(int32_t value);
  TPercent PercentX() const { return FPercentX; }
  void SetPercentX(TPercent value);
  TPercent PercentY() const { return FPercentY; }
  void SetPercentY(TPercent value);
  TPoint Position() const { return GetPosition(); }
  TPoint GetPosition() const { return TPoint{FPositionX, FPositionY}; }
  void SetPosition(const TPoint& value);
  // The usable extent of each bar: the largest position at which the bar
  // still lies inside the frame.
  TPoint GetMaxPosition() const;
  bool StorePosition() const { return !FOptions.Contains(kvsSaveAsPercent); }
  bool StorePercent() const { return FOptions.Contains(kvsSaveAsPercent); }

  // Looks and behaviour.
  bool AutoUpdate() const { return FAutoUpdate; }
  void SetAutoUpdate(bool v) { FAutoUpdate = v; }
  int32_t BarWidth() const { return FBarWidth; }
  void SetBarWidth(int32_t value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  bool SyncScroll() const { return FSyncScroll; }
  void SetSyncScroll(bool value) { FSyncScroll = value; }
  TkvsStyle Style() const { return FStyle; }
  void SetStyle(TkvsStyle value);
  TAboutRegString AboutReg() const { return FAboutReg; }
  void SetAboutReg(const TAboutRegString& v) { FAboutReg = v; }
  bool Locked() const { return FLocked; }
  void SetLocked(bool v) { FLocked = v; }
  TkvsOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TkvsOrientation value);
  TkvsOptions Options() const { return FOptions; }
  void SetOptions(TkvsOptions value);
  bool MouseOver() const { return FMouseOver; }
  void SetMouseOver(bool value);

  // The bars as rectangles of the client area; the single definition of
  // being over a bar.
  TRect GetVBarRect() const;
  TRect GetHBarRect() const;

  // The style in force and its frame width (0, 1 or 2 pixels).
  TkvsStyle ActualStyle() const { return FActualStyle; }
  int32_t FrameWidth() const { return FFrameWidth; }

  // Shows the product title and version in a message box.
  void About();

  TNotifyEvent OnChange;
  TNotifyEvent OnResize;
  const TNotifyEvent& GetOnChange() const { return OnChange; }
  void SetOnChange(const TNotifyEvent& e) { OnChange = e; }
  const TNotifyEvent& GetOnResize() const { return OnResize; }
  void SetOnResize(const TNotifyEvent& e) { OnResize = e; }

  void Loaded() override;

  // Form files: the panes are the split's children, written in pane order.
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;
  void ReadState(TReader* reader) override;

 protected:
  // Six legacy names that older form files hold: read, never written.
  void DefineProperties(TFiler* filer) override;
  void ReadBarPosition(TReader* reader);
  void ReadObsolete(TReader* reader);

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void AlignControls(TControl* control, TRect& rect) override;
  void Dispatch(TMessage& message) override;
  virtual void Resize();
  virtual void TriggerChangeEvent();

  void WMSize(TMessage& message);
  void wmWindowPosChanged(TMessage& message);
  void cmVisibleChanged(TMessage& message);

  // Hit testing and the cursor over the bars.
  void WMNCHitTest(TMessage& message);
  void WMSetCursor(TMessage& message);
  void CMDesignHitTest(TMessage& message);

  // Dragging a bar.
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void WMCaptureChanged(TMessage& message);
  // Inverts the tracking strip or strips of the current drag on the screen.
  void PaintBar();

  // Painting.
  void Paint() override;
  void cmMouseEnter(TMessage& message);
  void cmMouseLeave(TMessage& message);

 private:
  friend class TkvScrollPane;
  bool HidingInForce() const;
  void PositionChange();
  void PercentChange();
  void AfterPositionUpdate();
  void MoveBarsToDragPoint();

  bool FMouseOver = false;
  TkvsOptions FOptions;
  int32_t FDragBar = 0;
  int32_t FDragOffsetX = 0;
  int32_t FDragOffsetY = 0;
  TkvsOrientation FOrientation = kvsVert;
  bool FResizing = false;
  int32_t FPositionX = 0;
  int32_t FPositionY = 0;
  TPercent FPercentX = 0;
  TPercent FPercentY = 0;
  TAboutRegString FAboutReg;
  int32_t FFrameWidth = 0;
  bool FAutoUpdate = false;
  int32_t FBarWidth = 0;
  TkvsStyle FStyle = kvsAuto;
  TkvsStyle FActualStyle = kvsAuto;
  bool FSyncScroll = false;
  TBorderStyle FBorderStyle = bsNone;
  bool FLocked = false;
  int32_t FDragX = 0;
  int32_t FDragY = 0;
  bool FDragging = false;
  TPoint FHitPoint;
  bool FLoadedDone = false;
  TList* FPanes = nullptr;
};

class TruVezuz : public TkvCustomSplit {
  VCL_CLASS(TruVezuz, TkvCustomSplit)
  using TkvCustomSplit::TkvCustomSplit;
};

class TkvQuadSplit : public TruVezuz {
  VCL_CLASS(TkvQuadSplit, TruVezuz)
  using TruVezuz::TruVezuz;
};

// A pane: a scroll box that holds the application's own controls.
class TkvScrollPane : public TScrollBox {
  VCL_CLASS(TkvScrollPane, TScrollBox)
  explicit TkvScrollPane(TComponent* owner);
  ~TkvScrollPane() override;

  // The split the pane is attached to, or nullptr.
  TkvCustomSplit* Split() const { return FSplit; }
  int32_t PaneIndex() const { return GetPaneIndex(); }
  int32_t GetPaneIndex() const;
  void SetPaneIndex(int32_t value);
  TAboutRegString AboutReg() const { return FAboutReg; }
  void SetAboutReg(const TAboutRegString& v) { FAboutReg = v; }
  // The published Align of a pane: always 0, it cannot be set.
  uint8_t PaneAlign() const { return FAlignByte; }

  void SetParent(TWinControl* parent) override;
  // Reads the pane, then attaches it to the split it was read into.
  void ReadState(TReader* reader) override;

 protected:
  void Dispatch(TMessage& message) override;
  void cmVisibleChanged(TMessage& message);
  // Scrolling, passed on to the other panes of the split.
  void WMHScroll(TMessage& message);
  void WMVScroll(TMessage& message);
  void wmPaint(TMessage& message);

 private:
  friend class TkvCustomSplit;
  TkvCustomSplit* FSplit = nullptr;
  TAboutRegString FAboutReg;
  uint8_t FAlignByte = 0;
};
