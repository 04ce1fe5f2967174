// fuzz_select_g: the "Select G" box's number reader and its callback. The reading is never a
// non-number, agrees with strtod on the leading decimal number, and the acceleration the
// callback leaves is always one a scenario can save and read back.
#include "fuzz_common.h"

#include "controls/key_commands.h"
#include "host/cockpit/cockpit.h"
#include "host/world/scenes.h"
#include "model/ship_lookup.h"
#include "model/ship_table.h"

#include <cmath>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // One world and one claimed record for the whole run; each answer starts from 9.8.
    static kvhost::World *world = [] {
        auto *w = new kvhost::World;
        scenes::LowEarthOrbit(*w);
        kvhost::SetCurrentWorld(w);
        InitModule(nullptr);
        std::string error;
        if (!kvhost::OpenDisplay(0, "Kavrex", error)) fuzzing::Broken("the display does not open: " + error);
        return w;
    }();
    (void)world;
    const std::string text(reinterpret_cast<const char *>(data), size);
    const double v = kavrex::LeadingNumber(text.c_str());
    if (std::isnan(v)) fuzzing::Broken("the leading number read as NaN");
    kavrex::ShipRecord &r = kavrex::Ship(kavrex::FindShip());
    r.artGee = 9.8;
    std::vector<char> writable(text.begin(), text.end());
    writable.push_back('\0');
    kavrex::SetKvAccelClbk(nullptr, writable.data(), nullptr);
    if (!(std::fabs(r.artGee) <= static_cast<double>(std::numeric_limits<float>::max())))
        fuzzing::Broken("an acceleration beyond what a scenario reads back");
    return 0;
}
