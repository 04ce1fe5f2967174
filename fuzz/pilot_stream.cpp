// pilot_stream.cpp: the byte-driven pilot and its invariants.
#include "pilot_stream.h"

#include "host/cockpit/cockpit.h"
#include "host/cockpit/input_state.h"
#include "host/cockpit/key_codes.h"
#include "host/gdi/gdi_objects.h"
#include "host/gdi/recording_dc.h"
#include "host/scenario/numbers.h"
#include "host/cockpit/saved_displays.h"
#include "host/scenario/scenario_write.h"
#include "model/ship_table.h"

#include <cmath>

namespace pilot {

namespace {

constexpr int kVessels = 17;
// Up to 1000: beyond it the module does nothing new (the hold is off above 100), while the
// host's orbits cost a thousand sub-steps a frame; the host's own tests fly the highest warps.
constexpr double kWarps[] = {0.1, 1, 10, 100, 1000};

bool Finite(const VECTOR3 &v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

}  // namespace

// The first line where two texts differ, both ways, with its number.
std::string FirstDifference(const std::string &a, const std::string &b) {
    size_t i = 0, line = 1;
    while (i < a.size() && i < b.size() && a[i] == b[i]) line += a[i++] == '\n';
    const size_t from = a.rfind('\n', i == 0 ? 0 : i - 1);
    const size_t start = from == std::string::npos ? 0 : from + 1;
    return "line " + std::to_string(line) + ": '" + a.substr(start, a.find('\n', start) - start) + "' became '" +
           b.substr(start, b.find('\n', start) - start) + "'";
}

std::string StartScenario() {
    std::string s =
        "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 61450.5\nEND_ENVIRONMENT\n\n"
        "BEGIN_FOCUS\n  Ship P0\nEND_FOCUS\n\n"
        "BEGIN_MFD Left\n  TYPE User\n  MODE Kavrex\n  KV_TARGET Mars\n  KV_FLAGS 7\nEND_MFD\n\n"
        "BEGIN_MFD Right\n  TYPE User\n  MODE Kavrex\n  KV_TARGET Moon\n  KV_FLAGS 132\nEND_MFD\n\n"
        "BEGIN_SHIPS\n";
    for (int i = 0; i < kVessels; ++i) {
        const char *body = i == 13 || i == 14 ? "Moon" : i == 15 ? "Mars" : i == 16 ? "Sun" : "Earth";
        const double r = i == 13 ? 1.8374e6 : i == 14 ? 1.7374e6 : i == 15 ? 3.8e6 : i == 16 ? 2e11 : 6.778e6 + i * 1e5;
        const double v = i == 14   ? 0
                         : i == 16 ? 3e4
                                   : std::sqrt((i >= 13 && i < 15 ? 4.9e12
                                                : i == 15         ? 4.28e13
                                                                  : 3.986e14) /
                                               r);
        s += "P" + std::to_string(i) + ":Courier\n  STATUS " + (i == 14 ? "Landed " : "Orbiting ") + body + "\n";
        s += kvhost::FormatText("  RPOS %.1f 0 0\n  RVEL 0 0 %.3f\n  AROT %d %d 0\n  PRPLEVEL 0:%.3f\nEND\n", r, v,
                                (i * 37) % 360, (i * 11) % 90, 0.05 + i * 0.05);
    }
    return s + "END_SHIPS\n";
}

bool PilotStream::Start(const kvhost::ModuleEntries &module, std::string &error) {
    module_ = module;
    session_.UsePlugin(plugin_);
    return session_.StartLinked(StartScenario(), "pilot.scn", module, error);
}

uint8_t PilotStream::Next() { return at_ < size_ ? data_[at_++] : 0; }

std::string PilotStream::Play(const uint8_t *data, size_t size) {
    data_ = data;
    size_ = size;
    at_ = 0;
    while (at_ < size_) {
        const std::string broken = Event(Next());
        ++events_;
        if (!broken.empty()) return "event " + std::to_string(events_) + ": " + broken;
        const std::string why = CheckInvariants();
        if (!why.empty()) return "after event " + std::to_string(events_) + ": " + why;
    }
    return "";
}

std::string PilotStream::Event(uint8_t kind) {
    kvhost::World &world = session_.world();
    kvhost::Simulation &sim = session_.simulation();
    std::string error;
    switch (kind % 10) {
    case 0: {  // open a display, slots 12 and 13 do not exist
        const int slot = Next() % 14;
        kvhost::OpenDisplay(slot, "Kavrex", error);
        break;
    }
    case 1: kvhost::CloseDisplay(Next() % 13); break;
    case 2: {  // a key, with or without Ctrl
        const int slot = Next() % kvhost::kCockpitDisplays;
        const uint8_t k = Next();
        kvhost::SetControlKeyDown(k & 0x80);
        kvhost::PressKey(slot, kvhost::KeyCodeForLetter(static_cast<char>('A' + (k & 0x7F) % 26)));
        kvhost::SetControlKeyDown(false);
        break;
    }
    case 3: {  // a button, any event bits, buttons 12 and 13 do not exist
        const int slot = Next() % kvhost::kCockpitDisplays, bt = Next() % 14, bits = Next();
        kvhost::SetControlKeyDown(bits & 0x80);
        kvhost::PressButton(slot, bt, bits & 0x3F);
        kvhost::SetControlKeyDown(false);
        break;
    }
    case 4: kvhost::ChangeFocus(Next() % kVessels, error); break;
    case 5: sim.Run(1 + Next() % 4); break;
    case 6: session_.RefreshDisplays(); break;
    case 7: sim.SetTimeAcceleration(kWarps[Next() % (sizeof kWarps / sizeof kWarps[0])]); break;
    case 8: {  // the "Select G" box: a number of any size, some text, or cancelled
        const uint8_t how = Next();
        if (how % 4 == 0) {
            kvhost::CancelInputBox();
        } else if (how % 4 == 1) {
            std::string text;
            for (int n = Next() % 24; n > 0; --n) text += static_cast<char>(Next());
            kvhost::AnswerInputBox(text);
        } else {
            kvhost::AnswerInputBox(
                kvhost::FormatText("%g", std::ldexp(static_cast<double>(Next()) - 128, Next() % 256 - 128)));
        }
        break;
    }
    case 9: {  // save, resume what was saved as the next scenario on the same load, save again:
               // the same text, whatever the session before it left open (an input box, a key)
        const std::string first = kvhost::ScenarioText(world, kvhost::SaveOpenDisplays(), {});
        if (!session_.StartLinked(first, "saved.scn", module_, error))
            return "the saved scenario does not load: " + error;
        const std::string second = kvhost::ScenarioText(session_.world(), kvhost::SaveOpenDisplays(), {});
        if (second != first) return "save, load, save changed the text: " + FirstDifference(first, second);
        break;
    }
    }
    return "";
}

std::string PilotStream::CheckInvariants() {
    const kvhost::World &world = session_.world();
    for (int i = 0; i < world.VesselCount(); ++i) {
        const kvhost::Vessel &v = world.vessel(i);
        if (!Finite(v.pos) || !Finite(v.vel) || !Finite(v.omega))
            return "vessel " + v.name + " has a state that is not a number";
        for (double level : v.requestedRotLevel)
            if (!std::isfinite(level)) return "an attitude level that is not a number reached " + v.name;
        for (double level : v.requestedGroupLevel)
            if (!std::isfinite(level)) return "a thruster level that is not a number reached " + v.name;
    }
    int pens = 3;  // the module's own
    for (uint32_t n = 0; n < kavrex::ShipCount(); ++n) {
        const kavrex::ShipRecord &r = kavrex::Ship(static_cast<int>(n));
        if (r.bodyCount == 0 || r.bodyCount > static_cast<uint32_t>(kavrex::kMaxBodies))
            return "record " + std::to_string(n) + " lists " + std::to_string(r.bodyCount) + " bodies";
        if (r.sourceBody >= r.bodyCount || r.targetBody >= r.bodyCount)
            return "record " + std::to_string(n) + " has its source or target beyond its list";
        // A centre that a shorter list left behind is read as the star (never past the list);
        // it must still lie within the table.
        for (const kavrex::MfdEntry &e : r.mfds)
            if (e.centerBody >= static_cast<uint32_t>(kavrex::kMaxBodies))
                return "record " + std::to_string(n) + " has a centre beyond its table";
        if (!std::isfinite(r.artGee)) return "record " + std::to_string(n) + " has an acceleration that is no number";
        for (const kavrex::BodyEntry &b : r.bodies) pens += (b.solidPen != nullptr) + (b.dotPen != nullptr);
    }
    for (int v = 0; v < session_.world().VesselCount(); ++v)
        if (session_.world().vessel(v).nonFiniteLevels > 0)
            return "vessel " + session_.world().vessel(v).name + " was given a level that is no number";
    if (kvhost::LiveGdiObjects() > pens)
        return std::to_string(kvhost::LiveGdiObjects()) + " pens live, the records hold " + std::to_string(pens);
    for (int s = 0; s < kvhost::kDisplaySlots; ++s) {
        const kvhost::RecordingDc *dc = session_.LastRefresh(s);
        if (!dc) continue;
        for (const kvhost::DrawOp &op : dc->ops())
            if (op.kind == kvhost::DrawOp::Text &&
                (op.text.find("nan") != std::string::npos || op.text.find("inf") != std::string::npos))
                return "display " + std::to_string(s) + " shows '" + op.text + "'";
    }
    return "";
}

}  // namespace pilot
