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
// How each body turns: the simulator's own rotation keys for Sol (period s, offset, obliquity,
// node rad, node epoch MJD, precession period days, the precession plane's obliquity and node
// rad, and the offset's epoch MJD: J2000, or the epoch of a body's own elements). The Sun does
// not turn.
struct SpinData {
    const char *name;
    BodySpin spin;
};
const SpinData kSpins[] = {
    {"Mercury",
     {5067034.512, 0.2687078469, 0.0005931973805, 1.674482844, 51544.5, 995828.2664, 0.1224024085, 3.981463274,
      51544.5}},
    {"Venus", {-20996797.02, 3.88425353, 0.021624781, 5.2392469, 51544.5, 0, 0, 0, 51544.5}},
    {"Earth", {86164.10132, 4.88948754, 0.4090928023, 0, 51544.5, -9413040.4, 0, 0, 51544.5}},
    {"Moon",
     {2360588.15, 4.769465382, 0.02692416821, 1.71817749, 51544.5, -6793.219721, 7.259562816e-005, 0.4643456618,
      51544.5}},
    {"Mars",
     {88642.66435, 5.469523488, 0.4397415938, 0.6210531483, 51544.5, -63346652.48, 0.03224369545, 4.005081124,
      51544.5}},
    {"Phobos",
     {27553.83426, 0.8064220017, 0.01884736041, 2.245404188, 51544.5, -826.1311277, 0.4661704238, 4.588488707,
      51544.5}},
    {"Deimos",
     {109074.8814, 3.599771213, 0.03115720981, 0.2163181082, 51544.5, -19884.23365, 0.4589623041, 4.569919137,
      51544.5}},
    {"Vesta", {19231.2, 0, 0, 0, 51544.5, 0, 0, 0, 57000.0}},
    {"Jupiter",
     {13500.3, 2.547801285, 0.05443758224, 3.782814532, 51544.5, -307703725.6, 0.02276340837, 4.89539507, 51544.5}},
    {"Io",
     {152853.506, 2.169807268, 0.0007158076383, 4.827733947, 51544.5, -2709.88714, 0.03862112021, 2.752126974,
      51544.5}},
    {"Europa",
     {306822.0426, 0.5605039539, 0.008222590226, 3.563591024, 51544.5, -11039.37946, 0.03850569528, 2.757292625,
      51544.5}},
    {"Ganymede",
     {618153.392, 3.108625682, 0.003586356781, 1.158827505, 51544.5, -59680.16005, 0.0364452334, 2.756178785, 51544.5}},
    {"Callisto",
     {1441931.166, 2.328487678, 0.001338326951, 5.710093035, 51544.5, -46835.47552, 0.03484245943, 2.753487439,
      51544.5}},
    {"Saturn",
     {38362.40004, 3.043083327, 0.4665349048, 1.046172688, 51544.5, -1038685047, 0.04338756247, 5.125198679, 51544.5}},
    {"Mimas",
     {81425.19448, 5.964398744, 0.02675924911, 2.40081579, 51544.5, -360.1925111, 0.4907328363, 6.098767912, 51544.5}},
    {"Enceladus",
     {118386.8429, 2.20266978, 0.0003257287259, 0.2921766171, 51544.5, -764016.6292, 0.4896074646, 6.100028102,
      51544.5}},
    {"Tethys",
     {163106.1062, 4.370713573, 0.01904221653, 4.539459438, 51544.5, -1819.770128, 0.4902760331, 6.099574885, 51544.5}},
    {"Dione",
     {236469.5055, 1.730032333, 0.0006272896786, 0.663789478, 51544.5, -1715867.804, 0.4894221523, 6.099400119,
      51544.5}},
    {"Rhea",
     {390312.2289, 1.22441763, 0.006183031585, 5.32513397, 51544.5, -12945.41576, 0.4919939866, 6.094968867, 51544.5}},
    {"Titan",
     {1377686.736, 5.891272887, 0.005036124126, 6.076172269, 51544.5, -242410.2823, 0.4791409942, 6.09722072, 51544.5}},
    {"Hyperion", {119600, 0, 0.4895, 6.09808, 51544.5, 0, 0, 0, 55197.0}},
    {"Iapetus",
     {6854343.081, 2.129843522, 0.2792493401, 4.422070305, 51544.5, -2357905.863, 0.2231254157, 0.390942395, 51544.5}},
    {"Uranus", {-62064, 0.5200623232, 1.436025521, 2.925986535, 51544.5, 0, 0, 0, 51544.5}},
    {"Miranda",
     {-122124.5308, 2.320240846, 0.07423572721, 1.444762288, 51544.5, 6495.828751, 1.434522409, 2.927884137, 51544.5}},
    {"Ariel",
     {-217760.7347, 1.745551793, 0.004973358248, 4.210000234, 51544.5, 257654.6889, 1.434574403, 2.927971096, 51544.5}},
    {"Umbriel",
     {-358056.8261, 0.9982461153, 0.00349985134, 4.116612467, 51544.5, 140917.7226, 1.434576005, 2.927843972, 51544.5}},
    {"Titania",
     {-752186.7721, 1.022146216, 0.004887419808, 3.563729957, 51544.5, 174445.4332, 1.434546704, 2.927884294, 51544.5}},
    {"Oberon",
     {-1163223.242, 4.639499899, 0.002746236454, 4.990921993, 51544.5, 26064.42255, 1.434545402, 2.927886186, 51544.5}},
    {"Neptune", {57996, 0.85660503, 0.49712071, 3.99252511, 51544.5, 0, 0, 0, 51544.5}},
    {"Triton", {-507760.19, 1.79136584, 0.02692416821, -0.4656, 51544.5, 251338, 0.48928, 4.0001, 55197.0}},
    {"Proteus", {96968.016, 4.35902303, 0.50476492, 3.98195745, 51544.5, 0, 0, 0, 53917.0}},
    {"Nereid", {41472.0, 0, 0.51452, 2.29898, 51544.5, 0, 0, 0, 53917.0}},
};

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
    for (Body &b : bodies)
        for (const SpinData &d : kSpins)
            if (b.name == d.name) b.spin = d.spin;
    SortByMass(bodies);
    return bodies;
}

}  // namespace kvhost
