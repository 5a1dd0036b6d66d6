// What a user's mouse costs: drag steps with the tracking strip and live,
// the cursor over a bar, and one synchronized scroll pass. A 1920 × 1080
// screen and a four-pane split whose panes hold 50 child controls each.
//
// Budgets (checked by reading the figures; see the README):
//   DragStepStrip          within 3x DragStepStripBaseline (the strip's
//                          pixels inverted twice by a plain loop)
//   DragStepLive           under 1 ms median
//   SetCursorOverBar,
//   SyncScrollPass         no budget; SyncScrollPass reports allocations
//                          per pass (allocs_per_pass), which must be 0.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "ziVivire.h"

namespace {

std::atomic<long> allocations{0};

}  // namespace

// Counts the allocations of the whole program, to show that a scroll pass
// makes none. (GCC takes the malloc/free pair inside replaced operators for
// a mismatch.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpragmas"
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

constexpr int kScreenW = 1920;
constexpr int kScreenH = 1080;

// A control that paints itself, as an application's controls do.
class TBox : public TCustomControl {
 public:
  explicit TBox(TComponent* owner) : TCustomControl(owner) {}

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clSilver);
    Canvas()->FillRect(ClientRect());
  }
};

// The split with the drag operations reachable from the benchmark.
class TBenchSplit : public TruVezuz {
 public:
  explicit TBenchSplit(TComponent* owner) : TruVezuz(owner) {}
  using TkvCustomSplit::MouseDown;
  using TkvCustomSplit::MouseMove;
  using TkvCustomSplit::MouseUp;
  using TkvCustomSplit::PaintBar;
};

struct Scene {
  TForm* form = nullptr;
  TBenchSplit* split = nullptr;
  TkvScrollPane* panes[4] = {};

  Scene() {
    static bool sized = os::SetScreenSize(kScreenW, kScreenH);
    (void)sized;
    form = new TForm(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, kScreenW, kScreenH);
    form->Show();
    split = new TBenchSplit(form);
    split->SetBounds(0, 0, kScreenW, kScreenH);
    split->SetParent(form);
    split->SetStyle(kvsWin95);
    for (auto*& p : panes) {
      p = new TkvScrollPane(form);
      p->SetParent(split);
      split->AddPane(p);
      for (int i = 0; i < 50; ++i) {
        auto* b = new TBox(form);
        b->SetBounds(10 + (i % 10) * 90, 10 + (i / 10) * 60, 80, 50);
        b->SetParent(p);
      }
    }
    split->SetPosition(TPoint{900, 500});
    split->Realign();
    os::ProcessMessages();
  }
  ~Scene() {
    form->Free();
    os::ProcessMessages();
  }
};

// The baseline: the vertical strip's pixels inverted twice with a plain loop
// over a 32-bit buffer of the screen's size.
void DragStepStripBaseline(benchmark::State& state) {
  std::vector<uint32_t> screen(static_cast<size_t>(kScreenW) * kScreenH, 0x00C0C0C0);
  const int left = 948, width = 6;
  for (auto _ : state) {
    for (int pass = 0; pass < 2; ++pass) {
      for (int y = 0; y < kScreenH; ++y) {
        uint32_t* row = screen.data() + static_cast<size_t>(y) * kScreenW + left;
        for (int x = 0; x < width; ++x) row[x] ^= 0x00FFFFFF;
      }
      // Each pass is done in full: the two inversions must not cancel out.
      benchmark::DoNotOptimize(screen.data());
      benchmark::ClobberMemory();
    }
  }
}
BENCHMARK(DragStepStripBaseline);

// One drag step with the tracking strip: the strip erased at the old point
// and drawn at the new one (two PaintBar calls).
void DragStepStrip(benchmark::State& state) {
  Scene scene;
  TBenchSplit* s = scene.split;
  s->MouseDown(mbLeft, TShiftState{ssLeft}, 904, 10);  // on the vertical bar
  for (auto _ : state) {
    s->PaintBar();
    s->PaintBar();
  }
  s->MouseUp(mbLeft, TShiftState{}, 904, 10);
}
BENCHMARK(DragStepStrip);

// One drag step with AutoUpdate: the bar follows the mouse, the panes are
// laid out again and what changed is repainted.
void DragStepLive(benchmark::State& state) {
  Scene scene;
  TBenchSplit* s = scene.split;
  s->SetAutoUpdate(true);
  s->MouseDown(mbLeft, TShiftState{ssLeft}, 904, 10);
  int x = 904;
  for (auto _ : state) {
    x = x == 904 ? 912 : 904;
    s->MouseMove(TShiftState{ssLeft}, x, 10);
    os::ProcessMessages();
  }
  s->MouseUp(mbLeft, TShiftState{}, x, 10);
}
BENCHMARK(DragStepLive)->Unit(benchmark::kMicrosecond);

// A WM_SETCURSOR over the vertical bar, with the WM_NCHITTEST that precedes
// it on the system's path.
void SetCursorOverBar(benchmark::State& state) {
  Scene scene;
  HWND wnd = scene.split->Handle();
  const TPoint p = scene.split->ClientToScreen(TPoint{904, 300});
  for (auto _ : state) {
    SendMessage(wnd, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(p.X), static_cast<WORD>(p.Y)));
    SendMessage(wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd),
                MAKELPARAM(static_cast<WORD>(HTCLIENT), static_cast<WORD>(WM_MOUSEMOVE)));
  }
}
BENCHMARK(SetCursorOverBar);

// One synchronized scroll pass over the split's children: a scroll message
// to one pane sets the position of the others. The panes' content fits, so
// the positions stay and the figure is the pass itself.
void SyncScrollPass(benchmark::State& state) {
  Scene scene;
  scene.split->SetSyncScroll(true);
  HWND wnd = scene.panes[0]->Handle();
  long passes = 0;
  const long before = allocations.load();
  for (auto _ : state) {
    SendMessage(wnd, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
    ++passes;
  }
  state.counters["allocs_per_pass"] =
      static_cast<double>(allocations.load() - before) / static_cast<double>(passes);
}
BENCHMARK(SyncScrollPass);

}  // namespace

BENCHMARK_MAIN();
