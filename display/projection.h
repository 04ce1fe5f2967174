// projection.h: the plot's two view rows. A global vector p is drawn at x along viewRowX . p
// and up along viewRowY . p; the ecliptic view looks down on the x-z plane.
#ifndef KAVREX_DISPLAY_PROJECTION_H
#define KAVREX_DISPLAY_PROJECTION_H

#include <Orbitersdk.h>

namespace kavrex {

struct ViewRows {
    VECTOR3 x;
    VECTOR3 y;
};

ViewRows &Projection();

// Flag false: the ecliptic view. Flag true: the plane of the ship's orbit about its target.
void SetProjection(int ship, bool flag);

}  // namespace kavrex

#endif
