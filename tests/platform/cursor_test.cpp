// Cursors: loading from modules and from the system, sharing, destruction,
// names, the pictures as the sources draw them (through kvrc and back),
// the split package's cursors against their description, and
// Screen.Cursors.
#include <gtest/gtest.h>
#include <vcl/Forms.h>

#include <fstream>
#include <string>
#include <vector>

HINSTANCE FixturesInstance();

namespace {

const std::string kResources = std::string(KV_RESOURCE_FIXTURES) + "/../../../resources";

struct Source {
  TPoint hotSpot;
  std::vector<std::string> rows;
};

Source ReadSource(const std::string& path) {
  std::ifstream in(path);
  Source s;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("hotspot", 0) == 0) {
      std::sscanf(line.c_str(), "hotspot %d %d", &s.hotSpot.X, &s.hotSpot.Y);
      continue;
    }
    s.rows.push_back(line);
  }
  return s;
}

std::vector<std::string> Rows(const os::CursorPicture& p) {
  std::vector<std::string> rows;
  for (int y = 0; y < 32; ++y) rows.push_back(p.Row(y));
  return rows;
}

TEST(Cursors, PicturesComeOutAsTheSourcesDrawThem) {
  struct Case {
    HINSTANCE module;
    const char* name;
    const char* source;
  };
  const HINSTANCE fixtures = FixturesInstance();
  const HINSTANCE vcl = os::ModuleHandle("vcl30");
  const std::string kinds = std::string(KV_RESOURCE_FIXTURES) + "/kinds.cur.txt";
  const std::vector<std::pair<Case, std::string>> cases = {
      {{fixtures, "Kinds", ""}, kinds},
      {{fixtures, "SplitCursor", ""}, kResources + "/cursors/splitcursor.cur.txt"},
      {{fixtures, MAKEINTRESOURCE(3), ""}, kResources + "/cursors/split3.cur.txt"},
      {{vcl, "HSPLIT", ""}, kResources + "/vcl30/hsplit.cur.txt"},
      {{vcl, "VSPLIT", ""}, kResources + "/vcl30/vsplit.cur.txt"},
      {{nullptr, IDC_IBEAM, ""}, kResources + "/system/ibeam.cur.txt"},
      {{nullptr, IDC_SIZEALL, ""}, kResources + "/system/sizeall.cur.txt"},
  };
  for (const auto& [c, path] : cases) {
    SCOPED_TRACE(path);
    const Source src = ReadSource(path);
    ASSERT_EQ(src.rows.size(), 32u);
    const os::CursorPicture pic = os::CursorImage(LoadCursor(c.module, c.name));
    ASSERT_TRUE(pic.valid);
    EXPECT_EQ(pic.hotSpot, src.hotSpot);
    EXPECT_EQ(Rows(pic), src.rows);
  }
  const os::CursorPicture k = os::CursorImage(LoadCursor(fixtures, "kinds"));
  EXPECT_EQ(k.At(0, 0), os::CursorPixel::Black);
  EXPECT_EQ(k.At(9, 5), os::CursorPixel::Black);
  EXPECT_EQ(k.At(31, 0), os::CursorPixel::White);
  EXPECT_EQ(k.At(0, 31), os::CursorPixel::Inverted);
  EXPECT_EQ(k.At(1, 0), os::CursorPixel::Transparent);
}

TEST(Cursors, AModuleCursorIsSharedUntilDestroyed) {
  const HINSTANCE m = FixturesInstance();
  // Start afresh: an earlier test may have loaded it under another name.
  DestroyCursor(LoadCursor(m, "SplitCursor"));
  DestroyCursor(LoadCursor(m, MAKEINTRESOURCE(1)));
  const HCURSOR a = LoadCursor(m, "SplitCursor");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(LoadCursor(m, "SPLITCURSOR"), a);
  EXPECT_EQ(os::CursorName(a), "SplitCursor");
  EXPECT_EQ(os::CursorName(LoadCursor(m, MAKEINTRESOURCE(1))), "#1");
  EXPECT_EQ(LoadCursor(m, "NoSuchCursor"), nullptr);
  EXPECT_EQ(LoadCursor(m, "Form"), nullptr);  // an RCDATA, no cursor
  EXPECT_EQ(LoadCursor(m, nullptr), nullptr);

  SetCursor(a);
  EXPECT_TRUE(DestroyCursor(a));
  EXPECT_EQ(GetCursor(), nullptr);  // its picture is gone from the screen
  EXPECT_EQ(os::CursorName(a), "");
  EXPECT_FALSE(os::CursorImage(a).valid);
  EXPECT_FALSE(DestroyCursor(a));
  const HCURSOR again = LoadCursor(m, "SplitCursor");
  EXPECT_NE(again, nullptr);
  EXPECT_NE(again, a);
  EXPECT_TRUE(os::CursorImage(again).valid);
  DestroyCursor(again);
}

