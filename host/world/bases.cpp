// bases.cpp: the table of surface bases: every base of Earth, Mars and the Moon, with the pads of
// the four that ships start at (Cape Canaveral, Habana, Olympus, Brighton Beach).
#include "bases.h"

#include "frames.h"

#include <cmath>

namespace kvhost {

namespace {

const PadOffset kCanaveral[] = {{6851.61, -2367.58}, {6908.18, -2311.01}, {7070, -2234}, {7130, -2234}, {7190, -2234},
                                {7250, -2234},       {7100, -2326},       {7160, -2326}, {7220, -2326}, {7280, -2326}};
const PadOffset kHabana[] = {{60, 0}, {60, 120}, {-60, 60}, {-60, 180}};
const PadOffset kOlympus[] = {{0, 0}, {100, 0}, {200, 0}};
const PadOffset kBrighton[] = {{200, 0}, {100, -173.21}, {-100, -173.21}, {-200, 0}, {-100, 173.21}, {100, 173.21}};

const SurfaceBase kBases[] = {
    {"Earth", "Al Anbar", 43.00000, 33.50000, 1, nullptr},
    {"Earth", "Alcantara", -44.38000, -2.28000, 1, nullptr},
    {"Earth", "Baikonur", 63.33000, 45.92000, 7, nullptr},
    {"Earth", "Barent Sea", 35.30000, 69.30000, 1, nullptr},
    {"Earth", "Cape Canaveral", -80.65165, 28.58438, 10, kCanaveral},
    {"Earth", "China Lake", -117.69000, 35.69000, 1, nullptr},
    {"Earth", "Doberai", 132.50000, -1.00000, 6, nullptr},
    {"Earth", "Edwards", -117.89000, 34.92000, 2, nullptr},
    {"Earth", "Gran Canaria", -15.20000, 27.60000, 1, nullptr},
    {"Earth", "Habana", -82.40000, 23.00000, 4, kHabana},
    {"Earth", "Hammaguira", -3.08000, 34.00000, 1, nullptr},
    {"Earth", "Inyokern", -117.83000, 35.66000, 1, nullptr},
    {"Earth", "Jingyu", 126.50000, 42.20000, 1, nullptr},
    {"Earth", "Jiuquan", 100.30000, 41.10000, 1, nullptr},
    {"Earth", "Kagoshima", 131.10000, 31.25000, 1, nullptr},
    {"Earth", "Kapustin Yar", 45.80000, 48.51000, 1, nullptr},
    {"Earth", "Kourou", -52.73000, 5.20000, 4, nullptr},
    {"Earth", "Matagorda", -96.50000, 28.50000, 1, nullptr},
    {"Earth", "Mojave Spaceport", -118.15081, 35.05636, 2, nullptr},
    {"Earth", "Musudan", 129.50000, 40.50000, 1, nullptr},
    {"Earth", "Overberg", 20.32000, -34.58000, 1, nullptr},
    {"Earth", "Palmachim", 34.70000, 31.90000, 1, nullptr},
    {"Earth", "Palmdale AF Plant 42", -118.08444, 34.62944, 1, nullptr},
    {"Earth", "Peenemünde", 13.90000, 54.10000, 1, nullptr},
    {"Earth", "Plesetsk", 40.35000, 62.00000, 1, nullptr},
    {"Earth", "Salto di Quirra", 9.65000, 39.50000, 1, nullptr},
    {"Earth", "San Marco", 40.21000, -2.93000, 1, nullptr},
    {"Earth", "Sriharikota", 80.30000, 13.80000, 1, nullptr},
    {"Earth", "Svobodniy", 138.50000, 51.50000, 1, nullptr},
    {"Earth", "Taiyuan", 111.50000, 37.80000, 1, nullptr},
    {"Earth", "Tanegashima", 131.00000, 30.40000, 1, nullptr},
    {"Earth", "Vandenberg", -120.62000, 34.58000, 1, nullptr},
    {"Earth", "Wallops Island", -75.48000, 37.83000, 1, nullptr},
    {"Earth", "White Sands", -106.41953, 32.94324, 1, nullptr},
    {"Earth", "Woomera", 136.80000, -31.10000, 8, nullptr},
    {"Earth", "Wuzhai", 108.20000, 38.60000, 1, nullptr},
    {"Earth", "Xichang", 102.30000, 28.10000, 1, nullptr},
    {"Mars", "Olympus", -135.43000, 12.74000, 3, kOlympus},
    {"Moon", "Brighton Beach", -33.43750, 41.12500, 6, kBrighton},
};

}  // namespace

int BaseCount() { return static_cast<int>(sizeof kBases / sizeof kBases[0]); }
const SurfaceBase &BaseAt(int index) { return kBases[index]; }

int FindBase(const std::string &body, const std::string &name) {
    for (int i = 0; i < BaseCount(); ++i)
        if (body == kBases[i].body && name == kBases[i].name) return i;
    return -1;
}

std::string BaseNames(const std::string &body) {
    std::string names;
    for (const SurfaceBase &b : kBases)
        if (body == b.body) names += (names.empty() ? "" : ", ") + std::string(b.name);
    return names.empty() ? "none" : names;
}

bool PadPosition(int base, int pad, double radius, double &lngDeg, double &latDeg) {
    const SurfaceBase &b = kBases[base];
    if (!b.pads || pad < 0 || pad >= b.padCount || !(radius > 0)) return false;
    const double lat0 = b.latDeg * kDeg;
    lngDeg = b.lngDeg + b.pads[pad].east / (radius * std::cos(lat0)) / kDeg;
    latDeg = b.latDeg - b.pads[pad].south / radius / kDeg;
    return true;
}

int PadAt(int base, double lngDeg, double latDeg, double radius) {
    for (int p = 0; p < kBases[base].padCount; ++p) {
        double lng, lat;
        if (!PadPosition(base, p, radius, lng, lat)) return -1;
        // The great-circle angle between the two points, by the haversine (exact at metres).
        const double dLat = (lat - latDeg) * kDeg, dLng = (lng - lngDeg) * kDeg;
        const double h = std::pow(std::sin(dLat / 2), 2) +
                         std::cos(lat * kDeg) * std::cos(latDeg * kDeg) * std::pow(std::sin(dLng / 2), 2);
        if (2 * std::asin(std::sqrt(std::fmin(1.0, h))) * radius <= kPadReach) return p;
    }
    return -1;
}

}  // namespace kvhost
