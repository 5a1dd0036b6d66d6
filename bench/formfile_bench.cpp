// Form files of 10,000 components: writing and reading a nested form
// (splits whose panes hold splits) and a flat one (all children of the
// root), and converting the nested form's stream to text and back.
//
// Budgets (read from the figures): reading at least 500,000 and writing at
// least 1,000,000 components per second; the flat form read within 1.5x the
// time of the nested one; both conversions at least 50 MB/s.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "ziVivire.h"

namespace {

// A plain control with about ten stored properties.
class TBenchLabel : public TGraphicControl {
  VCL_CLASS(TBenchLabel, TGraphicControl)
  using TGraphicControl::TGraphicControl;
};

}  // namespace

const TClassInfo& TBenchLabel::StaticClass() {
  using T = TBenchLabel;
  static const TClassInfo info =
      TClassBuilder<T>("TBenchLabel")
          .Creatable()
          .Prop("Align", &T::Align, &T::SetAlign, Default{alNone})
          .Prop("Caption", &T::Caption, &T::SetCaption)
          .Prop("Color", &T::Color, &T::SetColor, StoredBy{&T::IsColorStored})
          .Prop("ParentColor", &T::ParentColor, &T::SetParentColor, Default{true})
          .Prop("ShowHint", &T::ShowHint, &T::SetShowHint)
          .Prop("Visible", &T::Visible, &T::SetVisible, Default{true});
  return info;
}

namespace {

constexpr int kComponents = 10000;

void Register() {
  static bool done = false;
  if (done) return;
  RegisterClasses({&TForm::StaticClass(), &TruVezuz::StaticClass(), &TkvScrollPane::StaticClass(),
                   &TBenchLabel::StaticClass()});
  done = true;
}

// A prefix and a number (appended: g++ 12 at -O3 warns wrongly about
// "literal" + std::string).
std::string Text(const char* prefix, int n) {
  std::string s = prefix;
  s += std::to_string(n);
  return s;
}

struct Builder {
  TForm* root;
  int count = 0;

  template <class C>
  C* Add(TWinControl* parent) {
    auto* c = new C(root);
    c->SetName(Text("C", ++count));
    c->SetParent(parent);
    c->SetBounds(count % 97, count % 89, 50 + count % 50, 20 + count % 30);
    c->SetHint(Text("hint ", count));
    return c;
  }
  void Label(TWinControl* parent) {
    auto* l = Add<TBenchLabel>(parent);
    l->SetCaption(Text("Label ", count));
    l->SetColor(clYellow);
    l->SetShowHint(true);
    l->SetTag(count);
  }
  TruVezuz* Split(TWinControl* parent) {
    auto* s = Add<TruVezuz>(parent);
    s->SetStyle(kvsGroove);
    s->SetOrientation(kvsLeft);
    s->SetAboutReg("1");
    s->SetTag(count);
    return s;
  }
  TkvScrollPane* Pane(TruVezuz* split) {
    auto* p = Add<TkvScrollPane>(split);
    split->AddPane(p);
    p->SetAutoScroll(false);
    return p;
  }
  // A split with two panes, each holding a split one level deeper and
  // three labels.
  void Nested(TWinControl* parent, int depth) {
    TruVezuz* s = Split(parent);
    for (int i = 0; i < 2; ++i) {
      TkvScrollPane* p = Pane(s);
      if (depth < 4) Nested(p, depth + 1);
      for (int j = 0; j < 3; ++j) Label(p);
    }
  }
};

TForm* NewRoot() {
  auto* f = new TForm(nullptr);
  f->SetName("BenchForm");
  return f;
}

TForm* NestedForm() {
  Register();
  Builder b{NewRoot()};
  while (b.count < kComponents - 200) b.Nested(b.root, 0);
  while (b.count < kComponents) b.Label(b.root);
  return b.root;
}

// All children of the root: splits without panes, detached panes, labels.
TForm* FlatForm() {
  Register();
  Builder b{NewRoot()};
  // KV_BENCH_NOAUTOSCROLL=1 takes the form's scroll range out of the
  // measure (the range is recomputed over all children at each insertion).
  if (std::getenv("KV_BENCH_NOAUTOSCROLL")) b.root->SetAutoScroll(false);
  while (b.count < kComponents) {
    switch (b.count % 3) {
      case 0: b.Split(b.root); break;
      case 1: b.Add<TkvScrollPane>(b.root)->SetAutoScroll(false); break;
      default: b.Label(b.root);
    }
  }
  return b.root;
}

std::string Write(TComponent* root, TStreamOriginalFormat format = sofBinary) {
  TMemoryStream s;
  WriteFormStream(&s, root, format);
  return s.DataString();
}

void Report(benchmark::State& state, size_t bytes) {
  state.counters["components/s"] =
      benchmark::Counter(kComponents, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["stream bytes"] = static_cast<double>(bytes);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void WriteForm(benchmark::State& state, TForm* (*make)()) {
  TForm* root = make();
  size_t bytes = 0;
  for (auto _ : state) {
    TMemoryStream s;
    WriteFormStream(&s, root, sofBinary);
    bytes = static_cast<size_t>(s.Size());
    benchmark::DoNotOptimize(s.Memory());
  }
  Report(state, bytes);
  delete root;
}

void ReadForm(benchmark::State& state, TForm* (*make)()) {
  TForm* root = make();
  std::string bytes = Write(root);
  delete root;
  for (auto _ : state) {
    TReadOnlyMemoryStream s(bytes.data(), static_cast<int64_t>(bytes.size()));
    TComponent* back = ReadFormStream(&s, nullptr);
    state.PauseTiming();
    delete back;
    state.ResumeTiming();
  }
  Report(state, bytes.size());
}

void BM_WriteNested(benchmark::State& state) { WriteForm(state, NestedForm); }
void BM_ReadNested(benchmark::State& state) { ReadForm(state, NestedForm); }
void BM_WriteFlat(benchmark::State& state) { WriteForm(state, FlatForm); }
void BM_ReadFlat(benchmark::State& state) { ReadForm(state, FlatForm); }

void BM_BinaryToText(benchmark::State& state) {
  TForm* root = NestedForm();
  std::string bin = Write(root);
  delete root;
  for (auto _ : state) {
    TReadOnlyMemoryStream in(bin.data(), static_cast<int64_t>(bin.size()));
    TMemoryStream out;
    ObjectBinaryToText(&in, &out);
    benchmark::DoNotOptimize(out.Memory());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bin.size()));
  state.counters["stream bytes"] = static_cast<double>(bin.size());
}

void BM_TextToBinary(benchmark::State& state) {
  TForm* root = NestedForm();
  std::string text = Write(root, sofText);
  delete root;
  for (auto _ : state) {
    TReadOnlyMemoryStream in(text.data(), static_cast<int64_t>(text.size()));
    TMemoryStream out;
    ObjectTextToBinary(&in, &out);
    benchmark::DoNotOptimize(out.Memory());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["stream bytes"] = static_cast<double>(text.size());
}

}  // namespace

BENCHMARK(BM_WriteNested)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadNested)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteFlat)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFlat)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BinaryToText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextToBinary)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
