#include <gtest/gtest.h>

#include "ziVivire.h"

TEST(SplitModel, NewSplitHasItsDefaults) {
  TruVezuz s(nullptr);
  EXPECT_EQ(s.Width(), 100);
  EXPECT_EQ(s.Height(), 100);
  EXPECT_EQ(s.PositionX(), 50);
  EXPECT_EQ(s.PositionY(), 50);
  EXPECT_EQ(s.PercentX(), 50);
  EXPECT_EQ(s.PercentY(), 50);
  EXPECT_EQ(s.BarWidth(), 6);
  EXPECT_EQ(s.Style(), kvsAuto);
  EXPECT_EQ(s.ActualStyle(), kvsAuto);
  EXPECT_EQ(s.FrameWidth(), 0);
  EXPECT_EQ(s.BorderStyle(), bsSingle);
  EXPECT_EQ(s.Color(), clBtnFace);
  EXPECT_EQ(s.PaneCount(), 0);
  EXPECT_EQ(s.ControlStyle().Bits(), 234u);
}
