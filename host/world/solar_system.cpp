// solar_system.cpp: masses, mean radii and orbits of the default solar system.
//
// Planets follow ERFA's planetary theory (Earth its own, more precise series) and the Moon
// ERFA's lunar theory. The other moons run on mean circular-to-slightly-eccentric orbits in
// their planet's equator plane (IAU pole directions); sizes of orbits, eccentricities and
// inclinations are the published mean values, while the phases at J2000 are approximate:
// good for where a moon is in its system, not for predicting an eclipse.
#include "solar_system.h"

#include "frames.h"

namespace kvhost {

namespace {

struct PlanetData {
    const char *name;
    double mass, radius;
    int number;                // ERFA planet number
    double poleRa, poleDec;    // degrees, J2000 equatorial
};

struct MoonData {
    const char *planet;
    const char *name;
    double mass, radius;
    double aKm, e, iDeg, meanAnomalyDeg;
};

const PlanetData kPlanets[] = {
    {"Mercury", 3.3011e23, 2.4397e6, 1, 281.01, 61.41},
    {"Venus", 4.8675e24, 6.0518e6, 2, 272.76, 67.16},
    {"Earth", 5.97237e24, 6.371e6, 3, 0.0, 90.0},
    {"Mars", 6.4171e23, 3.3895e6, 4, 317.681, 52.887},
    {"Jupiter", 1.8982e27, 6.9911e7, 5, 268.057, 64.495},
    {"Saturn", 5.6834e26, 5.8232e7, 6, 40.589, 83.537},
    {"Uranus", 8.6810e25, 2.5362e7, 7, 257.311, -15.175},
    {"Neptune", 1.02413e26, 2.4622e7, 8, 299.36, 43.46},
};

const MoonData kMoons[] = {
    {"Mars", "Phobos", 1.0659e16, 11.2667e3, 9376.0, 0.0151, 1.093, 91.0},
    {"Mars", "Deimos", 1.4762e15, 6.2e3, 23463.2, 0.00033, 0.93, 325.0},
    {"Jupiter", "Io", 8.931938e22, 1.8216e6, 421700.0, 0.0041, 0.05, 342.0},
    {"Jupiter", "Europa", 4.799844e22, 1.5608e6, 671034.0, 0.009, 0.47, 171.0},
    {"Jupiter", "Ganymede", 1.4819e23, 2.6341e6, 1070412.0, 0.0013, 0.2, 317.0},
    {"Jupiter", "Callisto", 1.075938e23, 2.4103e6, 1882709.0, 0.0074, 0.192, 181.0},
    {"Saturn", "Mimas", 3.7493e19, 198.2e3, 185539.0, 0.0196, 1.574, 14.0},
    {"Saturn", "Enceladus", 1.08022e20, 252.1e3, 237948.0, 0.0047, 0.009, 211.0},
    {"Saturn", "Tethys", 6.17449e20, 531.1e3, 294619.0, 0.0001, 1.12, 100.0},
    {"Saturn", "Dione", 1.095452e21, 561.4e3, 377396.0, 0.0022, 0.019, 285.0},
    {"Saturn", "Rhea", 2.306518e21, 763.8e3, 527108.0, 0.001, 0.345, 32.0},
    {"Saturn", "Titan", 1.3452e23, 2574.73e3, 1221870.0, 0.0288, 0.34854, 163.0},
    {"Saturn", "Iapetus", 1.805635e21, 734.5e3, 3560820.0, 0.0286, 15.47, 272.0},
    {"Uranus", "Miranda", 6.4e19, 235.8e3, 129390.0, 0.0013, 4.232, 72.0},
    {"Uranus", "Ariel", 1.251e21, 578.9e3, 191020.0, 0.0012, 0.26, 119.0},
    {"Uranus", "Umbriel", 1.275e21, 584.7e3, 266000.0, 0.0039, 0.128, 164.0},
    {"Uranus", "Titania", 3.4e21, 788.4e3, 435910.0, 0.0011, 0.34, 24.0},
    {"Uranus", "Oberon", 3.076e21, 761.4e3, 583520.0, 0.0014, 0.058, 283.0},
    {"Neptune", "Triton", 2.139e22, 1353.4e3, 354759.0, 0.000016, 156.885, 264.0},
};

}  // namespace

std::vector<Body> SolarSystemBodies() {
    std::vector<Body> bodies;
    Body sun;
    sun.name = "Sun";
    sun.mass = 1.98847e30;
    sun.radius = 6.957e8;
    bodies.push_back(sun);  // at rest at the origin: the global frame is heliocentric

    for (const PlanetData &p : kPlanets) {
        const int planetIndex = static_cast<int>(bodies.size());
        Body planet;
        planet.name = p.name;
        planet.mass = p.mass;
        planet.radius = p.radius;
        planet.parent = 0;
        planet.eph.kind = p.number == 3 ? EphemerisKind::Earth : EphemerisKind::Planet;
        planet.eph.planetNumber = p.number;
        bodies.push_back(planet);

        if (p.number == 3) {
            Body moon;
            moon.name = "Moon";
            moon.mass = 7.342e22;
            moon.radius = 1.7374e6;
            moon.parent = planetIndex;
            moon.eph.kind = EphemerisKind::Moon;
            bodies.push_back(moon);
        }
        for (const MoonData &m : kMoons) {
            if (std::string(m.planet) != p.name) continue;
            Body moon;
            moon.name = m.name;
            moon.mass = m.mass;
            moon.radius = m.radius;
            moon.parent = planetIndex;
            moon.eph.kind = EphemerisKind::Kepler;
            KeplerOrbit &o = moon.eph.orbit;
            o.a = m.aKm * 1e3;
            o.e = m.e;
            o.i = m.iDeg * kDeg;
            o.meanAnomalyEpoch = m.meanAnomalyDeg * kDeg;
            o.poleRa = p.poleRa * kDeg;
            o.poleDec = p.poleDec * kDeg;
            bodies.push_back(moon);
        }
    }
    return bodies;
}

}  // namespace kvhost
