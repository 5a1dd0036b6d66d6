// Forms: scrolling containers, scroll boxes, forms, the application and the
// screen.
#pragma once

#include <string>

#include "vcl/Controls.h"

class TScrollingWinControl;

VCL_ENUM(TScrollBarKind, sbHorizontal, sbVertical)

// One scroll bar of a scrolling control: its range (the content's extent)
// and position (how far the content is scrolled).
class TControlScrollBar : public TPersistent {
  VCL_CLASS(TControlScrollBar, TPersistent)
  TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind);
  void Assign(TPersistent* source) override;

  TScrollBarKind Kind() const { return FKind; }
  int32_t Increment() const { return FIncrement; }
  void SetIncrement(int32_t v) { FIncrement = v; }
  uint16_t Margin() const { return FMargin; }
  void SetMargin(uint16_t v);
  // Moves the content to the position, kept within 0 .. the part of the
  // range that the client area does not show; the bar follows.
  int32_t Position() const { return FPosition; }
  void SetPosition(int32_t v);
  int32_t Range() const { return FRange; }
  void SetRange(int32_t v);
  bool Tracking() const { return FTracking; }
  void SetTracking(bool v) { FTracking = v; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  // The position shown by the bar.
  int32_t ScrollPos() const { return FVisible ? FPosition : 0; }
  bool IsRangeStored() const;

  // The client extent along the bar, and how far the content can scroll.
  int32_t ControlSize() const;
  int32_t CalcRange() const;
  // Handles a WM_HSCROLL or WM_VSCROLL for the control.
  void ScrollMessage(TMessage& message);

 private:
  friend class TScrollingWinControl;
  void CalcAutoRange();
  void DoSetRange(int32_t v);
  void Update();

  TScrollingWinControl* FControl;
  TScrollBarKind FKind;
  int32_t FIncrement = 8;
  uint16_t FMargin = 0;
  int32_t FPosition = 0;
  int32_t FRange = 0;
  bool FTracking = false;
  bool FVisible = true;
};

class TScrollingWinControl : public TWinControl {
  VCL_CLASS(TScrollingWinControl, TWinControl)
  explicit TScrollingWinControl(TComponent* owner);
  ~TScrollingWinControl() override;

  TControlScrollBar* HorzScrollBar() const { return FHorzScrollBar; }
  void SetHorzScrollBar(TControlScrollBar* v) { FHorzScrollBar->Assign(v); }
  TControlScrollBar* VertScrollBar() const { return FVertScrollBar; }
  void SetVertScrollBar(TControlScrollBar* v) { FVertScrollBar->Assign(v); }
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool v);
  // Moves the content (the child controls) by the given distances.
  void ScrollBy(int32_t dx, int32_t dy);
  // Sizes the ranges to the children (with AutoScroll) and shows, hides
  // and sets the window's scroll bars.
  void UpdateScrollBars();
  void Loaded() override;

 protected:
  void CreateWnd() override;
  void AlignControls(TControl* control, TRect& rect) override;
  void Dispatch(TMessage& message) override;
  void WMHScroll(TMessage& message);
  void WMVScroll(TMessage& message);
  void WMSize(TMessage& message);
  void CalcAutoRange();

 private:
  TControlScrollBar* FHorzScrollBar;
  TControlScrollBar* FVertScrollBar;
  bool FAutoScroll = true;
  bool FUpdatingScrollBars = false;
  int FAutoRangeCount = 0;
  friend class TControlScrollBar;
};

class TScrollBox : public TScrollingWinControl {
  VCL_CLASS(TScrollBox, TScrollingWinControl)
  explicit TScrollBox(TComponent* owner);

  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& message) override;

 private:
  TBorderStyle FBorderStyle = bsSingle;
};

// ---------------------------------------------------------------------------

// The form designer as a form sees it.
class TDesigner {
 public:
  virtual ~TDesigner() = default;
  virtual void Modified() = 0;
  virtual bool IsDesignMsg(TControl* sender, TMessage& message) = 0;
  virtual void Notification(TComponent* component, TOperation operation) = 0;
};

VCL_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
VCL_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter)

