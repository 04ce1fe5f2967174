// persistence.h: the display's lines in a scenario file: the bodies, the drive and steering
// switches, the acceleration, the flight clock's start, the refill count and the plot centre.
#ifndef KAVREX_CONTROLS_PERSISTENCE_H
#define KAVREX_CONTROLS_PERSISTENCE_H

#include <Orbitersdk.h>

namespace kavrex {

void WriteStatusLines(const MFD *display, FILEHANDLE scn);
void ReadStatusLines(const MFD *display, FILEHANDLE scn);

}  // namespace kavrex

#endif
