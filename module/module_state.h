// module_state.h: module-wide values shared by every record and display: the registered mode,
// the three pens of the plot and the line step of the display text.
#ifndef KAVREX_MODULE_MODULE_STATE_H
#define KAVREX_MODULE_MODULE_STATE_H

#include <Orbitersdk.h>

namespace kavrex {

struct ModuleState {
    int modeId;
    HPEN whitePen;
    HPEN trajectoryPen;      // solid: drive engaged
    HPEN trajectoryDotPen;   // dotted: drive off
    unsigned lineHeight;     // display height / kPageLines of the last display opened
};

ModuleState &Module();

}  // namespace kavrex

#endif
