// Properties by name: published properties through dotted paths
// (Font.Height, HorzScrollBar.Range), and the public members of a split
// that scripts read (PaneCount, Panes(I), Position...).
#pragma once

#include <string>

#include "host.h"

namespace kvrun {

// `get NAME.PATH`: the value as the platform's text form files write it.
std::string GetValue(Host& host, const std::string& path);
// `set NAME.PATH VALUE`: VALUE in the same notation.
void SetValue(Host& host, const std::string& path, const std::string& value);

}  // namespace kvrun