class TCustomForm : public TScrollingWinControl {
  VCL_CLASS(TCustomForm, TScrollingWinControl)
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  TDesigner* Designer() const { return FDesigner; }
  void SetDesigner(TDesigner* d) { FDesigner = d; }
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle v);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition v) { FPosition = v; }
  void Close();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnResize;
  TNotifyEvent OnPaint;
  const TNotifyEvent& GetOnCreate() const { return OnCreate; }
  void SetOnCreate(const TNotifyEvent& e) { OnCreate = e; }
  const TNotifyEvent& GetOnDestroy() const { return OnDestroy; }
  void SetOnDestroy(const TNotifyEvent& e) { OnDestroy = e; }
  const TNotifyEvent& GetOnShow() const { return OnShow; }
  void SetOnShow(const TNotifyEvent& e) { OnShow = e; }
  const TNotifyEvent& GetOnHide() const { return OnHide; }
  void SetOnHide(const TNotifyEvent& e) { OnHide = e; }
  const TNotifyEvent& GetOnResize() const { return OnResize; }
  void SetOnResize(const TNotifyEvent& e) { OnResize = e; }
  const TNotifyEvent& GetOnPaint() const { return OnPaint; }
  void SetOnPaint(const TNotifyEvent& e) { OnPaint = e; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& message) override;

 private:
  TDesigner* FDesigner = nullptr;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TPosition FPosition = poDesigned;
};

class TForm : public TCustomForm {
  VCL_CLASS(TForm, TCustomForm)
  explicit TForm(TComponent* owner);
};

// Form resources: a form's layout stored as an RCDATA resource named by its
// class in upper case ("TABOUTFORM"), in either form-file format.
//
// Modules whose resources hold forms; the last registered is searched first.
void RegisterFormResourceModule(HMODULE module);
// Reads the resource `name` of the module into an existing root; false when
// the module has no such resource.
bool ReadFormResource(HMODULE module, const std::string& name, TComponent* instance);
// Reads into the instance the form resource of each class from the one just
// below rootAncestor down to the instance's own class, ancestors first;
// false when none of them has one.
bool InitInheritedComponent(TComponent* instance, TClass rootAncestor);
// What constructing a form ends with, once its own constructor has run: the
// resource of a TForm descendant is read (EResNotFound when it has none),
// then OnCreate runs. A plain TForm has no resource to read.
void InitFormResource(TCustomForm* form);
// Constructs a form of class F and initializes it from its resource; the
// form is freed again when that fails.
template <class F>
F* CreateForm(TComponent* owner) {
  F* form = new F(owner);
  try {
    InitFormResource(form);
  } catch (...) {
    delete form;
    throw;
  }
  return form;
}

// The form that a control is on, or nullptr.
TCustomForm* GetParentForm(TControl* control);

// ---------------------------------------------------------------------------

// The screen: its size and the cursors the application uses.
class TScreen : public TComponent {
  VCL_CLASS(TScreen, TComponent)
  explicit TScreen(TComponent* owner);
  ~TScreen() override;

  // The cursor handle of a cursor index: the platform's standard shapes
  // (crDefault, crArrow, crHSplit...) and those the application added.
  HCURSOR Cursors(int index) const;
  void SetCursors(int index, HCURSOR handle);
  // A cursor shown over every control while it is not crDefault.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor v);
  int32_t Width() const;
  int32_t Height() const;

 private:
  struct Impl;
  Impl* FImpl;
  TCursor FCursor = crDefault;
};

extern TScreen* Screen;

using TExceptionEvent = TEvent<TObject*, Exception&>;

class TApplication : public TComponent {
  VCL_CLASS(TApplication, TComponent)
  explicit TApplication(TComponent* owner);

  // An exception that a message handler raised: OnException when assigned,
  // else ShowException.
  void HandleException(Exception& e);
  void ShowException(Exception& e);
  void ProcessMessages();
  std::string Title() const { return FTitle; }
  void SetTitle(const std::string& v) { FTitle = v; }

  TExceptionEvent OnException;

 private:
  std::string FTitle = "Application";
};

extern TApplication* Application;
