// formconv IN OUT [--to text|binary]: converts a form file between the
// binary and the text format. Without --to the output takes the other
// format than the input. On any error the message goes to stderr, the exit
// status is 1 and OUT is left as it was.
#include <cstdio>
#include <string>

#include "vcl/Classes.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: formconv IN OUT [--to text|binary]\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string in, out, to;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--to" && i + 1 < argc) {
      to = argv[++i];
      if (to != "text" && to != "binary") return Usage();
    } else if (a.rfind("--to=", 0) == 0) {
      to = a.substr(5);
      if (to != "text" && to != "binary") return Usage();
    } else if (in.empty()) {
      in = a;
    } else if (out.empty()) {
      out = a;
    } else {
      return Usage();
    }
  }
  if (in.empty() || out.empty()) return Usage();
  try {
    TMemoryStream source;
    source.LoadFromFile(in);
    TStreamOriginalFormat from = TestStreamFormat(&source);
    if (from == sofUnknown)
      throw EReadError("Illegal stream image: neither the signature TPF0 nor a text form "
                       "(object, inherited or inline) at offset 0");
    TStreamOriginalFormat target =
        to.empty() ? (from == sofBinary ? sofText : sofBinary) : (to == "text" ? sofText : sofBinary);
    // Through binary both ways, so that the input is checked whatever the
    // target: text to text comes out in the platform's own layout.
    TMemoryStream binary;
    if (from == sofText)
      ObjectTextToBinary(&source, &binary);
    else
      binary.LoadFromStream(&source);
    binary.SetPosition(0);
    TMemoryStream result;
    if (target == sofText) {
      ObjectBinaryToText(&binary, &result);
    } else {
      // Checked as a whole before it is written.
      TMemoryStream checked;
      ObjectBinaryToText(&binary, &checked);
      binary.SetPosition(0);
      result.LoadFromStream(&binary);
    }
    ReplaceFileContent(out, result.DataString());
  } catch (const Exception& e) {
    std::fprintf(stderr, "formconv: %s: %s\n", in.c_str(), e.Message().c_str());
    return 1;
  }
  return 0;
}
