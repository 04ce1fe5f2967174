// flight_record.cpp: samples of a flight and its log.
#include "flight_record.h"

#include "../scenario/numbers.h"
#include "../world/frames.h"

#include <cmath>

namespace kvhost {

namespace {

// Distance above a body's surface and speed relative to it; zeros for no such body.
void Against(const World &w, const Vessel &v, const std::string &name, double &dist, double &speed, VECTOR3 &at) {
    const int b = name.empty() ? -1 : w.FindBody(name);
    if (b < 0) {
        dist = speed = 0;
        at = _V(0, 0, 0);
        return;
    }
    at = w.body(b).pos;
    const BodyRelative r = RelativeTo(w, v, b);
    dist = r.altitude;
    speed = r.speed;
}

// How far the nose is off the direction the display steers in (its aim and inversion), degrees.
double AttitudeError(const World &w, const Vessel &v, const DisplayReading &d) {
    const int t = d.target.empty() ? -1 : w.FindBody(d.target);
    if (t < 0) return 0;
    VECTOR3 want = d.prograde ? v.vel - w.body(t).vel : w.body(t).pos - v.pos;
    if (d.inverted) want = -want;
    const double len = length(want);
    if (!(len > 0)) return 0;
    const VECTOR3 nose = mul(v.rot, _V(0, 0, 1));
    return std::acos(std::fmax(-1.0, std::fmin(1.0, dotp(nose, want) / len))) / kDeg;
}

}  // namespace

std::string CsvField(const std::string &text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

void FlightRecord::Sample(const World &w, double simt, const DisplayReading &d, const std::string &action) {
    if (w.focus() < 0) return;
    const Vessel &v = w.vessel(w.focus());
    FlightSample s;
    s.t = simt;
    s.mjd = w.Mjd();
    s.vessel = v.name;
    s.status = StatusName(v.status);
    if (v.status != VesselStatus::Flying && v.landedOn >= 0) s.statusBody = w.body(v.landedOn).name;
    s.pos = v.pos;
    s.vel = v.vel;
    s.sunPos = w.body(0).pos;
    Against(w, v, d.source, s.sourceDist, s.sourceSpeed, s.sourcePos);
    Against(w, v, d.target, s.targetDist, s.targetSpeed, s.targetPos);
    const int source = w.FindBody(d.source), target = w.FindBody(d.target);
    if (source >= 0) s.sourceRadius = w.body(source).radius;
    if (target >= 0) s.targetRadius = w.body(target).radius;
    s.mainLevel = v.groups[THGROUP_MAIN].empty() ? 0 : v.thrusters[v.groups[THGROUP_MAIN][0]].level;
    s.propellant = v.PropellantMass();
    s.refills = v.refills;
    s.attitudeError = AttitudeError(w, v, d);
    s.display = d;
    s.action = action;
    samples_.push_back(s);
}

std::string FlightRecord::CsvHeader() {
    return "t_s,mjd,vessel,status,x_m,y_m,z_m,vx_ms,vy_ms,vz_ms,source,source_alt_m,source_speed_ms,target,"
           "target_alt_m,target_speed_ms,main_level,propellant_kg,refills,attitude_error_deg,display_pet_m,"
           "display_eta_mjd,pilot_action\n";
}

std::string FlightRecord::Csv() const {
    std::string out = CsvHeader();
    for (const FlightSample &s : samples_) {
        const DisplayReading &d = s.display;
        const std::string pet = !d.readouts ? "" : d.impact ? "IMPACT" : FormatText("%.0f", d.closest);
        out += FormatText("%.3f,%.8f,", s.t, s.mjd) + CsvField(s.vessel) +
               FormatText(",%s,%.3f,%.3f,%.3f,%.4f,%.4f,%.4f,", s.status.c_str(), s.pos.x, s.pos.y, s.pos.z, s.vel.x,
                          s.vel.y, s.vel.z) +
               CsvField(d.source) + FormatText(",%.1f,%.3f,", s.sourceDist, s.sourceSpeed) + CsvField(d.target) +
               FormatText(",%.1f,%.3f,%.6f,%.3f,%d,%.3f,", s.targetDist, s.targetSpeed, s.mainLevel, s.propellant,
                          s.refills, s.attitudeError) +
               pet + "," + (d.readouts ? FormatText("%.6f", d.etaMjd) : "") + "," + CsvField(s.action) + "\n";
    }
    return out;
}

}  // namespace kvhost
