// scenario_write.cpp: scenario text from the running state.
#include "scenario_write.h"

#include "numbers.h"

#include "../world/bases.h"
#include "../world/frames.h"
#include "block_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace kvhost {

namespace {

// A state relative to a body, as the reader will turn it back: loading adds it to the body's
// state, so the value written is the one that survives that sum and the difference again
// unchanged. Then save, load, save gives the same text (with the date written exactly, the
// body's state at load is the very one used here). One or two rounds settle it.
double Settled(double base, double rel) {
    for (int i = 0; i < 4; ++i) {
        const double again = (base + rel) - base;
        if (again == rel) break;
        rel = again;
    }
    return rel;
}

std::string ExactRelative(const VECTOR3 &base, const VECTOR3 &rel) {
    return ExactNumberText(Settled(base.x, rel.x)) + " " + ExactNumberText(Settled(base.y, rel.y)) + " " +
           ExactNumberText(Settled(base.z, rel.z));
}

// Nine decimals; a value that rounds to zero is written without a sign, since the "-0" it would
// otherwise show reads back as 0 and saves again as "0".
std::string Fixed9(double v) {
    std::string t = FormatText("%.9f", v);
    if (t == "-0.000000000") t.erase(0, 1);
    return t;
}

void WriteShip(std::string &out, const World &w, const std::vector<Body> &saved, const Vessel &v) {
    // A ship in flight is saved relative to the body pulling hardest now, not the one chosen up to
    // 100 s before: the save is what its next load reads, and saving again writes the same.
    const int ref = v.status != VesselStatus::Flying && v.landedOn >= 0 ? v.landedOn : w.GravityRef(v.pos);
    // Relative to the body as the file's next load places it (at the date as written), so that
    // the load puts the ship back where it is now.
    const Body &b = saved[ref < 0 ? 0 : ref];
    // Always name:class, as the simulator writes it: a ship read without a class (Mir) took its
    // name for it, and is written Mir:Mir.
    out += v.name + ":" + v.className + "\n";
    out += std::string("  STATUS ") + (v.status == VesselStatus::Flying ? "Orbiting " : "Landed ") + b.name + "\n";
    if (v.status != VesselStatus::Flying && v.landedOn >= 0) {
        // Standing on the ground: its pad, its place and attitude on the turning body, as the
        // simulator writes a landed vessel (to a centimetre; the attitude finer).
        const Footing &f = v.footing;
        if (f.base >= 0 && f.pad >= 0) out += FormatText("  BASE %s:%d\n", BaseAt(f.base).name, f.pad + 1);
        out += FormatText("  POS %.7f %.7f\n  HEADING %.2f\n  ALT %.3f\n", f.lngDeg, f.latDeg, f.headingDeg, f.height);
        const VECTOR3 arot = EulerFromRotation(f.attitude) / kDeg;
        out += "  AROT " + Fixed9(arot.x) + " " + Fixed9(arot.y) + " " + Fixed9(arot.z) + "\n";
    } else {
        const VECTOR3 rpos = v.pos - b.pos, rvel = v.vel - b.vel, arot = EulerFromRotation(v.rot) / kDeg;
        const VECTOR3 vrot = v.omega / kDeg;
        out += "  RPOS " + ExactRelative(b.pos, rpos) + "\n";
        out += "  RVEL " + ExactRelative(b.vel, rvel) + "\n";
        out += "  AROT " + Fixed9(arot.x) + " " + Fixed9(arot.y) + " " + Fixed9(arot.z) + "\n";
        out += "  VROT " + Fixed9(vrot.x) + " " + Fixed9(vrot.y) + " " + Fixed9(vrot.z) + "\n";
    }
    if (!v.tanks.empty() && !v.passive) {
        out += "  PRPLEVEL";
        for (size_t k = 0; k < v.tanks.size(); ++k) {
            const double level = v.tanks[k].maxMass > 0 ? v.tanks[k].mass / v.tanks[k].maxMass : 0;
            out += FormatText(" %zu:%.9f", k, level);
        }
        out += "\n";
    }
    // Engines left running run on when the file is loaded, as in the simulator.
    std::string running;
    for (size_t k = 0; k < v.thrusters.size(); ++k)
        if (v.thrusters[k].permanentLevel != 0)
            running += FormatText(" %zu:", k) + ExactNumberText(v.thrusters[k].permanentLevel);
    if (!running.empty() && !v.passive) out += "  THLEVEL" + running + "\n";
    for (const std::string &line : v.keptLines) out += "  " + line + "\n";
    out += "END\n";
}

void WriteSection(std::string &out, const ScenarioSection &s) {
    const std::string header = s.header.empty() ? "BEGIN_" + s.name : s.header;
    out += header + (s.argument.empty() ? "" : " " + s.argument) + "\n";
    for (const std::string &line : s.lines) out += line + "\n";
    out += (s.end.empty() ? "END_" + s.name : s.end) + "\n\n";
}

// The sections named in `names` ("DESC" standing for the three kinds of description), or with
// `others` every section but those, in the file's order.
void WriteSections(std::string &out, const std::vector<ScenarioSection> &sections,
                   const std::vector<std::string> &names, bool others = false) {
    for (const ScenarioSection &s : sections) {
        bool named = false;
        for (const std::string &n : names)
            named = named || s.name == n || (n == "DESC" && IsDescriptionSection(s.name));
        if (named != others) WriteSection(out, s);
    }
}

}  // namespace

