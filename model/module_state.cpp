// module_state.cpp: storage of the module-wide state and its reset.
#include "module_state.h"

#include "ship_table.h"

#include <cstring>
#include <type_traits>

namespace kavrex {

static_assert(std::is_trivial<ModuleState>::value, "the module state is plain data: the reset clears it whole");

ModuleState &Module() {
    static ModuleState state;
    return state;
}

void ResetModuleState() {
    ClearShipTable();
    ModuleState &s = Module();
    std::memset(&s, 0, sizeof s);
    s.view.x = _V(1, 0, 0);
    s.view.y = _V(0, 0, 1);
    s.computation.record = nullptr;
    s.computation.weightFactor = 1;
}

void ResetSessionState() {
    const ModuleState &s = Module();
    const int modeId = s.modeId;
    HPEN white = s.whitePen, trajectory = s.trajectoryPen, dotted = s.trajectoryDotPen;
    ResetModuleState();
    ModuleState &t = Module();
    t.modeId = modeId;
    t.whitePen = white;
    t.trajectoryPen = trajectory;
    t.trajectoryDotPen = dotted;
}

}  // namespace kavrex