TEST(Cursors, SystemCursorsAreSharedAndCannotBeDestroyed) {
  const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(os::CursorName(arrow), "IDC_ARROW");
  EXPECT_TRUE(DestroyCursor(arrow));
  EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), arrow);
  EXPECT_TRUE(os::CursorImage(arrow).valid);
  EXPECT_FALSE(DestroyCursor(nullptr));
  EXPECT_EQ(LoadCursor(nullptr, IDC_SIZE), LoadCursor(nullptr, IDC_SIZEALL));
  EXPECT_EQ(LoadCursor(nullptr, "IDC_ARROW"), nullptr);  // system cursors go by id
  EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(1)), nullptr);
  for (const char* id : {IDC_IBEAM, IDC_WAIT, IDC_CROSS, IDC_UPARROW, IDC_SIZENWSE, IDC_SIZENESW,
                         IDC_SIZEWE, IDC_SIZENS, IDC_NO, IDC_HAND, IDC_APPSTARTING, IDC_HELP}) {
    const os::CursorPicture p = os::CursorImage(LoadCursor(nullptr, id));
    EXPECT_TRUE(p.valid) << reinterpret_cast<uintptr_t>(id);
  }
}

// ---------------------------------------------------------------------------
// The split package's cursors, against their description.

using Pixel = os::CursorPixel;

// Every black pixel has no transparent neighbour (it is edged in white).
bool BlackIsEdged(const os::CursorPicture& p) {
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      if (p.At(x, y) != Pixel::Black) continue;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if (nx >= 0 && nx < 32 && ny >= 0 && ny < 32 && p.At(nx, ny) == Pixel::Transparent)
            return false;
        }
    }
  return true;
}

// The box of the pixels that are not transparent.
TRect Drawn(const os::CursorPicture& p) {
  TRect r{32, 32, -1, -1};
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if (p.At(x, y) != Pixel::Transparent) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r;
}

bool Line(const os::CursorPicture& p, bool vertical, int at, int from, int to, int skip) {
  for (int i = from; i <= to; ++i) {
    if (i == skip) continue;
    if ((vertical ? p.At(at, i) : p.At(i, at)) != Pixel::Black) return false;
  }
  return true;
}

TEST(SplitCursors, TheCrossingCursorIsADoubleCrossWithAWhiteCentre) {
  const HINSTANCE m = FixturesInstance();
  for (const char* name : {"SPLITCURSOR", "#1", "#3"}) {
    SCOPED_TRACE(name);
    const os::CursorPicture p = os::CursorImage(LoadCursor(m, name));
    ASSERT_TRUE(p.valid);
    EXPECT_EQ(p.hotSpot, Point(16, 14));
    EXPECT_EQ(p.At(16, 14), Pixel::White);
    EXPECT_TRUE(Line(p, true, 15, 7, 21, 14));
    EXPECT_TRUE(Line(p, true, 17, 7, 21, 14));
    EXPECT_TRUE(Line(p, false, 13, 9, 23, 16));
    EXPECT_TRUE(Line(p, false, 15, 9, 23, 16));
    for (int i = 7; i <= 21; ++i) EXPECT_EQ(p.At(16, i), Pixel::White) << i;
    for (int i = 9; i <= 23; ++i) EXPECT_EQ(p.At(i, 14), Pixel::White) << i;
  }
  const os::CursorPicture split = os::CursorImage(LoadCursor(m, "SplitCursor"));
  EXPECT_EQ(Drawn(split), Rect(8, 6, 25, 23));
  EXPECT_TRUE(BlackIsEdged(split));
  EXPECT_EQ(split.At(9, 7), Pixel::Black);  // the corner arrowheads
  EXPECT_EQ(split.At(23, 21), Pixel::Black);
  // Cursor 1's arrowheads are larger; cursor 3's are unedged, white at the
  // top left and bottom right, black at the other two corners.
  const os::CursorPicture one = os::CursorImage(LoadCursor(m, MAKEINTRESOURCE(1)));
  EXPECT_EQ(one.At(8, 6), Pixel::Black);
  EXPECT_EQ(one.At(13, 6), Pixel::Black);
  EXPECT_TRUE(BlackIsEdged(one));
  const os::CursorPicture three = os::CursorImage(LoadCursor(m, MAKEINTRESOURCE(3)));
  EXPECT_EQ(three.At(9, 7), Pixel::White);
  EXPECT_EQ(three.At(23, 21), Pixel::White);
  EXPECT_EQ(three.At(23, 7), Pixel::Black);
  EXPECT_EQ(three.At(9, 21), Pixel::Black);
  EXPECT_EQ(three.At(8, 7), Pixel::Transparent);  // no edge around the arrowheads
}

