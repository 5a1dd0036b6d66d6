// The commands that drive the screen and the mouse (screen, move, down, up,
// click, drag, scroll, cursor, pixel, png) and form files (load, save).
#pragma once

#include <map>
#include <string>

#include "commands.h"

namespace kvrun {

const std::map<std::string, Command>& ScreenCommands();

}  // namespace kvrun
