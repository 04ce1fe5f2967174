// ships_page.cpp: the ships page (display mode 4): every claimed vessel with its source,
// target, progress and status strip, then the focus vessel's settings and body list.
#include "ships_page.h"

#include "../engine/catalogue.h"
#include "../model/ship_lookup.h"
#include "../model/ship_table.h"
#include "draw_state.h"
#include "page.h"
#include "status_strip.h"

#include <cstdio>
#include <cstring>

namespace kavrex {

void DrawShipsPage(const ShipRecord &focus, const MfdEntry &e, DWORD cw) {
    const ptrdiff_t k = &e - focus.mfds;
    DrawLine(kLabelX, kGreen, "%s %u", "SHIPS", ShipCount());
    NextLine();
    for (const ShipRecord &r : ClaimedShips()) {
        const char *name = r.vessel ? r.vessel->GetName() : nullptr;
        DrawLine(kLabelX, &r == &focus ? kWhite : BodyAt(r, r.targetBody).colour, " %s->%s->%s %3.1f%c",
                 BodyAt(r, r.sourceBody).name, name ? name : "?", BodyAt(r, r.targetBody).name, TripProgress(r), '%');
        NextLine();
        DrawStatusStrip(r, r.mfds[k], cw);
    }
    DrawLine(kLabelX, kCyan, "LUN:%s STP:%u SUP:%s TRJ:%02d", focus.lunaAlways ? "ALWZ" : "NORM", focus.numSteps,
             focus.superthrust != 0 ? "ON" : "OFF", focus.display.variant);
    NextLine();
    const SystemCatalogue &cat = Catalogue();
    DrawLine(kLabelX, focus.bodies[0].colour, "%s Pl:%u Mo:%u", cat.starName, cat.planetCount, cat.moonTotal);
    NextLine();
    for (uint32_t i = 1; i < focus.bodyCount; ++i) {
        const BodyEntry &b = focus.bodies[i];
        if (b.parent == 0)
            DrawLine(kLabelX, b.colour, " %s[%u]", b.name, b.moonCount);
        else
            DrawLine(kLabelX, b.colour, " %s", b.name);
        NextLine();
        if (!focus.includeMoons || b.moonCount == 0) continue;
        // The moons follow their planet in the list: four names on the first line, five on
        // each later one. The line is built cut to the line buffer.
        char moons[kLineBuffer] = " ";
        const uint32_t count = b.moonCount < focus.bodyCount - i - 1 ? b.moonCount : focus.bodyCount - i - 1;
        for (uint32_t j = 1; j <= count; ++j) {
            if (j % 5 == 0) {
                DrawLine(kLabelX, b.colour, "%s", moons);
                NextLine();
                std::strcpy(moons, " ");
            }
            const size_t used = std::strlen(moons);
            std::snprintf(moons + used, sizeof moons - used, "%s.", focus.bodies[i + j].name);
        }
        DrawLine(kLabelX, b.colour, "%s", moons);
        NextLine();
        i += count;
    }
}

}  // namespace kavrex
