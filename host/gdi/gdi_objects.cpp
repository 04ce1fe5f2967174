// gdi_objects.cpp: pen storage and the live count.
#include "gdi_objects.h"

#include "gdi_globals.h"

namespace kvhost {

namespace {

std::unordered_map<const void *, std::unique_ptr<Pen>> &Pens() { return HostGdi().pens; }

}  // namespace

HPEN NewPen(int style, int width, COLORREF color) {
    std::unique_ptr<Pen> pen(new Pen{style, width, color});
    HPEN handle = reinterpret_cast<HPEN>(pen.get());
    Pens()[pen.get()] = std::move(pen);
    return handle;
}

bool DeletePen(HGDIOBJ obj) {
    if (!obj) return false;
    return Pens().erase(obj) > 0;
}

const Pen *ResolvePen(HGDIOBJ obj) {
    const Pen &stock = HostGdi().stockBlack;
    if (obj == &stock) return &stock;
    auto it = Pens().find(obj);
    return it == Pens().end() ? nullptr : it->second.get();
}

HPEN StockBlackPen() { return reinterpret_cast<HPEN>(&HostGdi().stockBlack); }

int LiveGdiObjects() { return static_cast<int>(Pens().size()); }

}  // namespace kvhost
