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

// Sweeps the edges of two span lists and appends to out the positions where
// the combined membership changes.
void CombineSpans(const int32_t* a, const int32_t* aEnd, const int32_t* b, const int32_t* bEnd,
                  Region::Op op, std::vector<int32_t>& out) {
  bool inA = false;
  bool inB = false;
  bool in = false;
  while (a != aEnd || b != bEnd) {
    int32_t x = std::numeric_limits<int32_t>::max();
    if (a != aEnd) x = *a;
    if (b != bEnd) x = std::min(x, *b);
    while (a != aEnd && *a == x) {
      inA = !inA;
      ++a;
    }
    while (b != bEnd && *b == x) {
      inB = !inB;
      ++b;
    }
    const bool now = Apply(op, inA, inB);
    if (now != in) {
      out.push_back(x);
      in = now;
    }
  }
}

bool Inside(const TRect& inner, const TRect& outer) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
         inner.Bottom <= outer.Bottom;
}

bool Disjoint(const TRect& a, const TRect& b) {
  return a.Right <= b.Left || b.Right <= a.Left || a.Bottom <= b.Top || b.Bottom <= a.Top;
}

}  // namespace

Region::Region(const TRect& r) {
  if (r.Right > r.Left && r.Bottom > r.Top) {
    xs_ = {r.Left, r.Right};
    bands_.push_back(Band{r.Top, r.Bottom, 0, 2});
  }
}

TRect Region::Box() const {
  if (bands_.empty()) return TRect{};
  TRect box{*First(bands_.front()), bands_.front().top, Last(bands_.front())[-1], bands_.back().bottom};
  for (const Band& b : bands_) {
    box.Left = std::min(box.Left, *First(b));
    box.Right = std::max(box.Right, Last(b)[-1]);
  }
  return box;
}

bool Region::Contains(int32_t x, int32_t y) const {
  auto band = std::upper_bound(bands_.begin(), bands_.end(), y,
                               [](int32_t v, const Band& b) { return v < b.bottom; });
  if (band == bands_.end() || y < band->top) return false;
  const auto edges = std::upper_bound(First(*band), Last(*band), x) - First(*band);
  return edges % 2 == 1;
}

bool Region::Intersects(const TRect& r) const {
  if (r.Right <= r.Left || r.Bottom <= r.Top) return false;
  for (const Band& b : bands_) {
    if (b.bottom <= r.Top) continue;
    if (b.top >= r.Bottom) break;
    for (const int32_t* x = First(b); x != Last(b); x += 2)
      if (x[0] < r.Right && x[1] > r.Left) return true;
  }
  return false;
}

int Region::Kind() const {
  if (bands_.empty()) return NULLREGION;
  if (SingleRect()) return SIMPLEREGION;
  return COMPLEXREGION;
}

std::vector<TRect> Region::Rects() const {
  std::vector<TRect> out;
  for (const Band& b : bands_)
    for (const int32_t* x = First(b); x != Last(b); x += 2) out.push_back(TRect{x[0], b.top, x[1], b.bottom});
  return out;
}

void Region::Offset(int32_t dx, int32_t dy) {
  const std::vector<Band> oldBands = std::move(bands_);
  const std::vector<int32_t> oldXs = std::move(xs_);
  bands_.clear();
  xs_.clear();
  bands_.reserve(oldBands.size());
  xs_.reserve(oldXs.size());
  for (const Band& b : oldBands) {
    const auto begin = static_cast<uint32_t>(xs_.size());
    for (uint32_t i = b.begin; i + 1 < b.end; i += 2) {
      const int32_t x0 = Saturate(int64_t{oldXs[i]} + dx);
      const int32_t x1 = Saturate(int64_t{oldXs[i + 1]} + dx);
      if (x1 <= x0) continue;  // squeezed away at the edge of the coordinate range
      if (xs_.size() > begin && xs_.back() >= x0) {
        xs_.back() = std::max(xs_.back(), x1);
      } else {
        xs_.push_back(x0);
        xs_.push_back(x1);
      }
    }
    Close(Saturate(int64_t{b.top} + dy), Saturate(int64_t{b.bottom} + dy), begin);
  }
}

