// inspect.cpp: a read-only description of the focus vessel's record, for host tools that show
// a pilot what the module has built (kavrex-sim bodies). The simulator never calls it.
#include <Orbitersdk.h>

#include "../engine/propagate.h"
#include "../engine/variants.h"
#include "../model/ship_lookup.h"
#include "../model/ship_table.h"

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

// Lines, tab-separated: "SHIP name record", "SOURCE index", "TARGET index", "PREDICTIONS count"
// (the trajectories handed over to the record's displays since its claim), then one
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
    used += Append(buf, size, used, "PREDICTIONS\t%u\n", r.display.handOvers);
    for (uint32_t j = 0; j < r.bodyCount; ++j) {
        const BodyEntry &e = r.bodies[j];
        used += Append(buf, size, used, "BODY\t%u\t%s\t%u\t%u\t0x%06X\n", j, e.name, e.parent, e.moonCount,
                       static_cast<unsigned>(e.colour));
    }
    if (buf && size > 0 && used >= size) buf[size - 1] = '\0';
    return used;
}

// The focus record's last handed-over prediction (its display buffer) as CSV, for host tools
// (kavrex-sim predict, the flight picture). First "#" lines: "# variant V", "# points N",
// "# impact 0|1", "# arrivalMjd X", then "# closest NAME index distance relx rely relz" for each
// watched body; then a header row and a row per point: its MJD, the ship's position and velocity,
// and the position of every body the variant modelled (global frame, m and m/s). The point dates
// are those of the module's last computation. Returns the length of the whole text (which may
// exceed size - 1), or -1 when the focus vessel has no record or no prediction was handed over.
DLLCLBK int KavrexDescribePrediction(char *buf, int size) {
    const ShipRecord *focus = FocusShip();
    if (!focus) return -1;
    const ShipRecord &r = *focus;
    const TrajectoryBuffer &d = r.display;
    if (d.pointCount == 0) return -1;
    const VariantBodies vb = ResolveVariant(d.variant, r);
    BodyIndex modelled[1 + sizeof vb.modelled / sizeof vb.modelled[0]];  // the star and the variant's own
    int count = 0;
    modelled[count++] = 0;  // the star
    for (uint32_t i = 0; i < vb.modelledCount; ++i) modelled[count++] = vb.modelled[i];
    int used = 0;
    used += Append(buf, size, used, "# variant %d\n# points %u\n# impact %d\n# arrivalMjd %.8f\n",
                   static_cast<int>(d.variant), d.pointCount, d.impact ? 1 : 0, d.arrivalMjd);
    for (uint32_t i = 0; i < vb.watchedCount; ++i) {
        const BodyIndex b = vb.watched[i];
        const VECTOR3 &rel = d.closestRel[b];
        used += Append(buf, size, used, "# closest %s %u %.3f %.3f %.3f %.3f\n", BodyAt(r, b).name, d.closestIndex[b],
                       length(rel), rel.x, rel.y, rel.z);
    }
    used += Append(buf, size, used, "%s", "mjd,ship_x,ship_y,ship_z,ship_vx,ship_vy,ship_vz");
    for (int i = 0; i < count; ++i) {
        const char *name = BodyAt(r, modelled[i]).name;
        used += Append(buf, size, used, ",%s_x,%s_y,%s_z", name, name, name);
    }
    used += Append(buf, size, used, "%s", "\n");
    const uint32_t n = d.pointCount < kMaxPoints ? d.pointCount : kMaxPoints;
    for (uint32_t k = 0; k < n; ++k) {
        const VECTOR3 &p = d.shipTrack[k], &v = d.shipTrackVel[k];
        used += Append(buf, size, used, "%.8f,%.3f,%.3f,%.3f,%.4f,%.4f,%.4f", PredictionPointMjd(k), p.x, p.y, p.z, v.x,
                       v.y, v.z);
        for (int i = 0; i < count; ++i) {
            const VECTOR3 &q = d.bodyTrack[modelled[i]][k];
            used += Append(buf, size, used, ",%.3f,%.3f,%.3f", q.x, q.y, q.z);
        }
        used += Append(buf, size, used, "%s", "\n");
    }
    if (buf && size > 0 && used >= size) buf[size - 1] = '\0';
    return used;
}
