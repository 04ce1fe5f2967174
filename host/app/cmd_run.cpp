// cmd_run.cpp: "kavrex-sim run": flies a scenario for a number of frames and writes what a
// pilot wants to look at afterwards: the scenario as saved at the end (to resume the flight),
// the flight log, and a summary.
#include "commands.h"

#include "../cockpit/cockpit.h"
#include "../gdi/picture.h"
#include "../scenario/scenario_write.h"
#include "flight_log.h"
#include "session.h"
#include "timeline.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kvhost {

namespace {

void PrintSummary(World &w, double simt) {
    std::printf("flew %.1f s of simulated time, now MJD %.6f\n", simt, w.Mjd());
    for (int i = 0; i < w.VesselCount(); ++i) {
        const Vessel &v = w.vessel(i);
        const int ref = w.GravityRef(v.pos);
        const Body &b = w.body(ref < 0 ? 0 : ref);
        std::printf("  %-16s %s, %.1f km above %s, %.1f m/s relative, %.0f kg\n", v.name.c_str(), StatusName(v.status),
                    (length(v.pos - b.pos) - b.radius) / 1e3, b.name.c_str(), length(v.vel - b.vel), v.Mass());
    }
}

}  // namespace

int RunFlight(const CommandLine &cl) {
    Session session;
    if (!StartSession(session, cl)) return 1;
    std::string error;
    std::vector<TimelineEvent> timeline;
    if (!ParseTimeline(session.scenario(), timeline, error)) return Fail(error);
    if (!cl.out.empty() && !MakeFolders(cl.out, error)) return Fail(error);
    Simulation &sim = session.simulation();
    sim.SetTimeAcceleration(cl.warp);
    std::string log = FlightLogHeader() + FlightLogRows(session.world(), sim.simt());
    const long logEvery = std::max(1L, static_cast<long>(1.0 / sim.frameLength));   // once a second
    const long progressEvery = std::max(1L, cl.steps / 10);
    size_t next = 0;
    for (long i = 1; i <= cl.steps; ++i) {
        while (next < timeline.size() && timeline[next].time <= sim.simt()) Apply(timeline[next++], sim);
        sim.Frame();
        if (i % logEvery == 0 || i == cl.steps) log += FlightLogRows(session.world(), sim.simt());
        if (cl.steps >= 1000 && i % progressEvery == 0)
            std::fprintf(stderr, "kavrex-sim: %3ld%% (%ld of %ld frames)\n", i * 100 / cl.steps, i, cl.steps);
    }
    PrintSummary(session.world(), sim.simt());
    for (const SavedDisplay &d : SaveOpenDisplays()) {
        std::printf("  display %d (%s):", d.slot, d.mode.c_str());
        for (const std::string &line : d.lines) std::printf(" %s;", line.c_str());
        std::printf("\n");
    }
    if (!cl.out.empty()) {
        const std::string scn = cl.out + "/final.scn", csv = cl.out + "/flight.csv";
        if (!session.Save(scn, error) || !WriteTextFile(csv, log, error)) return Fail(error);
        std::printf("wrote %s and %s\n", scn.c_str(), csv.c_str());
        // Each display as the pilot last saw it; a run too short for a refresh gets one now.
        for (int s = 0; s < kDisplaySlots; ++s) {
            if (!Slot(s).instance) continue;
            if (!session.LastRefresh(s)) session.RefreshDisplays();
            const RecordingDc *last = session.LastRefresh(s);
            const std::string png = cl.out + "/display-" + std::to_string(s) + ".png";
            auto replay = [last](HDC hdc) { last->ReplayOn(*DeviceContext::FromHdc(hdc)); };
            if (!WritePicture(png, last->width(), last->height(), ButtonLabels(s), kDefaultPictureScale, replay, error))
                return Fail(error);
            std::printf("wrote %s\n", png.c_str());
        }
    }
    return 0;
}

}  // namespace kvhost
