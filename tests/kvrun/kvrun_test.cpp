// Tests of the run-time host kvrun.
//
// Scripts: every scripts/NAME.kv is run by the kvrun program; its standard
// output must equal NAME.out, its standard error NAME.err (empty when there
// is no such file) and its exit status NAME.status (0 when there is none).
// Each script runs in a fresh process, as a user runs it: the class
// registry starts empty and the headless message box prints on standard
// output. With KVRUN_UPDATE_EXPECTED=1 in the environment the test writes
// the expected files from what kvrun does instead of comparing.
//
// Bad lines and the host's own rules are tested in process through
// kvrun::RunScript, a table of short inline scripts.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "kvrun.h"
#include "script.h"
#include "vcl/Forms.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path, const std::string& otherwise = "") {
  std::ifstream in(path, std::ios::binary);
  if (!in) return otherwise;
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// What a run of kvrun printed and returned.
struct Outcome {
  std::string Out;
  std::string Err;
  int Status = -1;
};

// Runs the kvrun program through the shell in `dir` with `args`.
Outcome RunProgram(const fs::path& dir, const std::string& args) {
  const fs::path errFile =
      fs::temp_directory_path() / ("kvrun_test_" + std::to_string(getpid()) + ".err");
  const std::string command = "cd '" + dir.string() + "' && '" KVRUN_EXE "' " + args + " 2>'" +
                              errFile.string() + "'";
  Outcome run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) run.Out.append(buf, n);
  const int status = pclose(pipe);
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.Err = ReadFile(errFile);
  fs::remove(errFile);
  return run;
}

std::vector<std::string> ScriptNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(KVRUN_SCRIPTS_DIR))
    if (entry.path().extension() == ".kv") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

// ---------------------------------------------------------------------------
// Scripts with expected output

class KvrunScript : public testing::TestWithParam<std::string> {};

TEST_P(KvrunScript, GivesTheExpectedOutput) {
  const fs::path dir = KVRUN_SCRIPTS_DIR;
  const std::string name = GetParam();
  const Outcome run = RunProgram(dir, name + ".kv");
  if (std::getenv("KVRUN_UPDATE_EXPECTED")) {
    WriteFile(dir / (name + ".out"), run.Out);
    if (run.Err.empty()) fs::remove(dir / (name + ".err"));
    else WriteFile(dir / (name + ".err"), run.Err);
    if (run.Status == 0) fs::remove(dir / (name + ".status"));
    else WriteFile(dir / (name + ".status"), std::to_string(run.Status) + "\n");
    GTEST_SKIP() << "expected files written";
  }
  ASSERT_TRUE(fs::exists(dir / (name + ".out"))) << name << ".out is missing";
  EXPECT_EQ(run.Out, ReadFile(dir / (name + ".out")));
  EXPECT_EQ(run.Err, ReadFile(dir / (name + ".err")));
  EXPECT_EQ(run.Status, std::stoi(ReadFile(dir / (name + ".status"), "0")));
}

