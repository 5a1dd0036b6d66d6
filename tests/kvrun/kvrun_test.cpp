#include <gtest/gtest.h>

#include <sstream>

#include "kvrun.h"

TEST(Kvrun, EmptyScriptSucceeds) {
  std::istringstream in("");
  std::ostringstream out, err;
  EXPECT_EQ(kvrun::RunScript(in, "empty", out, err), 0);
}
