// The module that holds the package's resources.
#pragma once

#include "vcl/Windows.h"

HINSTANCE ModuleInstance();
