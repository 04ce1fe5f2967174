// scenario_write.cpp: scenario text from the running state.
#include "scenario_write.h"

#include "numbers.h"

#include "../cockpit/cockpit.h"
#include "../world/frames.h"
#include "block_io.h"

#include <cstdio>
#include <fstream>

namespace kvhost {

namespace {

// Positions and velocities are written exactly, so that a saved flight loads back to the same
// state and saves again to the same text.
std::string ExactVector(const VECTOR3 &v) {
    return ExactNumberText(v.x) + " " + ExactNumberText(v.y) + " " + ExactNumberText(v.z);
}

void WriteShip(std::string &out, const World &w, const Vessel &v) {
    const int ref = v.status != VesselStatus::Flying && v.landedOn >= 0 ? v.landedOn : w.GravityRef(v.pos);
    const Body &b = w.body(ref < 0 ? 0 : ref);
    out += v.name + ":" + v.className + "\n";
    out += std::string("  STATUS ") + (v.status == VesselStatus::Flying ? "Orbiting " : "Landed ") + b.name + "\n";
    const VECTOR3 rpos = v.pos - b.pos, rvel = v.vel - b.vel, arot = EulerFromRotation(v.rot) / kDeg;
    const VECTOR3 vrot = v.omega / kDeg;
    out += "  RPOS " + ExactVector(rpos) + "\n";
    out += "  RVEL " + ExactVector(rvel) + "\n";
    out += FormatText("  AROT %.9f %.9f %.9f\n", arot.x, arot.y, arot.z);
    out += FormatText("  VROT %.9f %.9f %.9f\n", vrot.x, vrot.y, vrot.z);
    if (!v.tanks.empty()) {
        out += "  PRPLEVEL";
        for (size_t k = 0; k < v.tanks.size(); ++k) {
            const double level = v.tanks[k].maxMass > 0 ? v.tanks[k].mass / v.tanks[k].maxMass : 0;
            out += FormatText(" %zu:%.9f", k, level);
        }
        out += "\n";
    }
    out += "END\n";
}

}  // namespace

std::string ScenarioText(const World &world, const std::vector<SavedDisplay> &displays,
                         const std::vector<ScenarioSection> &otherSections) {
    std::string out = "BEGIN_ENVIRONMENT\n  System Sol\n";
    out += FormatText("  Date MJD %.10f\n", world.Mjd());
    out += "END_ENVIRONMENT\n\n";
    if (world.focus() >= 0) out += "BEGIN_FOCUS\n  Ship " + world.vessel(world.focus()).name + "\nEND_FOCUS\n\n";
    for (const SavedDisplay &d : displays) {
        out += "BEGIN_MFD " + std::to_string(d.slot) + "\n  TYPE " + d.type + "\n";
        if (!d.mode.empty()) out += "  MODE " + d.mode + "\n";
        for (const std::string &line : d.lines) out += "  " + line + "\n";
        out += "END_MFD\n\n";
    }
    for (const ScenarioSection &s : otherSections) {
        out += "BEGIN_" + s.name + (s.argument.empty() ? "" : " " + s.argument) + "\n";
        for (const std::string &line : s.lines) out += line + "\n";
        out += "END_" + s.name + "\n\n";
    }
    out += "BEGIN_SHIPS\n";
    for (int i = 0; i < world.VesselCount(); ++i) WriteShip(out, world, world.vessel(i));
    out += "END_SHIPS\n";
    return out;
}

std::vector<SavedDisplay> SaveOpenDisplays() {
    std::vector<SavedDisplay> out;
    for (int s = 0; s < kDisplaySlots; ++s) {
        MFD *m = Slot(s).instance;
        if (!m) continue;
        BlockWriter writer;
        m->WriteStatus(writer.handle());
        out.push_back({s, "User", Slot(s).mode, writer.lines()});
    }
    return out;
}

bool WriteTextFile(const std::string &path, const std::string &text, std::string &error) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) {
        error = path + ": cannot write the file";
        return false;
    }
    f << text;
    f.close();
    if (!f) {
        error = path + ": writing failed";
        return false;
    }
    return true;
}

}  // namespace kvhost
