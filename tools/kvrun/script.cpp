#include "script.h"

#include "vcl/SysUtils.h"

namespace kvrun {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Index just past the quoted string that starts at `i` (a quote), or
// npos when it does not end on the line. '' inside is a quote.
size_t SkipQuoted(const std::string& s, size_t i) {
  for (++i; i < s.size(); ++i) {
    if (s[i] != '\'') continue;
    if (i + 1 < s.size() && s[i + 1] == '\'') {
      ++i;
      continue;
    }
    return i + 1;
  }
  return std::string::npos;
}

}  // namespace

std::string StripComment(const std::string& line) {
  size_t end = line.size();
  for (size_t i = 0; i < line.size();) {
    if (line[i] == '\'') {
      i = SkipQuoted(line, i);
      if (i == std::string::npos) break;  // an open quote runs to the end
      continue;
    }
    // A '#' that begins a word starts a comment; one inside a word, as in
    // the character codes of 'a'#9'b', is part of it.
    if (line[i] == '#' && (i == 0 || IsBlank(line[i - 1]))) {
      end = i;
      break;
    }
    ++i;
  }
  while (end > 0 && IsBlank(line[end - 1])) --end;
  return line.substr(0, end);
}

std::vector<std::string> SplitWords(const std::string& line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    const size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) {
      if (line[i] == '\'') {
        i = SkipQuoted(line, i);
        if (i == std::string::npos) throw BadLine{"unterminated string " + line.substr(start)};
      } else if (line[i] == '[') {
        // A set runs to its closing bracket; quotes do not occur in sets.
        i = line.find(']', i);
        if (i == std::string::npos) throw BadLine{"unterminated set " + line.substr(start)};
        ++i;
      } else {
        ++i;
      }
    }
    words.push_back(line.substr(start, i - start));
  }
  return words;
}

int32_t ParseInt(const std::string& word) {
  int32_t value = 0;
  if (!TryStrToInt(word, value)) throw BadLine{"expected an integer, got " + Quoted(word)};
  return value;
}

std::string Quoted(const std::string& word) { return "'" + word + "'"; }

}  // namespace kvrun
