// flight_log.cpp: CSV rows of the flight log.
#include "flight_log.h"

#include "../scenario/numbers.h"

namespace kvhost {

// A text field as CSV has it: quoted, with its quotes doubled, when it holds a comma, a quote
// or a line break.
std::string CsvField(const std::string &text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string FlightLogHeader() {
    return "t_s,mjd,vessel,ref_body,altitude_m,distance_m,speed_ms,mass_kg,fuel,main_level,status\n";
}

std::string FlightLogRows(const World &world, double simt) {
    std::string out;
    for (int i = 0; i < world.VesselCount(); ++i) {
        const Vessel &v = world.vessel(i);
        const int ref = world.GravityRef(v.pos);
        const Body &b = world.body(ref < 0 ? 0 : ref);
        const double dist = length(v.pos - b.pos), speed = length(v.vel - b.vel);
        double fuel = 0, cap = 0;
        for (const Tank &t : v.tanks) {
            fuel += t.mass;
            cap += t.maxMass;
        }
        const double level = v.groups[THGROUP_MAIN].empty() ? 0 : v.thrusters[v.groups[THGROUP_MAIN][0]].level;
        out += FormatText("%.3f,%.8f,", simt, world.Mjd()) + CsvField(v.name) + "," + CsvField(b.name) +
               FormatText(",%.1f,%.1f,%.3f,%.3f,%.6f,%.6f,%s\n", dist - b.radius, dist, speed, v.Mass(),
                          cap > 0 ? fuel / cap : 0, level, StatusName(v.status));
    }
    return out;
}

}  // namespace kvhost
