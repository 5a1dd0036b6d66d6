// A region: a set of pixels kept as horizontal bands of disjoint spans. It backs
// HRGN, the update regions of windows and the clipping of device contexts.
#pragma once

#include <vcl/Windows.h>

#include <cstdint>
#include <vector>

namespace os {

class Region {
 public:
  enum class Op { And, Or, Xor, Diff };

  Region() = default;
  explicit Region(const TRect& r);

  bool Empty() const { return bands_.empty(); }
  // The smallest rectangle holding every pixel; empty (all zero) when Empty().
  TRect Box() const;
  bool Contains(int32_t x, int32_t y) const;
  bool Intersects(const TRect& r) const;
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int Kind() const;
  // Disjoint rectangles covering the region, top to bottom, left to right.
  std::vector<TRect> Rects() const;
  // Moves every pixel; coordinates saturate at the 32-bit range.
  void Offset(int32_t dx, int32_t dy);

  static Region Combine(const Region& a, const Region& b, Op op);
  // The union of many rectangles in one pass.
  static Region Union(const std::vector<TRect>& rects);

  Region& operator&=(const Region& o) { return *this = Combine(*this, o, Op::And); }
  Region& operator|=(const Region& o) { return *this = Combine(*this, o, Op::Or); }
  Region& operator^=(const Region& o) { return *this = Combine(*this, o, Op::Xor); }
  Region& operator-=(const Region& o) { return *this = Combine(*this, o, Op::Diff); }
  friend Region operator&(const Region& a, const Region& b) { return Combine(a, b, Op::And); }
  friend Region operator|(const Region& a, const Region& b) { return Combine(a, b, Op::Or); }
  friend Region operator^(const Region& a, const Region& b) { return Combine(a, b, Op::Xor); }
  friend Region operator-(const Region& a, const Region& b) { return Combine(a, b, Op::Diff); }
  friend bool operator==(const Region&, const Region&) = default;

 private:
  // Rows [top, bottom); xs_[begin, end) holds the band's span edges x0, x1,
  // x2, x3... for spans [x0, x1), [x2, x3). All bands share the one edge
  // array, so a region costs two allocations however many bands it has.
  struct Band {
    int32_t top = 0;
    int32_t bottom = 0;
    uint32_t begin = 0;
    uint32_t end = 0;
    friend bool operator==(const Band&, const Band&) = default;
  };

  const int32_t* First(const Band& b) const { return xs_.data() + b.begin; }
  const int32_t* Last(const Band& b) const { return xs_.data() + b.end; }
  // Closes a band whose edges were appended to xs_ from `begin` on, merging
  // it into the previous band when they touch and match, dropping it when it
  // has no spans.
  void Close(int32_t top, int32_t bottom, uint32_t begin);
  bool SingleRect() const { return bands_.size() == 1 && bands_.front().end - bands_.front().begin == 2; }

  std::vector<Band> bands_;  // sorted by top, disjoint, no empty bands
  std::vector<int32_t> xs_;  // the edges of every band, band after band, nothing else
};

}  // namespace os
