// kvrun: the run-time host. Runs a script of commands against the split
// package and the platform, one command a line.
#pragma once

#include <iosfwd>
#include <string>

namespace kvrun {

// Runs the script read from `in`; `fileName` names it in error messages.
// Answers go to `out`, errors to `err`. Returns the exit status: 0, or 1
// after a bad line.
int RunScript(std::istream& in, const std::string& fileName, std::ostream& out,
              std::ostream& err);

}  // namespace kvrun
