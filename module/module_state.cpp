// module_state.cpp: storage of the module-wide values.
#include "module_state.h"

namespace kavrex {

ModuleState &Module() {
    static ModuleState state;
    return state;
}

}  // namespace kavrex
