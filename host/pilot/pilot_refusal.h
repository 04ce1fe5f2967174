// pilot_refusal.h: the transfers the built-in pilot will not start, and why.
//
// Some transfers cannot be flown at all: the target is where the ship already is, or the star it
// would only fall into; the ship is on the ground, has no main engine or nothing to burn; the set
// acceleration is more than its engines give, or so small that the flight would outlast any run;
// the target is a moon whose planet pulls harder even just above its surface.
// The pilot says so at the first look at the display, instead of waiting for the run's limit or
// flying into a body.
#ifndef KVHOST_PILOT_PILOT_REFUSAL_H
#define KVHOST_PILOT_PILOT_REFUSAL_H

#include "../world/world.h"
#include "../session/display_reading.h"

#include <string>

namespace kvhost {

// Why the focus vessel cannot fly the transfer the display shows within `maxDays` (one line), or
// "" when it can. `display` must hold read-outs.
std::string WhyNoTransfer(const World &world, const DisplayReading &display, double maxDays);

}  // namespace kvhost

#endif
