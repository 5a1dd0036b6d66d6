// Fuzzes the form-file reader of both formats and the two conversions. Any
// input must either read or fail with a filer error; a form that reads must
// write and read again; a stream that converts to text must convert back.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ziVivire.h"

namespace {

std::string Write(TComponent* root, TStreamOriginalFormat format) {
  TMemoryStream s;
  WriteFormStream(&s, root, format);
  return s.DataString();
}

TComponent* Read(const std::string& bytes) {
  TReadOnlyMemoryStream s(bytes.data(), static_cast<int64_t>(bytes.size()));
  return ReadFormStream(&s, nullptr);
}

[[noreturn]] void Fail(const char* what, const Exception& e) {
  std::fprintf(stderr, "%s: %s: %s\n", what, e.ClassName().c_str(), e.Message().c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = [] {
    RegisterClasses({&TForm::StaticClass(), &TruVezuz::StaticClass(), &TkvQuadSplit::StaticClass(),
                     &TkvScrollPane::StaticClass(), &TScrollBox::StaticClass()});
    return true;
  }();
  (void)registered;
  std::string input(reinterpret_cast<const char*>(data), size);

  TComponent* root = nullptr;
  try {
    root = Read(input);
  } catch (const EFilerError&) {
  } catch (const Exception& e) {
    Fail("read", e);
  }
  if (root) {
    for (TStreamOriginalFormat format : {sofBinary, sofText}) {
      try {
        std::string once = Write(root, format);
        delete Read(once);
      } catch (const Exception& e) {
        Fail("write and read again", e);
      }
    }
    delete root;
  }

  TReadOnlyMemoryStream in(data, static_cast<int64_t>(size));
  TMemoryStream text;
  bool converted = false;
  try {
    ObjectBinaryToText(&in, &text);
    converted = true;
  } catch (const EFilerError&) {
  } catch (const Exception& e) {
    Fail("binary to text", e);
  }
  if (converted) {
    try {
      text.SetPosition(0);
      TMemoryStream back;
      ObjectTextToBinary(&text, &back);
    } catch (const Exception& e) {
      Fail("text back to binary", e);
    }
  }
  try {
    TReadOnlyMemoryStream t(data, static_cast<int64_t>(size));
    TMemoryStream bin;
    ObjectTextToBinary(&t, &bin);
  } catch (const EFilerError&) {
  } catch (const Exception& e) {
    Fail("text to binary", e);
  }
  return 0;
}
