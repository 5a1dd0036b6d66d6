#include "module.h"

// The run-time unit's resources (its cursors) are linked in as the module
// "ziVivire"; its instance handle is looked up once it is needed.
HINSTANCE ModuleInstance() { return os::ModuleHandle("ziVivire"); }
