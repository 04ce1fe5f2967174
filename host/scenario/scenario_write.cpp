// scenario_write.cpp: scenario text from the running state.
#include "scenario_write.h"

#include "../cockpit/cockpit.h"
#include "../world/frames.h"
#include "block_io.h"

#include <cstdio>
#include <fstream>

namespace kvhost {

namespace {

std::string Format(const char *fmt, double a, double b, double c) {
    char buf[160];
    std::snprintf(buf, sizeof buf, fmt, a, b, c);
    return buf;
}

void WriteShip(std::string &out, const World &w, const Vessel &v) {
    const int ref = v.status != VesselStatus::Flying && v.landedOn >= 0 ? v.landedOn : w.GravityRef(v.pos);
    const Body &b = w.body(ref < 0 ? 0 : ref);
    out += v.name + ":" + v.className + "\n";
    out += std::string("  STATUS ") + (v.status == VesselStatus::Flying ? "Orbiting " : "Landed ") + b.name + "\n";
    const VECTOR3 rpos = v.pos - b.pos, rvel = v.vel - b.vel, arot = EulerFromRotation(v.rot) / kDeg;
    const VECTOR3 vrot = v.omega / kDeg;
    out += Format("  RPOS %.6f %.6f %.6f\n", rpos.x, rpos.y, rpos.z);
    out += Format("  RVEL %.6f %.6f %.6f\n", rvel.x, rvel.y, rvel.z);
    out += Format("  AROT %.9f %.9f %.9f\n", arot.x, arot.y, arot.z);
    out += Format("  VROT %.9f %.9f %.9f\n", vrot.x, vrot.y, vrot.z);
    if (!v.tanks.empty()) {
        out += "  PRPLEVEL";
        for (size_t k = 0; k < v.tanks.size(); ++k) {
            char buf[64];
            const double level = v.tanks[k].maxMass > 0 ? v.tanks[k].mass / v.tanks[k].maxMass : 0;
            std::snprintf(buf, sizeof buf, " %zu:%.9f", k, level);
            out += buf;
        }
        out += "\n";
    }
    out += "END\n";
}

}  // namespace

std::string ScenarioText(const World &world, const std::vector<SavedDisplay> &displays,
                         const std::vector<ScenarioSection> &otherSections) {
    std::string out = "BEGIN_ENVIRONMENT\n  System Sol\n";
    char date[64];
    std::snprintf(date, sizeof date, "  Date MJD %.10f\n", world.Mjd());
    out += date;
    out += "END_ENVIRONMENT\n\n";
    if (world.focus() >= 0) out += "BEGIN_FOCUS\n  Ship " + world.vessel(world.focus()).name + "\nEND_FOCUS\n\n";
    for (const SavedDisplay &d : displays) {
        out += "BEGIN_MFD " + std::to_string(d.slot) + "\n  TYPE User\n  MODE " + d.mode + "\n";
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
        out.push_back({s, Slot(s).mode, writer.lines()});
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
