// projection.cpp: the view rows of the plot.
#include "projection.h"

namespace kavrex {

ViewRows &Projection() {
    static ViewRows rows = {{{1, 0, 0}}, {{0, 0, 1}}};
    return rows;
}

void SetProjection(int /*ship*/, bool flag) {
    if (flag) return;   // the orbit-plane view is set by the plot's orbit-plane computation
    Projection().x = _V(1, 0, 0);
    Projection().y = _V(0, 0, 1);
}

}  // namespace kavrex
