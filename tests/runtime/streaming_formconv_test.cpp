// formconv on the About form's file: binary to text and back gives the same
// bytes; a file it cannot read fails with status 1 and leaves OUT as it was.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "fixture.h"

using namespace splittest;

namespace {

// formconv is built beside the test programs: build/<preset>/tools.
std::string FormconvPath() {
  char self[4096];
  ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return "";
  std::string dir(self, static_cast<size_t>(n));
  dir = dir.substr(0, dir.rfind('/'));
  return dir + "/../tools/formconv";
}

std::string Slurp(const std::string& path) {
  TMemoryStream m;
  m.LoadFromFile(path);
  return m.DataString();
}

int RunFormconv(const std::string& args) {
  int status = std::system((FormconvPath() + " " + args + " 2>/dev/null").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class Formconv : public SplitTest {};

}  // namespace

TEST_F(Formconv, RoundTripsTheAboutFormByteForByte) {
  if (::access(FormconvPath().c_str(), X_OK) != 0) GTEST_SKIP() << "formconv not built";
  TForm about(nullptr);
  about.SetName("kvAboutForm");
  about.SetClientWidth(497);
  about.SetClientHeight(108);
  auto* s = new TruVezuz(&about);
  s->SetName("ruVezuz1");
  s->SetParent(&about);
  s->SetAlign(alClient);
  s->SetStyle(kvsGroove);
  for (const char* n : {"kvPane2", "kvPane1"}) {
    auto* p = new TkvScrollPane(&about);
    p->SetName(n);
    p->SetParent(s);
    s->AddPane(p);
  }
  std::string dir = ::testing::TempDir();
  std::string bin = dir + "formconv_about.dfm", txt = dir + "formconv_about.txt",
              back = dir + "formconv_about_back.dfm";
  WriteFormFile(bin, &about, sofBinary);
  ASSERT_EQ(RunFormconv(bin + " " + txt), 0);
  EXPECT_TRUE(Slurp(txt).starts_with("object kvAboutForm: TForm\n"));
  ASSERT_EQ(RunFormconv(txt + " " + back), 0);
  EXPECT_EQ(Slurp(back), Slurp(bin));
  ASSERT_EQ(RunFormconv(bin + " " + back + " --to text"), 0);
  EXPECT_EQ(Slurp(back), Slurp(txt));

  // A broken input: status 1, OUT untouched.
  std::string broken = dir + "formconv_broken.txt";
  ReplaceFileContent(broken, "object X: TForm\n  Left 1\nend\n");
  EXPECT_EQ(RunFormconv(broken + " " + back), 1);
  EXPECT_EQ(Slurp(back), Slurp(txt));
  EXPECT_EQ(RunFormconv(dir + "formconv_missing.dfm " + back), 1);
  EXPECT_EQ(Slurp(back), Slurp(txt));
  for (const std::string& f : {bin, txt, back, broken}) ::unlink(f.c_str());
}
