// The command table: one entry a command word. A new command is one more
// entry in Commands() (commands.cpp), with its usage and its handler.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host.h"

namespace kvrun {

// What a handler gets of its line.
struct CommandLine {
  std::vector<std::string> Args;  // the words after the command word
  std::string Rest;               // the text after the command word, as is
};

struct Command {
  // "form NAME W H": shown in the message for a wrong number of arguments.
  std::string Usage;
  // Accepted numbers of arguments; with MoreArgs the last one or more.
  std::vector<size_t> ArgCounts;
  bool MoreArgs = false;
  // The line is not split into words: the handler reads Rest only.
  bool Raw = false;
  std::function<void(Host&, const CommandLine&)> Run;
};

const std::map<std::string, Command>& Commands();

}  // namespace kvrun
