// fuzz_display_block: a Kavrex display's scenario block, read through ReadStatus on a vessel in
// low Earth orbit. The record keeps its indices within its list and its acceleration a number;
// the lines it then writes read back to the same lines.
#include "fuzz_common.h"

#include "host/cockpit/cockpit.h"
#include "host/gdi/gdi_objects.h"
#include "host/scenario/block_io.h"
#include "host/world/scenes.h"
#include "engine/body_list.h"
#include "model/ship_lookup.h"
#include "model/ship_table.h"

#include <cmath>

namespace {

std::vector<std::string> Written(MFD *display) {
    kvhost::BlockWriter w;
    display->WriteStatus(w.handle());
    return w.lines();
}

void Read(MFD *display, const std::vector<std::string> &lines) {
    kvhost::BlockReader r(lines);
    display->ReadStatus(r.handle());
}

}  // namespace

// One world and one claimed record for the whole run (a claim allocates two full trajectory
// buffers); each input starts from the record as a fresh claim leaves it.
struct Cockpit {
    kvhost::World world;
    MFD *display = nullptr;
    int ship = -1;
    Cockpit() {
        scenes::LowEarthOrbit(world);
        kvhost::SetCurrentWorld(&world);
        InitModule(nullptr);
        std::string error;
        if (!kvhost::OpenDisplay(0, "Kavrex", error)) fuzzing::Broken("the display does not open: " + error);
        display = kvhost::Slot(0).instance;
        ship = kavrex::FindShip();
    }
    void Fresh() {
        kavrex::ResetShipRecord(kavrex::Ship(ship), true);
        kavrex::RebuildBodyList(kavrex::Ship(ship));
        kavrex::SelectReferenceBody(kavrex::Ship(ship));
        kavrex::Ship(ship).ejectMjd = 0;
        kavrex::Entry(ship, 0).centerBody = kavrex::Ship(ship).sourceBody;
    }
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static Cockpit cockpit;
    cockpit.Fresh();
    const int pensBefore = kvhost::LiveGdiObjects();
    MFD *display = cockpit.display;
    Read(display, fuzzing::Lines(data, size));
    const kavrex::ShipRecord &r = kavrex::Ship(cockpit.ship);
    if (r.sourceBody >= r.bodyCount || r.targetBody >= r.bodyCount ||
        kavrex::Entry(cockpit.ship, 0).centerBody >= r.bodyCount)
        fuzzing::Broken("an index beyond the body list");
    if (!std::isfinite(r.artGee) || !std::isfinite(r.ejectMjd)) fuzzing::Broken("a setting that is not a number");
    const std::vector<std::string> first = Written(display);
    Read(display, first);
    if (Written(display) != first) fuzzing::Broken("the written lines do not read back to themselves");
    // A rebuilt list keeps one pen pair per body: no more than the list and the module's own.
    int pens = 3;
    for (const kavrex::BodyEntry &b : r.bodies) pens += (b.solidPen != nullptr) + (b.dotPen != nullptr);
    if (kvhost::LiveGdiObjects() > pens ||
        kvhost::LiveGdiObjects() > pensBefore + 2 * static_cast<int>(kavrex::kMaxBodies))
        fuzzing::Broken("pens leak as the list is rebuilt");
    return 0;
}
