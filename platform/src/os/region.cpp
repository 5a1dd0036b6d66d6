#include "os/region.h"

#include <algorithm>
#include <limits>

namespace os {

namespace {

int32_t Saturate(int64_t v) {
  constexpr int64_t lo = std::numeric_limits<int32_t>::min();
  constexpr int64_t hi = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::clamp(v, lo, hi));
}

bool Apply(Region::Op op, bool a, bool b) {
  switch (op) {
    case Region::Op::And:
      return a && b;
    case Region::Op::Or:
      return a || b;
    case Region::Op::Xor:
      return a != b;
    case Region::Op::Diff:
      return a && !b;
  }
  return false;
}

// Sweeps the edges of two span lists and keeps the positions where the
// combined membership changes.
std::vector<int32_t> CombineSpans(const std::vector<int32_t>& a, const std::vector<int32_t>& b,
                                  Region::Op op) {
  std::vector<int32_t> out;
  size_t i = 0;
  size_t j = 0;
  bool inA = false;
  bool inB = false;
  bool in = false;
  while (i < a.size() || j < b.size()) {
    int32_t x = std::numeric_limits<int32_t>::max();
    if (i < a.size()) x = a[i];
    if (j < b.size()) x = std::min(x, b[j]);
    while (i < a.size() && a[i] == x) {
      inA = !inA;
      ++i;
    }
    while (j < b.size() && b[j] == x) {
      inB = !inB;
      ++j;
    }
    const bool now = Apply(op, inA, inB);
    if (now != in) {
      out.push_back(x);
      in = now;
    }
  }
  return out;
}

}  // namespace

Region::Region(const TRect& r) {
  if (r.Right > r.Left && r.Bottom > r.Top) bands_.push_back(Band{r.Top, r.Bottom, {r.Left, r.Right}});
}

TRect Region::Box() const {
  if (bands_.empty()) return TRect{};
  TRect box{bands_.front().xs.front(), bands_.front().top, bands_.front().xs.back(),
            bands_.back().bottom};
  for (const Band& b : bands_) {
    box.Left = std::min(box.Left, b.xs.front());
    box.Right = std::max(box.Right, b.xs.back());
  }
  return box;
}

bool Region::Contains(int32_t x, int32_t y) const {
  auto band = std::upper_bound(bands_.begin(), bands_.end(), y,
                               [](int32_t v, const Band& b) { return v < b.bottom; });
  if (band == bands_.end() || y < band->top) return false;
  const auto edges = std::upper_bound(band->xs.begin(), band->xs.end(), x) - band->xs.begin();
  return edges % 2 == 1;
}

bool Region::Intersects(const TRect& r) const { return !Combine(*this, Region(r), Op::And).Empty(); }

int Region::Kind() const {
  if (bands_.empty()) return NULLREGION;
  if (bands_.size() == 1 && bands_.front().xs.size() == 2) return SIMPLEREGION;
  return COMPLEXREGION;
}

std::vector<TRect> Region::Rects() const {
  std::vector<TRect> out;
  for (const Band& b : bands_)
    for (size_t i = 0; i + 1 < b.xs.size(); i += 2) out.push_back(TRect{b.xs[i], b.top, b.xs[i + 1], b.bottom});
  return out;
}

void Region::Offset(int32_t dx, int32_t dy) {
  std::vector<Band> old = std::move(bands_);
  bands_.clear();
  for (Band& b : old) {
    std::vector<int32_t> xs;
    for (size_t i = 0; i + 1 < b.xs.size(); i += 2) {
      const int32_t x0 = Saturate(int64_t{b.xs[i]} + dx);
      const int32_t x1 = Saturate(int64_t{b.xs[i + 1]} + dx);
      if (x1 <= x0) continue;  // squeezed away at the edge of the coordinate range
      if (!xs.empty() && xs.back() >= x0) {
        xs.back() = std::max(xs.back(), x1);
      } else {
        xs.push_back(x0);
        xs.push_back(x1);
      }
    }
    const int32_t top = Saturate(int64_t{b.top} + dy);
    const int32_t bottom = Saturate(int64_t{b.bottom} + dy);
    if (bottom > top && !xs.empty()) Append(top, bottom, std::move(xs));
  }
}

void Region::Append(int32_t top, int32_t bottom, std::vector<int32_t>&& xs) {
  if (!bands_.empty() && bands_.back().bottom == top && bands_.back().xs == xs) {
    bands_.back().bottom = bottom;
    return;
  }
  bands_.push_back(Band{top, bottom, std::move(xs)});
}

Region Region::Combine(const Region& a, const Region& b, Op op) {
  std::vector<int32_t> ys;
  ys.reserve(2 * (a.bands_.size() + b.bands_.size()));
  for (const Band& band : a.bands_) {
    ys.push_back(band.top);
    ys.push_back(band.bottom);
  }
  for (const Band& band : b.bands_) {
    ys.push_back(band.top);
    ys.push_back(band.bottom);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  static const std::vector<int32_t> none;
  Region out;
  size_t ia = 0;
  size_t ib = 0;
  for (size_t k = 0; k + 1 < ys.size(); ++k) {
    const int32_t y0 = ys[k];
    const int32_t y1 = ys[k + 1];
    while (ia < a.bands_.size() && a.bands_[ia].bottom <= y0) ++ia;
    while (ib < b.bands_.size() && b.bands_[ib].bottom <= y0) ++ib;
    const auto& sa = (ia < a.bands_.size() && a.bands_[ia].top <= y0) ? a.bands_[ia].xs : none;
    const auto& sb = (ib < b.bands_.size() && b.bands_[ib].top <= y0) ? b.bands_[ib].xs : none;
    std::vector<int32_t> spans = CombineSpans(sa, sb, op);
    if (!spans.empty()) out.Append(y0, y1, std::move(spans));
  }
  return out;
}

}  // namespace os