TEST(SplitCursors, TheBarCursorsAreDoubleLinesWithTwoArrowheads) {
  const HINSTANCE m = FixturesInstance();
  const os::CursorPicture v = os::CursorImage(LoadCursor(m, "V"));
  ASSERT_TRUE(v.valid);
  EXPECT_EQ(v.hotSpot, Point(16, 14));
  EXPECT_TRUE(Line(v, true, 15, 7, 21, -1));
  EXPECT_TRUE(Line(v, true, 17, 7, 21, -1));
  EXPECT_EQ(v.At(10, 14), Pixel::Black);  // tip of the left arrowhead
  EXPECT_EQ(v.At(22, 14), Pixel::Black);  // and of the right one
  EXPECT_TRUE(BlackIsEdged(v));

  const os::CursorPicture h = os::CursorImage(LoadCursor(m, "H"));
  ASSERT_TRUE(h.valid);
  EXPECT_EQ(h.hotSpot, Point(14, 12));
  EXPECT_TRUE(Line(h, false, 11, 7, 21, -1));
  EXPECT_TRUE(Line(h, false, 13, 7, 21, -1));
  EXPECT_EQ(h.At(14, 6), Pixel::Black);
  EXPECT_EQ(h.At(14, 18), Pixel::Black);
  EXPECT_TRUE(BlackIsEdged(h));
}

// ---------------------------------------------------------------------------
// Screen.Cursors

TEST(ScreenCursors, TheStandardIndexesHaveTheirOwnCursors) {
  struct Case {
    TCursor index;
    const char* name;
  };
  const Case cases[] = {
      {crDefault, "IDC_ARROW"},    {crArrow, "IDC_ARROW"},       {crCross, "IDC_CROSS"},
      {crIBeam, "IDC_IBEAM"},      {crSize, "IDC_SIZEALL"},      {crSizeNESW, "IDC_SIZENESW"},
      {crSizeNS, "IDC_SIZENS"},    {crSizeNWSE, "IDC_SIZENWSE"}, {crSizeWE, "IDC_SIZEWE"},
      {crUpArrow, "IDC_UPARROW"},  {crHourGlass, "IDC_WAIT"},    {crDrag, "DRAG"},
      {crNoDrop, "NODROP"},        {crHSplit, "HSPLIT"},         {crVSplit, "VSPLIT"},
      {crMultiDrag, "MULTIDRAG"},  {crSQLWait, "SQLWAIT"},       {crNo, "IDC_NO"},
      {crAppStart, "IDC_APPSTARTING"}, {crHelp, "IDC_HELP"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HCURSOR h = Screen->Cursors(c.index);
    EXPECT_EQ(os::CursorName(h), c.name);
    EXPECT_TRUE(os::CursorImage(h).valid);
  }
  EXPECT_EQ(Screen->Cursors(crNone), nullptr);
  EXPECT_EQ(Screen->Cursors(5), Screen->Cursors(crDefault));  // no cursor of its own
}

TEST(ScreenCursors, AnAddedCursorReplacesAndDestroysTheOneBefore) {
  const HINSTANCE m = FixturesInstance();
  const HCURSOR v = LoadCursor(m, "V");
  const HCURSOR h = LoadCursor(m, "H");
  Screen->SetCursors(1, v);
  EXPECT_EQ(Screen->Cursors(1), v);
  Screen->SetCursors(1, h);
  EXPECT_EQ(Screen->Cursors(1), h);
  EXPECT_EQ(os::CursorName(v), "");  // destroyed
  Screen->SetCursors(1, nullptr);
  EXPECT_EQ(Screen->Cursors(1), Screen->Cursors(crDefault));
  EXPECT_EQ(os::CursorName(h), "");

  const HCURSOR three = LoadCursor(m, MAKEINTRESOURCE(3));
  Screen->SetCursors(crDefault, three);
  EXPECT_EQ(Screen->Cursors(crDefault), three);
  EXPECT_EQ(Screen->Cursors(7), three);
  Screen->SetCursors(crDefault, nullptr);
  EXPECT_EQ(Screen->Cursors(crDefault), LoadCursor(nullptr, IDC_ARROW));
  DestroyCursor(three);
}

TEST(ScreenCursors, TheScreenCursorShowsAtOnceAndCrDefaultAsksTheWindowAgain) {
  os::ResetWindowSystem();
  WNDCLASS wc;
  wc.lpfnWndProc = DefWindowProc;
  wc.hCursor = LoadCursor(nullptr, IDC_CROSS);
  wc.lpszClassName = "ScreenCursorTest";
  ASSERT_NE(RegisterClass(&wc), 0);
  CreateWindowEx(0, "ScreenCursorTest", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                 nullptr, nullptr, nullptr);
  os::MouseMove(Point(10, 10));
  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
  Screen->SetCursor(crDefault);
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_CROSS));
  os::ResetWindowSystem();
}

}  // namespace
