// RunScript: reads the script line by line, looks each command word up in
// the command table, runs its handler and then the message loop.
#include "kvrun.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "commands.h"
#include "host.h"
#include "script.h"

namespace kvrun {

namespace {

// The command word and what follows it; nothing for a blank line.
bool ParseLine(const std::string& raw, std::string& word, CommandLine& line, const Command*& cmd) {
  const std::string text = StripComment(raw);
  const size_t start = text.find_first_not_of(" \t");
  if (start == std::string::npos) return false;
  const size_t end = std::min(text.find_first_of(" \t", start), text.size());
  word = text.substr(start, end - start);
  auto it = Commands().find(word);
  if (it == Commands().end()) throw BadLine{"unknown command " + Quoted(word)};
  cmd = &it->second;
  const size_t rest = text.find_first_not_of(" \t", end);
  line.Rest = rest == std::string::npos ? "" : text.substr(rest);
  if (cmd->Raw) return true;
  line.Args = SplitWords(line.Rest);
  const size_t n = line.Args.size();
  const auto& counts = cmd->ArgCounts;
  const bool ok = std::find(counts.begin(), counts.end(), n) != counts.end() ||
                  (cmd->MoreArgs && !counts.empty() && n >= counts.back());
  if (!ok) throw BadLine{"wrong number of arguments for " + word + " (usage: " + cmd->Usage + ")"};
  return true;
}

// Runs one line. What the system under test raises is reported and the run
// goes on; a BadLine leaves through the caller.
void RunLine(Host& host, const std::string& raw) {
  std::string word;
  CommandLine line;
  const Command* cmd = nullptr;
  if (!ParseLine(raw, word, line, cmd)) return;
  try {
    cmd->Run(host, line);
  } catch (const Exception& e) {
    host.Report(e);
  }
  // What the command caused (messages, paints) happens before the next line.
  // Message handlers' exceptions reach Application->OnException; this catches
  // what leaves the loop itself.
  try {
    os::ProcessMessages();
  } catch (const Exception& e) {
    host.Report(e);
  }
}

}  // namespace

int RunScript(std::istream& in, const std::string& fileName, std::ostream& out,
              std::ostream& err) {
  Host host(out);
  std::string raw;
  int lineNo = 0;
  while (std::getline(in, raw)) {
    ++lineNo;
    try {
      RunLine(host, raw);
    } catch (const BadLine& bad) {
      err << "kvrun: " << fileName << ':' << lineNo << ": " << bad.Message << '\n';
      return 1;  // the host frees its forms on the way out
    } catch (const std::exception& e) {
      // Not one of the platform's exceptions: a fault of the system.
      err << "kvrun: " << fileName << ':' << lineNo << ": unexpected exception: " << e.what()
          << '\n';
      return 1;
    }
  }
  return 0;
}

}  // namespace kvrun
