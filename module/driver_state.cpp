// driver_state.cpp: storage of the driver's scratch values.
#include "driver_state.h"

namespace kavrex {

DriverScratch &Driver() {
    static DriverScratch scratch;
    return scratch;
}

}  // namespace kavrex