INSTANTIATE_TEST_SUITE_P(Scripts, KvrunScript, testing::ValuesIn(ScriptNames()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

// ---------------------------------------------------------------------------
// The program

TEST(KvrunProgram, ReadsStandardInputForADash) {
  const fs::path dir = fs::temp_directory_path();
  const fs::path script = dir / ("kvrun_test_" + std::to_string(getpid()) + ".kv");
  WriteFile(script, "print one\nfrob\nprint two\n");
  const Outcome run = RunProgram(dir, "- < '" + script.string() + "'");
  fs::remove(script);
  EXPECT_EQ(run.Out, "one\n");
  EXPECT_EQ(run.Err, "kvrun: -:2: unknown command 'frob'\n");
  EXPECT_EQ(run.Status, 1);
}

TEST(KvrunProgram, RefusesAMissingScriptAndAMissingArgument) {
  const Outcome missing = RunProgram(fs::temp_directory_path(), "no-such-script.kv");
  EXPECT_EQ(missing.Err, "kvrun: no-such-script.kv: cannot open\n");
  EXPECT_EQ(missing.Status, 1);
  const Outcome none = RunProgram(fs::temp_directory_path(), "");
  EXPECT_EQ(none.Err, "usage: kvrun SCRIPT|-\n");
  EXPECT_EQ(none.Status, 2);
}

// ---------------------------------------------------------------------------
// In process

Outcome RunText(const std::string& script) {
  std::istringstream in(script);
  std::ostringstream out, err;
  const int status = kvrun::RunScript(in, "t.kv", out, err);
  return {out.str(), err.str(), status};
}

TEST(Kvrun, EmptyScriptSucceeds) {
  const Outcome r = RunText("");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(r.Err, "");
}

// Every bad line follows the same three-line set-up, so it is line 4.
constexpr const char* kSetUp =
    "form F 200 100\n"
    "create TruVezuz S1 F\n"
    "create TkvScrollPane P1 S1\n";

struct BadLineCase {
  const char* Line;
  const char* Message;
};

void PrintTo(const BadLineCase& c, std::ostream* os) { *os << '"' << c.Line << '"'; }

class KvrunBadLine : public testing::TestWithParam<BadLineCase> {};

TEST_P(KvrunBadLine, StopsTheRunWithFileLineAndMessage) {
  const BadLineCase& c = GetParam();
  const Outcome r = RunText(std::string(kSetUp) + c.Line + "\nprint not reached\n");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, std::string("kvrun: t.kv:4: ") + c.Message + "\n");
  EXPECT_EQ(r.Out.find("not reached"), std::string::npos);
  EXPECT_EQ(r.Out.find("error:"), std::string::npos) << r.Out;
}

const BadLineCase kBadLines[] = {
    {"frob", "unknown command 'frob'"},
    {"Print x", "unknown command 'Print'"},
    {"form G 10", "wrong number of arguments for form (usage: form NAME W H)"},
    {"create TruVezuz S2 F 1 2 3",
     "wrong number of arguments for create (usage: create CLASS NAME PARENT [L T W H])"},
    {"create TruVezuz S2",
     "wrong number of arguments for create (usage: create CLASS NAME PARENT [L T W H])"},
    {"set S1.Width", "wrong number of arguments for set (usage: set NAME.PROP VALUE)"},
    {"set F.Caption hello world", "wrong number of arguments for set (usage: set NAME.PROP VALUE)"},
    {"get", "wrong number of arguments for get (usage: get NAME.PROP)"},
    {"bounds S1 P1", "wrong number of arguments for bounds (usage: bounds NAME)"},
    {"free", "wrong number of arguments for free (usage: free NAME)"},
    {"call", "wrong number of arguments for call (usage: call NAME.METHOD ARGS)"},
    {"call S1.Swap 1", "wrong number of arguments for Swap (usage: call NAME.Swap I J)"},
    {"call S1.Rotate 1", "wrong number of arguments for Rotate (usage: call NAME.Rotate)"},
    {"get S9.Width", "unknown component 'S9'"},
    {"bounds S9", "unknown component 'S9'"},
    {"free S9", "unknown component 'S9'"},
    {"call S9.Rotate", "unknown component 'S9'"},
    {"call S1.AddPane P9", "unknown component 'P9'"},
    {"create TScrollBox B Nowhere", "unknown component 'Nowhere'"},
    {"get S1.Fo", "TruVezuz has no property 'Fo'"},
    {"set S1.Fo 1", "TruVezuz has no property 'Fo'"},
    {"get S1.Font.Heigt", "TFont has no property 'Heigt'"},
    {"get S1.Width.X", "S1.Width is not an object, it has no property 'X'"},
    {"get S1", "expected NAME.PROPERTY, got 'S1'"},
    {"get S1.", "expected NAME.PROPERTY, got 'S1.'"},
    {"set S1.Orientation kvsDiagonal",
     "'kvsDiagonal' is not a value of Orientation (TkvsOrientation)"},
    {"set S1.Options [kvsHideInvisible, kvsNone]",
     "'[kvsHideInvisible, kvsNone]' is not a value of Options (TkvsOptions)"},
    {"set S1.Options kvsHideInvisible",
     "'kvsHideInvisible' is not a value of Options (TkvsOptions)"},
    {"set S1.Width wide", "'wide' is not a value of Width (Integer)"},
    {"set S1.PercentX 256", "'256' is not a value of PercentX (TPercent)"},
    {"set S1.Width 4294967296", "'4294967296' is not a value of Width (Integer)"},
    {"set S1.Visible yes", "'yes' is not a value of Visible (Boolean)"},
    {"set F.Caption hello", "'hello' is not a value of Caption (string)"},
    {"set S1.OnResize Handler", "'Handler' is not a value of OnResize (TEvent)"},
    {"set F.Caption 'open", "unterminated string 'open"},
    {"set S1.Options [kvsHideInvisible", "unterminated set [kvsHideInvisible"},
    {"form G x 10", "expected an integer, got 'x'"},
    {"create TruVezuz S2 F 0 0 w 10", "expected an integer, got 'w'"},
    {"call S1.Swap 0 y", "expected an integer, got 'y'"},
    {"get S1.Panes(z)", "expected an integer, got 'z'"},
    {"get S1.Panes", "Panes needs an index: Panes(I)"},
    {"get S1.PaneCount(1)", "PaneCount takes no index"},
    {"call S1.Frob", "TruVezuz has no method 'Frob'"},
    {"call S1", "expected NAME.METHOD, got 'S1'"},
    {"call F.Rotate", "'F' is not a split"},
    {"call P1.About", "'P1' is not a split"},
    {"call S1.AddPane S1", "'S1' is not a TkvScrollPane"},
    {"form S1 10 10", "name 'S1' is already in use"},
    {"create TkvScrollPane p1 S1", "name 'p1' is already in use"},
    {"create TruVezuz f F", "name 'f' is already in use"},
};

INSTANTIATE_TEST_SUITE_P(Table, KvrunBadLine, testing::ValuesIn(kBadLines));

TEST(Kvrun, CountsEveryLineOfTheFile) {
  const Outcome r = RunText("# a comment\n\n   \nprint x # and a comment\nfrob\n");
  EXPECT_EQ(r.Out, "x\n");
  EXPECT_EQ(r.Err, "kvrun: t.kv:5: unknown command 'frob'\n");
}

TEST(Kvrun, FreesItsFormsAtTheEndAndAfterABadLine) {
  for (const char* last : {"", "frob\n"}) {
    RunText(std::string(kSetUp) + last);
    EXPECT_EQ(GetWindow(GetDesktopWindow(), GW_CHILD), nullptr) << "after '" << last << "'";
  }
}

TEST(Kvrun, AnExceptionOfTheSystemIsPrintedAndTheRunGoesOn) {
  const Outcome r =
      RunText(std::string(kSetUp) + "call S1.AddPane P1\ncall S1.Swap 0 5\nprint after\n");
  EXPECT_EQ(r.Status, 0);
  EXPECT_NE(r.Out.find("error: EListError: List index out of bounds (5)\nafter\n"),
            std::string::npos)
      << r.Out;
  EXPECT_EQ(r.Err, "");
}

// A control whose WM_SIZE handler raises: the exception reaches the
// application's OnException from the window procedure.
class TKvrunThrower : public TCustomControl {
  VCL_CLASS(TKvrunThrower, TCustomControl)
  explicit TKvrunThrower(TComponent* owner) : TCustomControl(owner) {}

 protected:
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_SIZE) throw EInvalidOperation("WM_SIZE refused");
    TCustomControl::Dispatch(m);
  }
};