void Region::Close(int32_t top, int32_t bottom, uint32_t begin) {
  const auto end = static_cast<uint32_t>(xs_.size());
  if (end == begin || bottom <= top) {
    xs_.resize(begin);
    return;
  }
  if (!bands_.empty()) {
    Band& prev = bands_.back();
    if (prev.bottom == top && prev.end - prev.begin == end - begin &&
        std::equal(xs_.begin() + prev.begin, xs_.begin() + prev.end, xs_.begin() + begin)) {
      prev.bottom = bottom;
      xs_.resize(begin);
      return;
    }
  }
  bands_.push_back(Band{top, bottom, begin, end});
}

Region Region::Combine(const Region& a, const Region& b, Op op) {
  // The cases an empty operand, disjoint boxes or a covering rectangle
  // decide without a sweep; they give the very result the sweep would.
  switch (op) {
    case Op::And:
      if (a.Empty() || b.Empty()) return Region();
      break;
    case Op::Or:
    case Op::Xor:
      if (a.Empty()) return b;
      if (b.Empty()) return a;
      break;
    case Op::Diff:
      if (a.Empty() || b.Empty()) return a;
      break;
  }
  if (op == Op::And || op == Op::Diff) {
    const TRect boxA = a.Box();
    const TRect boxB = b.Box();
    if (Disjoint(boxA, boxB)) return op == Op::And ? Region() : a;
    if (b.SingleRect() && Inside(boxA, boxB)) return op == Op::And ? a : Region();
    if (op == Op::And && a.SingleRect() && Inside(boxB, boxA)) return b;
  }

  // Sweep down both band lists; each stretch of rows between consecutive
  // band edges of either operand gets the combination of the spans there.
  Region out;
  out.bands_.reserve(a.bands_.size() + b.bands_.size());
  out.xs_.reserve(a.xs_.size() + b.xs_.size());
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  const size_t na = a.bands_.size();
  const size_t nb = b.bands_.size();
  size_t ia = 0;
  size_t ib = 0;
  int32_t y = std::min(a.bands_.front().top, b.bands_.front().top);
  for (;;) {
    while (ia < na && a.bands_[ia].bottom <= y) ++ia;
    while (ib < nb && b.bands_[ib].bottom <= y) ++ib;
    if (ia == na && ib == nb) break;
    const bool inA = ia < na && a.bands_[ia].top <= y;
    const bool inB = ib < nb && b.bands_[ib].top <= y;
    if (!inA && !inB) {
      y = std::min(ia < na ? a.bands_[ia].top : kMax, ib < nb ? b.bands_[ib].top : kMax);
      continue;
    }
    int32_t next = kMax;
    if (ia < na) next = std::min(next, inA ? a.bands_[ia].bottom : a.bands_[ia].top);
    if (ib < nb) next = std::min(next, inB ? b.bands_[ib].bottom : b.bands_[ib].top);
    const auto begin = static_cast<uint32_t>(out.xs_.size());
    const int32_t* a0 = inA ? a.First(a.bands_[ia]) : nullptr;
    const int32_t* a1 = inA ? a.Last(a.bands_[ia]) : nullptr;
    const int32_t* b0 = inB ? b.First(b.bands_[ib]) : nullptr;
    const int32_t* b1 = inB ? b.Last(b.bands_[ib]) : nullptr;
    CombineSpans(a0, a1, b0, b1, op, out.xs_);
    out.Close(y, next, begin);
    y = next;
  }
  return out;
}

Region Region::Union(const std::vector<TRect>& rects) {
  std::vector<int32_t> ys;
  ys.reserve(2 * rects.size());
  for (const TRect& r : rects) {
    if (r.Right <= r.Left || r.Bottom <= r.Top) continue;
    ys.push_back(r.Top);
    ys.push_back(r.Bottom);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  Region out;
  std::vector<std::pair<int32_t, int32_t>> spans;
  for (size_t k = 0; k + 1 < ys.size(); ++k) {
    const int32_t y0 = ys[k];
    spans.clear();
    for (const TRect& r : rects)
      if (r.Right > r.Left && r.Top <= y0 && r.Bottom > y0) spans.emplace_back(r.Left, r.Right);
    std::sort(spans.begin(), spans.end());
    const auto begin = static_cast<uint32_t>(out.xs_.size());
    for (const auto& [x0, x1] : spans) {
      if (out.xs_.size() > begin && x0 <= out.xs_.back()) {
        out.xs_.back() = std::max(out.xs_.back(), x1);
      } else {
        out.xs_.push_back(x0);
        out.xs_.push_back(x1);
      }
    }
    out.Close(y0, ys[k + 1], begin);
  }
  return out;
}

}  // namespace os
