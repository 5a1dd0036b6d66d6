// Modules and resources: the tests' own module "fixtures" (compiled by kvrc
// from tests/platform/resource_fixtures/fixtures.rc), lookups by name, id
// and type, the bytes behind a resource, and kvrc's handling of bad sources.
#include <gtest/gtest.h>
#include <vcl/Windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/wait.h>

HINSTANCE FixturesInstance();

namespace {

std::string Bytes(HMODULE m, HRSRC r) {
  const auto* p = static_cast<const char*>(LockResource(LoadResource(m, r)));
  return p ? std::string(p, SizeofResource(m, r)) : std::string();
}

TEST(Resources, ModulesAreFoundByNameIgnoringCase) {
  const HMODULE m = FixturesInstance();
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(os::ModuleHandle("FIXTURES"), m);
  EXPECT_NE(os::ModuleHandle("vcl30"), nullptr);
  EXPECT_NE(os::ModuleHandle("user32"), nullptr);
  EXPECT_EQ(os::ModuleHandle("nosuchmodule"), nullptr);
  EXPECT_EQ(os::ModuleHandle(nullptr), nullptr);
}

TEST(Resources, NamesAndTypesMatchAsStringsIgnoringCaseOrAsIds) {
  const HMODULE m = FixturesInstance();
  const std::string form("TPF0\x00\xff\x0a\x0d", 8);
  const std::string seven = "7 bytes";
  struct Case {
    const char* what;
    const char* name;
    const char* type;
    const std::string* bytes;  // nullptr: not found
  };
  const Case cases[] = {
      {"by name", "Form", RT_RCDATA, &form},
      {"name in another case", "fORM", RT_RCDATA, &form},
      {"type as \"#10\"", "FORM", "#10", &form},
      {"wrong type", "Form", RT_BITMAP, nullptr},
      {"by id", MAKEINTRESOURCE(7), RT_RCDATA, &seven},
      {"id as \"#7\"", "#7", RT_RCDATA, &seven},
      {"an id is no name", "7", RT_RCDATA, nullptr},
      {"a type of its own", "note", "KvNote", &seven},
      {"unknown name", "Nothing", RT_RCDATA, nullptr},
      {"\"#\" alone is a name", "#", RT_RCDATA, nullptr},
      {"id out of range", "#70000", RT_RCDATA, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const HRSRC r = FindResource(m, c.name, c.type);
    if (!c.bytes) {
      EXPECT_EQ(r, nullptr);
      continue;
    }
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(Bytes(m, r), *c.bytes);
  }
}

TEST(Resources, HandlesFromElsewhereFindNothing) {
  const HMODULE m = FixturesInstance();
  const HMODULE vcl = os::ModuleHandle("vcl30");
  const HRSRC form = FindResource(m, "Form", RT_RCDATA);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(LoadResource(vcl, form), nullptr);  // another module's resource
  EXPECT_EQ(SizeofResource(vcl, form), 0u);
  EXPECT_EQ(LoadResource(m, reinterpret_cast<HRSRC>(reinterpret_cast<char*>(form) + 1)), nullptr);
  EXPECT_EQ(FindResource(nullptr, "Form", RT_RCDATA), nullptr);
  EXPECT_EQ(FindResource(reinterpret_cast<HMODULE>(0x1234), "Form", RT_RCDATA), nullptr);
  EXPECT_EQ(FindResource(m, nullptr, RT_RCDATA), nullptr);
  EXPECT_FALSE(FreeResource(LoadResource(m, form)));
  EXPECT_EQ(Bytes(m, form).size(), 8u);  // still there
}

uint32_t Dword(const std::string& b, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

TEST(Resources, ATextBitmapBecomesABottomUpDibWithPaddedRows) {
  const HMODULE m = FixturesInstance();
  const std::string dib = Bytes(m, FindResource(m, "PICTURE", RT_BITMAP));
  ASSERT_EQ(dib.size(), 40u + 2 * 12);
  EXPECT_EQ(Dword(dib, 0), 40u);
  EXPECT_EQ(Dword(dib, 4), 3u);
  EXPECT_EQ(Dword(dib, 8), 2u);
  EXPECT_EQ(Dword(dib, 12), 24u << 16 | 1u);  // planes 1, 24 bits
  // Rows bottom-up, pixels blue-green-red, each row padded to 4 bytes.
  const std::string bottom("\xff\xff\xff\x00\x00\x00\x80\x80\x80\x00\x00\x00", 12);
  const std::string top("\x00\x00\xff\x00\xff\x00\xff\x00\x00\x00\x00\x00", 12);
  EXPECT_EQ(dib.substr(40, 12), bottom);
  EXPECT_EQ(dib.substr(52, 12), top);
}

// ---------------------------------------------------------------------------
// kvrc on bad sources: it names the file and line, writes no output and
// fails.

struct RcRun {
  int status;
  std::string errors;
  bool wroteOutput;
};

RcRun RunKvrc(const std::string& script, const std::string& cursor) {
  const std::string dir = ::testing::TempDir();
  const std::string rc = dir + "/bad.rc", cur = dir + "/bad.cur.txt", out = dir + "/bad_out.cpp",
                    err = dir + "/bad_err.txt";
  std::ofstream(rc) << script;
  std::ofstream(cur) << cursor;
  std::remove(out.c_str());
  const std::string cmd = std::string(KVRC_EXE) + " --module bad --instance BadInstance -o " +
                          out + " " + rc + " 2>" + err;
  const int status = std::system(cmd.c_str());
  std::ifstream e(err);
  std::string errors((std::istreambuf_iterator<char>(e)), std::istreambuf_iterator<char>());
  return RcRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, errors,
               static_cast<bool>(std::ifstream(out))};
}

std::string CursorSource(const std::string& header, int rows, const std::string& row) {
  std::string s = header;
  for (int i = 0; i < rows; ++i) s += row + "\n";
  return s;
}

TEST(Kvrc, BadSourcesAreRefusedWithTheirPlace) {
  const std::string okRow(32, '.');
  struct Case {
    const char* what;
    std::string script;
    std::string cursor;
    const char* message;
  };
  const Case cases[] = {
      {"a line without three words", "ONE CURSOR\n", "", "bad.rc:1: expected 'NAME TYPE FILE'"},
      {"a missing file", "A RCDATA nothing.bin\n", "", "bad.rc:1: cannot read"},
      {"a resource twice", "A RCDATA bad.cur.txt\na rcdata bad.cur.txt\n", "x",
       "bad.rc:2: the RCDATA A resource was defined on line 1"},
      {"no hot spot", "A CURSOR bad.cur.txt\n", CursorSource("", 32, okRow),
       "bad.cur.txt:1: expected 'hotspot X Y'"},
      {"a hot spot off the picture", "A CURSOR bad.cur.txt\n",
       CursorSource("hotspot 32 0\n", 32, okRow), "outside the 32 x 32 picture"},
      {"a short row", "A CURSOR bad.cur.txt\n", CursorSource("hotspot 0 0\n", 32, "..."),
       "bad.cur.txt:2: a picture row has 32 characters"},
      {"an unknown pixel", "A CURSOR bad.cur.txt\n",
       CursorSource("hotspot 0 0\n", 32, std::string(31, '.') + "?"), "unknown pixel '?'"},
      {"too few rows", "A CURSOR bad.cur.txt\n", CursorSource("hotspot 0 0\n", 31, okRow),
       "the picture needs 32 rows"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const RcRun run = RunKvrc(c.script, c.cursor);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find(c.message), std::string::npos) << run.errors;
    EXPECT_FALSE(run.wroteOutput);
  }
}

}  // namespace
