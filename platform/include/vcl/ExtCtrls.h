// ExtCtrls: the extra controls unit. Frame3D draws with the canvas and is
// declared with it in Graphics; including this unit brings it in under its
// usual home.
#pragma once

#include "vcl/Graphics.h"