const TClassInfo& TKvrunThrower::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKvrunThrower>("TKvrunThrower").Creatable();
  return info;
}

TEST(Kvrun, PrintsWhatMessageHandlersRaiseAndRestoresOnException) {
  RegisterClass(&TKvrunThrower::StaticClass());
  const bool assignedBefore = Application->OnException.Assigned();
  const Outcome r = RunText(
      "form F 200 100\n"
      "create TKvrunThrower T F 0 0 50 40\n"
      "bounds T\n");
  UnRegisterClass(&TKvrunThrower::StaticClass());
  EXPECT_EQ(r.Status, 0);
  EXPECT_NE(r.Out.find("error: EInvalidOperation: WM_SIZE refused\n"), std::string::npos)
      << r.Out;
  EXPECT_NE(r.Out.find("T = (0, 0, 50, 40)\n"), std::string::npos) << r.Out;
  EXPECT_EQ(Application->OnException.Assigned(), assignedBefore);
}

// ---------------------------------------------------------------------------
// Words and comments

struct WordsCase {
  const char* Line;
  std::vector<std::string> Words;
};

void PrintTo(const WordsCase& c, std::ostream* os) { *os << '"' << c.Line << '"'; }

class KvrunWords : public testing::TestWithParam<WordsCase> {};

TEST_P(KvrunWords, SplitsALineAfterItsCommentIsGone) {
  EXPECT_EQ(kvrun::SplitWords(kvrun::StripComment(GetParam().Line)), GetParam().Words);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KvrunWords,
    testing::ValuesIn(std::vector<WordsCase>{
        {"", {}},
        {"# only a comment", {}},
        {"  set  S1.Width\t12  ", {"set", "S1.Width", "12"}},
        {"get S1.Width # after a blank", {"get", "S1.Width"}},
        {"set F.Caption 'a'#9'b' # codes", {"set", "F.Caption", "'a'#9'b'"}},
        {"set F.Caption ''#65", {"set", "F.Caption", "''#65"}},
        {"set F.Caption 'text with spaces'", {"set", "F.Caption", "'text with spaces'"}},
        {"set F.Caption 'a#b' # comment", {"set", "F.Caption", "'a#b'"}},
        {"set F.Caption 'it''s # here'", {"set", "F.Caption", "'it''s # here'"}},
        {"set F.Caption ''", {"set", "F.Caption", "''"}},
        {"set S1.Options [a, b]", {"set", "S1.Options", "[a, b]"}},
        {"set S1.Options [ ]", {"set", "S1.Options", "[ ]"}},
    }));

TEST(KvrunWords, IntegersAreThePlatformsIntegers) {
  EXPECT_EQ(kvrun::ParseInt("-3"), -3);
  EXPECT_EQ(kvrun::ParseInt("$10"), 16);
  EXPECT_THROW(kvrun::ParseInt("1.5"), kvrun::BadLine);
  EXPECT_THROW(kvrun::ParseInt(""), kvrun::BadLine);
}

}  // namespace
