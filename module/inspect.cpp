// inspect.cpp: a read-only description of the focus vessel's record, for host tools that show
// a pilot what the module has built (kavrex-sim bodies). The simulator never calls it.
#include <Orbitersdk.h>

#include "ship_lookup.h"
#include "ship_table.h"

#include <cstdio>

using namespace kavrex;

namespace {

// Appends formatted text at `used`, never past `size`; returns the length it needed.
template <typename... Args>
int Append(char *buf, int size, int used, const char *format, Args... args) {
    char *at = (buf && used < size) ? buf + used : nullptr;
    const int room = (buf && used < size) ? size - used : 0;
    const int n = std::snprintf(at, static_cast<size_t>(room), format, args...);
    return n < 0 ? 0 : n;
}

}  // namespace

// Lines, tab-separated: "SHIP name record", "SOURCE index", "TARGET index", then one
// "BODY index name parent moonCount colour" per list entry (colour as 0xBBGGRR). Returns the
// length of the whole text (which may exceed size - 1, as snprintf does), or -1 when the focus
// vessel has no record.
DLLCLBK int KavrexDescribeFocusShip(char *buf, int size) {
    const int ship = FindShip();
    if (ship == kNone) return -1;
    const ShipRecord &r = Ship(ship);
    const char *name = r.vessel->GetName();
    int used = 0;
    used += Append(buf, size, used, "SHIP\t%s\t%d\n", name ? name : "", ship);
    used += Append(buf, size, used, "SOURCE\t%u\n", r.sourceBody);
    used += Append(buf, size, used, "TARGET\t%u\n", r.targetBody);
    for (uint32_t j = 0; j < r.bodyCount; ++j) {
        const BodyEntry &e = r.bodies[j];
        used += Append(buf, size, used, "BODY\t%u\t%s\t%u\t%u\t0x%06X\n", j, e.name, e.parent,
                       e.moonCount, static_cast<unsigned>(e.colour));
    }
    if (buf && size > 0 && used >= size) buf[size - 1] = '\0';
    return used;
}
