// frames.cpp: frame conversions and rotation helpers (see frames.h).
#include "frames.h"

#include <cmath>

namespace kvhost {

VECTOR3 EquatorialToGlobal(const double v[3]) {
    const double c = std::cos(kObliquityJ2000), s = std::sin(kObliquityJ2000);
    // Right-handed ecliptic first, then swap y and z for the left-handed global frame.
    const double ex = v[0];
    const double ey = c * v[1] + s * v[2];
    const double ez = -s * v[1] + c * v[2];
    return _V(ex, ez, ey);
}

void EquatorialPvToGlobal(const double pv[2][3], VECTOR3 &pos, VECTOR3 &vel) {
    pos = EquatorialToGlobal(pv[0]) * kAu;
    vel = EquatorialToGlobal(pv[1]) * (kAu / kDay);
}

MATRIX3 IdentityMatrix() {
    MATRIX3 m = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
    return m;
}

MATRIX3 MatrixProduct(const MATRIX3 &a, const MATRIX3 &b) {
    MATRIX3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double s = 0;
            for (int k = 0; k < 3; ++k) s += a.data[3 * i + k] * b.data[3 * k + j];
            r.data[3 * i + j] = s;
        }
    return r;
}

MATRIX3 Transpose(const MATRIX3 &m) {
    MATRIX3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r.data[3 * i + j] = m.data[3 * j + i];
    return r;
}

MATRIX3 RotationFromEuler(const VECTOR3 &angles) {
    const double ca = std::cos(angles.x), sa = std::sin(angles.x);
    const double cb = std::cos(angles.y), sb = std::sin(angles.y);
    const double cc = std::cos(angles.z), sc = std::sin(angles.z);
    const MATRIX3 rx = {{1, 0, 0, 0, ca, sa, 0, -sa, ca}};
    const MATRIX3 ry = {{cb, 0, -sb, 0, 1, 0, sb, 0, cb}};
    const MATRIX3 rz = {{cc, sc, 0, -sc, cc, 0, 0, 0, 1}};
    return MatrixProduct(MatrixProduct(rx, ry), rz);
}

VECTOR3 EulerFromRotation(const MATRIX3 &m) {
    // From R = Rx(a) Ry(b) Rz(c): m13 = -sin b, m11 = cos b cos c, m12 = cos b sin c,
    // m23 = sin a cos b, m33 = cos a cos b.
    const double b = std::asin(std::fmax(-1.0, std::fmin(1.0, -m.m13)));
    const double a = std::atan2(m.m23, m.m33);
    const double c = std::atan2(m.m12, m.m11);
    return _V(a, b, c);
}

}  // namespace kvhost
