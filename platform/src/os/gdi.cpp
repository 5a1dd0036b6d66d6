// GDI objects: regions, brushes, pens and the stock objects.
#include <vcl/Windows.h>

#include "os/state.h"

using namespace os;

BOOL DeleteObject(HGDIOBJ obj) {
  GdiObject* o = FindObject(obj);
  if (!o) return FALSE;
  if (o->stock) return TRUE;  // stock objects stay
  S().objects.erase(Key(obj));
  return TRUE;
}
