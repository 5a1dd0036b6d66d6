// SysUtils: exceptions, formatting and string helpers.
#pragma once

#include <exception>
#include <string>
#include <vector>

#include "vcl/System.h"
#include "vcl/TypInfo.h"

class Exception : public TObject, public std::exception {
  VCL_CLASS(Exception, TObject)
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const std::string& Message() const { return FMessage; }
  void SetMessage(std::string message) { FMessage = std::move(message); }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
};

// Declares an exception class with the platform's name and ancestry.
#define VCL_EXCEPTION(Name, Parent)                                                 \
  class Name : public Parent {                                                      \
   public:                                                                          \
    using inherited = Parent;                                                       \
    using Parent::Parent;                                                           \
    static const TClassInfo& StaticClass() {                                        \
      static const TClassInfo info = TClassInfo::Plain(#Name, &Parent::StaticClass()); \
      return info;                                                                  \
    }                                                                               \
    TClass ClassType() const override { return &StaticClass(); }                    \
  };

VCL_EXCEPTION(EAbort, Exception)
VCL_EXCEPTION(EConvertError, Exception)
VCL_EXCEPTION(EInvalidCast, Exception)
VCL_EXCEPTION(EOutOfMemory, Exception)
VCL_EXCEPTION(EIntError, Exception)
VCL_EXCEPTION(ERangeError, EIntError)
VCL_EXCEPTION(EIntOverflow, EIntError)
VCL_EXCEPTION(EInvalidArgument, Exception)
VCL_EXCEPTION(EInvalidPointer, Exception)
// Property access by name (TypInfo).
VCL_EXCEPTION(EPropertyError, Exception)
VCL_EXCEPTION(EPropertyConvertError, Exception)

// One argument of Format: an integer, a character, a string, a float or a
// pointer.
struct TVarRec {
  enum TKind { vtInteger, vtChar, vtString, vtExtended, vtPointer };
  TKind Kind;
  int64_t I = 0;
  char C = 0;
  std::string S;
  double D = 0;
  const void* P = nullptr;

  TVarRec(int v) : Kind(vtInteger), I(v) {}
  TVarRec(long v) : Kind(vtInteger), I(v) {}
  TVarRec(long long v) : Kind(vtInteger), I(v) {}
  TVarRec(unsigned v) : Kind(vtInteger), I(v) {}
  TVarRec(unsigned long v) : Kind(vtInteger), I(static_cast<int64_t>(v)) {}
  TVarRec(unsigned long long v) : Kind(vtInteger), I(static_cast<int64_t>(v)) {}
  TVarRec(char v) : Kind(vtChar), C(v) {}
  TVarRec(const char* v) : Kind(vtString), S(v ? v : "") {}
  TVarRec(std::string v) : Kind(vtString), S(std::move(v)) {}
  TVarRec(double v) : Kind(vtExtended), D(v) {}
  TVarRec(const void* v) : Kind(vtPointer), P(v) {}
};

// The platform's Format: %[index:][-][width][.precision]type with the types
// d u x e f g n m p s and %%. A character argument is accepted for %s. A
// directive that does not fit its argument raises EConvertError.
std::string Format(const std::string& fmt, std::initializer_list<TVarRec> args);
std::string Format(const std::string& fmt, const std::vector<TVarRec>& args);

std::string IntToStr(int64_t value);
std::string IntToHex(int64_t value, int digits);
int32_t StrToInt(const std::string& s);  // decimal or $hex; EConvertError otherwise
bool TryStrToInt(const std::string& s, int32_t& value);
std::string UpperCase(const std::string& s);
std::string LowerCase(const std::string& s);
int CompareText(const std::string& a, const std::string& b);  // ASCII case-insensitive
bool SameText(const std::string& a, const std::string& b);
std::string Trim(const std::string& s);
bool IsValidIdent(const std::string& ident);
