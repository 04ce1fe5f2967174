// solar_system.cpp: masses, mean radii and orbits of the default solar system.
//
// The simulator's system "Sol": the Sun, eight planets, Vesta and 23 moons, with the
// simulator's masses and radii, handed out by decreasing mass as the simulator hands them out,
// about the solar system's barycentre. Planets follow ERFA's planetary theory (Earth its own,
// more precise series), the Sun ERFA's barycentric series and the Moon ERFA's lunar theory.
// The other moons and Vesta run on mean orbits (moons in their planet's equator plane, IAU pole
// directions; Vesta in the ecliptic); sizes of orbits, eccentricities and inclinations are the
// published mean values, while the phases at J2000 are approximate: good for where a moon is
// in its system, not for predicting an eclipse.
#include "solar_system.h"

#include "frames.h"

#include <algorithm>

namespace kvhost {

namespace {

struct PlanetData {
    const char *name;
    double mass, radius;
    int number;              // ERFA planet number
    double poleRa, poleDec;  // degrees, J2000 equatorial
};

struct MoonData {
    const char *planet;
    const char *name;
    double mass, radius;
    double aKm, e, iDeg, meanAnomalyDeg;
};

// The simulator's own masses and mean radii (its system "Sol"), so that every distance above a
// surface and every pull agrees with what a pilot sees there.
const PlanetData kPlanets[] = {
    {"Mercury", 3.301880e+23, 2.4394e6, 1, 281.01, 61.41},     {"Venus", 4.86855374e+24, 6.05184e6, 2, 272.76, 67.16},
    {"Earth", 5.973698968e+24, 6.37101e6, 3, 0.0, 90.0},       {"Mars", 6.418542e+23, 3.39e6, 4, 317.681, 52.887},
    {"Jupiter", 1.8986111e+27, 6.9911e+7, 5, 268.057, 64.495}, {"Saturn", 5.6846272e+26, 5.8232e7, 6, 40.589, 83.537},
    {"Uranus", 8.6832054e+25, 2.5362e7, 7, 257.311, -15.175},  {"Neptune", 1.024569e+26, 2.4624e7, 8, 299.36, 43.46},
};

const MoonData kMoons[] = {
    {"Mars", "Phobos", 10.8e15, 11.1e3, 9376.0, 0.0151, 1.093, 91.0},
    {"Mars", "Deimos", 1.8e15, 6.5e3, 23463.2, 0.00033, 0.93, 325.0},
    {"Jupiter", "Io", 8.933e22, 1.821e6, 421700.0, 0.0041, 0.05, 342.0},
    {"Jupiter", "Europa", 4.797e22, 1.565e6, 671034.0, 0.009, 0.47, 171.0},
    {"Jupiter", "Ganymede", 1.482e23, 2.634e6, 1070412.0, 0.0013, 0.2, 317.0},
    {"Jupiter", "Callisto", 1.076e23, 2.403e6, 1882709.0, 0.0074, 0.192, 181.0},
    {"Saturn", "Mimas", 3.80e19, 1.96e5, 185539.0, 0.0196, 1.574, 14.0},
    {"Saturn", "Enceladus", 7.30e19, 2.49e5, 237948.0, 0.0047, 0.009, 211.0},
    {"Saturn", "Tethys", 6.22e20, 5.30e5, 294619.0, 0.0001, 1.12, 100.0},
    {"Saturn", "Dione", 1.05e21, 5.60e5, 377396.0, 0.0022, 0.019, 285.0},
    {"Saturn", "Rhea", 2.49e21, 7.64e5, 527108.0, 0.001, 0.345, 32.0},
    {"Saturn", "Titan", 1.35e23, 2.575e6, 1221870.0, 0.0288, 0.34854, 163.0},
    {"Saturn", "Hyperion", 1.77e19, 143e3, 1481010.0, 0.1230, 0.43, 296.0},
    {"Saturn", "Iapetus", 1.6e21, 7.30e5, 3560820.0, 0.0286, 15.47, 272.0},
    {"Uranus", "Miranda", 6.33e19, 235.8e3, 129390.0, 0.0013, 4.232, 72.0},
    {"Uranus", "Ariel", 1.27e21, 578.9e3, 191020.0, 0.0012, 0.26, 119.0},
    {"Uranus", "Umbriel", 1.27e21, 584.7e3, 266000.0, 0.0039, 0.128, 164.0},
    {"Uranus", "Titania", 3.49e21, 788.9e3, 435910.0, 0.0011, 0.34, 24.0},
    {"Uranus", "Oberon", 3.03e21, 761.4e3, 583520.0, 0.0014, 0.058, 283.0},
    {"Neptune", "Triton", 2.14e22, 1.3525e6, 354759.0, 0.000016, 156.885, 264.0},
    {"Neptune", "Proteus", 2.346e19, 200e3, 117647.0, 0.0005, 0.524, 93.0},
    {"Neptune", "Nereid", 1.317e19, 165e3, 5513818.0, 0.7507, 7.09, 318.0},
};

// Vesta, the one body of the belt the simulator carries, on mean heliocentric elements in the
// ecliptic (the phase is approximate, as the moons' are).
struct MinorPlanetData {
    const char *name;
    double mass, radius;
    double aAu, e, iDeg, nodeDeg, argPeriDeg, meanAnomalyDeg;
};
const MinorPlanetData kVesta = {"Vesta", 2.59076e20, 2.6157e5, 2.3615, 0.0887, 7.140, 103.85, 151.20, 20.86};
constexpr double kAuMetres = 1.495978707e11;
constexpr double kEclipticPoleRa = 270.0, kEclipticPoleDec = 66.560708888889;  // degrees, J2000

// The order the simulator hands bodies out in: by mass, heaviest first (ties in load order);
// parents keep pointing at their bodies.
void SortByMass(std::vector<Body> &bodies) {
    std::vector<size_t> order(bodies.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return bodies[a].mass > bodies[b].mass; });
    std::vector<int> newIndex(bodies.size());
    for (size_t k = 0; k < order.size(); ++k) newIndex[order[k]] = static_cast<int>(k);
    std::vector<Body> sorted;
    for (size_t k : order) {
        Body b = bodies[k];
        if (b.parent >= 0) b.parent = newIndex[static_cast<size_t>(b.parent)];
        sorted.push_back(b);
    }
    bodies = sorted;
}

}  // namespace

