// gdi_objects.h: the host's GDI objects (pens) with a live count, so tests can tell that a
// plug-in deletes every pen it creates.
#ifndef KVHOST_GDI_GDI_OBJECTS_H
#define KVHOST_GDI_GDI_OBJECTS_H

#include <Orbitersdk.h>

namespace kvhost {

struct Pen {
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
};

HPEN NewPen(int style, int width, COLORREF color);
bool DeletePen(HGDIOBJ obj);         // false for a null, unknown or stock handle
const Pen *ResolvePen(HGDIOBJ obj);  // null for a handle that is no live pen
HPEN StockBlackPen();                // what a fresh device context has selected
int LiveGdiObjects();                // pens created and not yet deleted

}  // namespace kvhost

#endif
