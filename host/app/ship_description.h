// ship_description.h: the focus vessel's record as the plug-in describes it through its read-only
// export KavrexDescribeFocusShip: its name and record, source, target, the predictions handed
// over to its displays and its body list.
#ifndef KVHOST_APP_SHIP_DESCRIPTION_H
#define KVHOST_APP_SHIP_DESCRIPTION_H

#include <string>
#include <vector>

namespace kvhost {

class Session;

struct DescribedBody {
    std::string index, name, parent, moons, colour;   // as the plug-in wrote them
};

struct ShipDescription {
    std::string name, record;
    unsigned source = 0, target = 0;
    unsigned long predictions = 0;
    std::vector<DescribedBody> bodies;
    // The name of body `index` of the list, or "?".
    std::string NameOf(unsigned index) const { return index < bodies.size() ? bodies[index].name : "?"; }
    // The list index of the body named `name` (any letter case), or -1.
    int Find(const std::string &name) const;
};

// False when the plug-in gives no description (no export, or no record for the focus vessel).
bool DescribeFocusShip(Session &session, ShipDescription &out);

}  // namespace kvhost

#endif