namespace {

Body NamedBody(const char *name, double mass, double radius, int parent) {
    Body b;
    b.name = name;
    b.mass = mass;
    b.radius = radius;
    b.parent = parent;
    return b;
}

Body PlanetBody(const PlanetData &p) {
    Body planet = NamedBody(p.name, p.mass, p.radius, 0);
    planet.eph.kind = p.number == 3 ? EphemerisKind::Earth : EphemerisKind::Planet;
    planet.eph.planetNumber = p.number;
    return planet;
}

// A moon on a fixed Kepler orbit about its planet's equator.
Body KeplerMoon(const MoonData &m, const PlanetData &p, int planetIndex) {
    Body moon = NamedBody(m.name, m.mass, m.radius, planetIndex);
    moon.eph.kind = EphemerisKind::Kepler;
    KeplerOrbit &o = moon.eph.orbit;
    o.a = m.aKm * 1e3;
    o.e = m.e;
    o.i = m.iDeg * kDeg;
    o.meanAnomalyEpoch = m.meanAnomalyDeg * kDeg;
    o.poleRa = p.poleRa * kDeg;
    o.poleDec = p.poleDec * kDeg;
    return moon;
}

// Vesta on a fixed Kepler orbit about the Sun, in the ecliptic's axes.
Body VestaBody() {
    Body vesta = NamedBody(kVesta.name, kVesta.mass, kVesta.radius, 0);
    vesta.eph.kind = EphemerisKind::Kepler;
    KeplerOrbit &o = vesta.eph.orbit;
    o.a = kVesta.aAu * kAuMetres;
    o.e = kVesta.e;
    o.i = kVesta.iDeg * kDeg;
    o.node = kVesta.nodeDeg * kDeg;
    o.argPeri = kVesta.argPeriDeg * kDeg;
    o.meanAnomalyEpoch = kVesta.meanAnomalyDeg * kDeg;
    o.poleRa = kEclipticPoleRa * kDeg;
    o.poleDec = kEclipticPoleDec * kDeg;
    return vesta;
}

}  // namespace

std::vector<Body> SolarSystemBodies() {
    std::vector<Body> bodies;
    Body sun = NamedBody("Sun", 1.9889194444e+30, 6.96e8, -1);
    sun.eph.kind = EphemerisKind::Sun;  // about the barycentre of the solar system
    bodies.push_back(sun);

    // In the simulator's load order: each planet followed by its moons, Vesta after Mars.
    for (const PlanetData &p : kPlanets) {
        const int planetIndex = static_cast<int>(bodies.size());
        bodies.push_back(PlanetBody(p));
        if (p.number == 3) {
            Body moon = NamedBody("Moon", 7.347673176382784e+22, 1.738e6, planetIndex);
            moon.eph.kind = EphemerisKind::Moon;
            bodies.push_back(moon);
        }
        for (const MoonData &m : kMoons)
            if (std::string(m.planet) == p.name) bodies.push_back(KeplerMoon(m, p, planetIndex));
        if (p.number == 4) bodies.push_back(VestaBody());
    }
    SortByMass(bodies);
    return bodies;
}

}  // namespace kvhost
