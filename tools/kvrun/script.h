// The script language of kvrun: lines, comments, words and integers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvrun {

// A mistake in the script itself. It stops the run with
// "kvrun: FILE:LINE: Message" on standard error and exit status 1.
struct BadLine {
  std::string Message;
};

// The line without its comment: everything from the first `#` that is not
// inside a quoted string. Trailing blanks are removed too.
std::string StripComment(const std::string& line);

// Splits a line into words at blanks. A quoted string ('a b', '' for a
// quote) and a bracketed set ([a, b]) may hold blanks; they stay one word,
// quotes and brackets included, as the platform's text form files write
// them. An unterminated string or set is a bad line.
std::vector<std::string> SplitWords(const std::string& line);

// A word that must be an integer (decimal, or $hex as the platform reads
// integers); anything else is a bad line.
int32_t ParseInt(const std::string& word);

// A word quoted for messages: 'word'.
std::string Quoted(const std::string& word);

}  // namespace kvrun
