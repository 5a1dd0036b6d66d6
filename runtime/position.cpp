// The bar position model: positions in pixels and in percent of the usable
// extent, kept consistent in either direction.
//
// The arithmetic is that of 32-bit integers (product before division,
// division truncating toward zero) carried out in 64 bits, so that a
// position × 100 or an extent × percentage beyond 32 bits gives the exact
// quotient instead of an overflow; a result that must be stored in 32 bits
// and lies beyond them is saturated.
#include <algorithm>
#include <cstdint>

#include "ziVivire.h"

namespace {

int32_t Saturate(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// lo when v < lo, else hi when v > hi, else v: the lower bound wins when
// hi < lo.
int64_t Clamp(int64_t v, int64_t lo, int64_t hi) {
  if (v < lo) return lo;
  if (v > hi) return hi;
  return v;
}

int64_t Extent(int32_t size, int32_t frame, int32_t bar) {
  return static_cast<int64_t>(size) - 2 * static_cast<int64_t>(frame) - bar;
}

TPercent PercentOf(int32_t position, int64_t extent) {
  if (extent == 0) return 0;
  return static_cast<TPercent>(Clamp(static_cast<int64_t>(position) * 100 / extent, 0, 100));
}

int32_t PositionOf(TPercent percent, int64_t extent) {
  return Saturate(Clamp(extent * percent / 100, 0, extent));
}

}  // namespace

TPoint TkvCustomSplit::GetMaxPosition() const {
  return TPoint{Saturate(Extent(FWidth, FFrameWidth, FBarWidth)),
                Saturate(Extent(FHeight, FFrameWidth, FBarWidth))};
}

void TkvCustomSplit::SetPositionX(int32_t value) {
  if (value == FPositionX) return;
  FPositionX = value;
  PositionChange();
}

void TkvCustomSplit::SetPositionY(int32_t value) {
  if (value == FPositionY) return;
  FPositionY = value;
  PositionChange();
}

void TkvCustomSplit::SetPercentX(TPercent value) {
  if (value == FPercentX) return;
  FPercentX = value;
  PercentChange();
}

void TkvCustomSplit::SetPercentY(TPercent value) {
  if (value == FPercentY) return;
  FPercentY = value;
  PercentChange();
}

void TkvCustomSplit::SetPosition(const TPoint& value) {
  FPositionX = value.X;
  FPositionY = value.Y;
  PositionChange();
}

// Positions lead, percentages follow.
void TkvCustomSplit::PositionChange() {
  int64_t ex = Extent(FWidth, FFrameWidth, FBarWidth);
  int64_t ey = Extent(FHeight, FFrameWidth, FBarWidth);
  if (FOptions.Contains(kvsVer1Compat)) {
    FPositionX = Saturate(Clamp(FPositionX, 0, ex));
    FPositionY = Saturate(Clamp(FPositionY, 0, ey));
  } else {
    FPositionX = std::max(FPositionX, 0);
    FPositionY = std::max(FPositionY, 0);
  }
  FPercentX = PercentOf(FPositionX, ex);
  FPercentY = PercentOf(FPositionY, ey);
  AfterPositionUpdate();
}

// Percentages lead, positions follow.
void TkvCustomSplit::PercentChange() {
  FPositionX = PositionOf(FPercentX, Extent(FWidth, FFrameWidth, FBarWidth));
  FPositionY = PositionOf(FPercentY, Extent(FHeight, FFrameWidth, FBarWidth));
  AfterPositionUpdate();
}

void TkvCustomSplit::AfterPositionUpdate() {
  if (FComponentState.Contains(csLoading)) return;
  Realign();
  Repaint();
  Resize();
}
