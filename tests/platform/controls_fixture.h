// A small fixture for the control tests: a fresh window system and a form
// per test (shown on request), and controls that let a test see what the
// library does to them.
#pragma once

#include <gtest/gtest.h>
#include <vcl/Forms.h>

#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

inline std::ostream& operator<<(std::ostream& os, const TRect& r) {
  return os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

namespace ctltest {

// A windowed container that counts its arrangements and logs its messages.
class TProbe : public TWinControl {
 public:
  explicit TProbe(TComponent* owner) : TWinControl(owner) {
    FControlStyle.Include(csAcceptsControls);
  }
  int Aligns = 0;
  std::vector<UINT> Msgs;
  // Runs for a message before the library handles it.
  std::function<void(TMessage&)> OnMessage;

  int Count(UINT msg) const { return static_cast<int>(std::count(Msgs.begin(), Msgs.end(), msg)); }
  using TWinControl::AlignControl;

 protected:
  void AlignControls(TControl* control, TRect& rect) override {
    ++Aligns;
    TWinControl::AlignControls(control, rect);
  }
  void Dispatch(TMessage& m) override {
    Msgs.push_back(m.Msg);
    if (OnMessage) OnMessage(m);
    TWinControl::Dispatch(m);
  }
};

// A custom control that paints itself in one colour and counts its paints.
class TPainter : public TCustomControl {
 public:
  explicit TPainter(TComponent* owner) : TCustomControl(owner) {}
  int Paints = 0;
  COLORREF Fill = RGB(200, 0, 0);

 protected:
  void Paint() override {
    ++Paints;
    HBRUSH b = CreateSolidBrush(Fill);
    TRect r = ClientRect();
    FillRect(Canvas()->Handle(), &r, b);
    DeleteObject(b);
  }
};

// Counts how often each tagged component's destructor runs.
inline std::map<std::string, int> destroyed;

template <class Base>
class TCounted : public Base {
 public:
  TCounted(TComponent* owner, std::string tag) : Base(owner), FTag(std::move(tag)) {}
  ~TCounted() override { ++destroyed[FTag]; }

 private:
  std::string FTag;
};

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os::ResetWindowSystem();
    destroyed.clear();
    form = new TForm(nullptr);
    form->SetBounds(0, 0, 400, 300);
  }
  void TearDown() override {
    if (form) form->Free();
    form = nullptr;
    os::ResetWindowSystem();
  }
  void ShowForm() {
    form->Show();
    os::ProcessMessages();
  }
  template <class C>
  C* Add(TWinControl* parent, int l, int t, int w, int h) {
    auto* c = new C(form);
    c->SetBounds(l, t, w, h);
    c->SetParent(parent);
    return c;
  }

  TForm* form = nullptr;
};

}  // namespace ctltest