std::string BeyondScenarioBounds(const World &world) {
    // Margins of a frame: the longest frame (a tenth of a second at warp 100,000) moves a ship at
    // the speed bound by far less than the position's margin, and no drive adds the velocity's.
    if (world.Mjd() > kMaxMjd - 1) return FormatText("the date passes MJD %.0f", kMaxMjd - 1);
    for (int i = 0; i < world.VesselCount(); ++i) {
        const Vessel &v = world.vessel(i);
        // The reference the vessel already holds: no search of every body in every frame, and a
        // save's own choice lies well within the margins.
        const Body &b = world.body(std::max(0, ReferenceBody(v)));
        const VECTOR3 rpos = v.pos - b.pos, rvel = v.vel - b.vel;
        for (int k = 0; k < 3; ++k) {
            if (!(std::fabs(rpos.data[k]) <= 0.999 * kMaxRelPos))
                return FormatText("%s is %.4g m from %s, near the %g m a scenario holds", v.name.c_str(), length(rpos),
                                  b.name.c_str(), kMaxRelPos);
            if (!(std::fabs(rvel.data[k]) <= 0.9 * kMaxRelVel))
                return FormatText("%s moves at %.4g m/s relative to %s, near the %g m/s a scenario holds",
                                  v.name.c_str(), length(rvel), b.name.c_str(), kMaxRelVel);
        }
    }
    return "";
}

std::string DisplayBlockName(int slot) {
    if (slot == 0) return "Left";
    if (slot == 1) return "Right";
    return std::to_string(slot + 1);
}

std::string ScenarioText(const World &world, const std::vector<SavedDisplay> &displays,
                         const std::vector<ScenarioSection> &otherSections,
                         const std::vector<std::string> &environmentLines) {
    // The simulator's order: the description, the environment, the focus, the camera, the HUD,
    // the displays, the panel and the virtual cockpit, the ships; then the blocks of modules
    // and programs.
    std::string out;
    WriteSections(out, otherSections, {"DESC"});
    out += "BEGIN_ENVIRONMENT\n  System Sol\n";
    out += "  Date MJD " + ExactNumberText(world.Mjd()) + "\n";
    for (const std::string &line : environmentLines) out += "  " + line + "\n";
    out += "END_ENVIRONMENT\n\n";
    if (world.focus() >= 0) out += "BEGIN_FOCUS\n  Ship " + world.vessel(world.focus()).name + "\nEND_FOCUS\n\n";
    WriteSections(out, otherSections, {"CAMERA"});
    WriteSections(out, otherSections, {"HUD"});
    for (const SavedDisplay &d : displays) {
        out += "BEGIN_MFD " + DisplayBlockName(d.slot) + "\n";
        if (!d.type.empty()) out += "  TYPE " + d.type + "\n";
        if (!d.mode.empty()) out += "  MODE " + d.mode + "\n";
        for (const std::string &line : d.lines) out += "  " + line + "\n";
        out += "END_MFD\n\n";
    }
    WriteSections(out, otherSections, {"PANEL", "VC"});
    out += "BEGIN_SHIPS\n";
    const std::vector<Body> saved = world.BodiesAtWrittenDate();
    for (int i = 0; i < world.VesselCount(); ++i) WriteShip(out, world, saved, world.vessel(i));
    out += "END_SHIPS\n";
    std::string rest;
    WriteSections(rest, otherSections, {"DESC", "CAMERA", "HUD", "PANEL", "VC"}, true);
    if (!rest.empty()) out += "\n" + rest.substr(0, rest.size() - 1);
    return out;
}

}  // namespace kvhost
