// saved_displays.cpp: asking the open displays for their scenario lines.
#include "saved_displays.h"

#include "../scenario/block_io.h"
#include "cockpit.h"

namespace kvhost {

std::vector<SavedDisplay> SaveOpenDisplays() {
    std::vector<SavedDisplay> out;
    // Displays in external windows are not the scenario's: the simulator saves the cockpit's.
    for (int s = 0; s < kCockpitDisplays; ++s) {
        MFD *m = Slot(s).instance;
        if (!m) continue;
        BlockWriter writer;
        m->WriteStatus(writer.handle());
        out.push_back({s, "User", Slot(s).mode, writer.lines()});
    }
    return out;
}

}  // namespace kvhost
