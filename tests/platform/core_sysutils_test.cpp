// SysUtils: the exception classes, Format and the integer conversions.
#include <gtest/gtest.h>
#include <vcl/Classes.h>
#include <vcl/SysUtils.h>

#include <vector>

namespace {

TEST(CoreExceptions, CarryTheirMessageAndTheirPlatformAncestry) {
  struct Case {
    const Exception& E;
    const char* ClassName;
    TClass Ancestor;
  };
  EListError list("List index out of bounds (5)");
  EInvalidCast cast("Invalid class typecast");
  EComponentError comp("A component named X already exists");
  ERangeError range("Range check error");
  EClassNotFound notFound("Class TFoo not found");
  EConvertError convert("bad");
  const Case cases[] = {
      {list, "EListError", &Exception::StaticClass()},
      {cast, "EInvalidCast", &Exception::StaticClass()},
      {comp, "EComponentError", &Exception::StaticClass()},
      {range, "ERangeError", &EIntError::StaticClass()},
      {notFound, "EClassNotFound", &EFilerError::StaticClass()},
      {convert, "EConvertError", &Exception::StaticClass()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ClassName);
    EXPECT_EQ(c.E.ClassName(), c.ClassName);
    EXPECT_TRUE(c.E.InheritsFrom(c.Ancestor));
    EXPECT_TRUE(c.E.InheritsFrom(&TObject::StaticClass()));
    EXPECT_STREQ(c.E.what(), c.E.Message().c_str());
  }
  EXPECT_FALSE(list.InheritsFrom(&EFilerError::StaticClass()));
  // Caught as the C++ base class, the message is still the platform's.
  try {
    throw EListError("List index out of bounds (7)");
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (7)");
  }
}

struct FormatCase {
  const char* Fmt;
  std::vector<TVarRec> Args;
  const char* Expected;
};

TEST(CoreFormat, DirectivesProduceThePlatformsText) {
  const FormatCase cases[] = {
      {"%s and %s", {"one", std::string("two")}, "one and two"},
      {"%s", {'c'}, "c"},  // a character argument fills %s
      {"[%3s|%-3s]", {'a', 'b'}, "[  a|b  ]"},
      {"%d", {42}, "42"},
      {"%d", {-2147483647 - 1}, "-2147483648"},
      {"%5d|%-5d|", {42, 42}, "   42|42   |"},
      {"%.4d", {-42}, "-0042"},
      {"%x", {255}, "FF"},
      {"%x", {-1}, "FFFFFFFF"},
      {"%.4x", {10}, "000A"},
      {"%u", {-1}, "4294967295"},
      {"100%%", {}, "100%"},
      {"%%%d%%", {5}, "%5%"},
      {"%1:s %0:s %s", {"a", "b", "c"}, "b a b"},  // after an index, counting goes on from it
      {"%.2s", {"abcdef"}, "ab"},
      {"%6.2s|", {"abcdef"}, "    ab|"},
      {"%*d", {5, 42}, "   42"},
      {"%-*d|", {4, 7}, "7   |"},
      {"%.*d", {3, 7}, "007"},
      {"%*.*d", {6, 3, 7}, "   007"},
      {"%.2f", {3.14159}, "3.14"},
      {"%8.3f", {-2.5}, "  -2.500"},
      {"%n", {1234567.891}, "1,234,567.89"},
      {"%D", {3}, "3"},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.Fmt);
    EXPECT_EQ(Format(c.Fmt, c.Args), c.Expected);
  }
}

TEST(CoreFormat, LongFixedNumbersAreNotCut) {
  // 1e300 has 301 digits before the point; 310 after it make the text longer
  // than any small buffer.
  std::string s = Format("%.310f", {1e300});
  ASSERT_EQ(s.size(), 301u + 1u + 310u);
  EXPECT_EQ(s.substr(0, 2), "10");
  EXPECT_EQ(s.substr(s.size() - 3), "000");
}

TEST(CoreFormat, ABadDirectiveRaisesEConvertError) {
  const FormatCase cases[] = {
      {"%d", {"text"}, ""},       // wrong argument type
      {"%s", {12}, ""},           // an integer is no string
      {"%d", {'c'}, ""},          // a character is no integer
      {"%f", {3}, ""},            // nor a float
      {"%d %d", {1}, ""},         // too few arguments
      {"%3:d", {1, 2}, ""},       // index past the arguments
      {"abc%", {}, ""},           // directive cut off
      {"%5", {1}, ""},            // no type
      {"%q", {1}, ""},            // unknown type
      {"%*d", {"x", 1}, ""},      // * needs an integer
      {"%*d", {}, ""},            // * needs an argument
      {"%999999d", {1}, ""},      // width beyond reason
      {"%*d", {2000000000, 1}, ""},  // the same width taken from an argument
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.Fmt);
    try {
      Format(c.Fmt, c.Args);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_NE(e.Message().find(c.Fmt), std::string::npos) << e.Message();
    }
  }
}

TEST(CoreConversions, StrToIntReadsDecimalAndHexAndRejectsTheRest) {
  struct Case {
    const char* Text;
    bool Ok;
    int32_t Value;
  };
  const Case cases[] = {
      {"12", true, 12},
      {" -3 ", true, -3},
      {"+7", true, 7},
      {"$1F", true, 31},
      {"0x10", true, 16},
      {"$FFFFFFFF", true, -1},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"$100000000", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"$", false, 0},
      {"12a", false, 0},
      {"1 2", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    int32_t v = 0;
    EXPECT_EQ(TryStrToInt(c.Text, v), c.Ok);
    if (c.Ok) {
      EXPECT_EQ(v, c.Value);
      EXPECT_EQ(StrToInt(c.Text), c.Value);
    } else {
      try {
        StrToInt(c.Text);
        ADD_FAILURE() << "no exception";
      } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'" + std::string(c.Text) + "' is not a valid integer value");
      }
    }
  }
}

TEST(CoreConversions, IdentifiersAndTextComparison) {
  for (const char* good : {"Button1", "_x", "a_1", "Z"}) EXPECT_TRUE(IsValidIdent(good)) << good;
  for (const char* bad : {"", "1abc", "a b", "a-b", "a.b", "\xe9t\xe9"})
    EXPECT_FALSE(IsValidIdent(bad)) << bad;
  EXPECT_TRUE(SameText("Panel1", "PANEL1"));
  EXPECT_FALSE(SameText("Panel1", "Panel12"));
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_GT(CompareText("b", "A"), 0);
  EXPECT_EQ(IntToHex(255, 4), "00FF");
}

}  // namespace
