// fuzz_timeline: a pilot's timeline. Whatever its lines, it is read or refused with the line
// named; every event read lies within its bounds (slot, button, warp, time).
#include "fuzz_common.h"

#include "host/session/timeline.h"
#include "host/cockpit/cockpit.h"
#include "host/sim/simulation.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    kvhost::Scenario sc;
    sc.path = "fuzz.scn";
    kvhost::ScenarioSection timeline;
    timeline.name = "TIMELINE";
    timeline.lines = fuzzing::Lines(data, size);
    for (size_t i = 0; i < timeline.lines.size(); ++i) timeline.lineNumbers.push_back(static_cast<int>(i) + 1);
    sc.otherSections.push_back(timeline);
    std::vector<kvhost::TimelineEvent> events;
    std::string error;
    if (!kvhost::ParseTimeline(sc, events, error)) {
        if (error.find("fuzz.scn:") != 0) fuzzing::Broken("a refused timeline does not name its line: " + error);
        return 0;
    }
    double last = 0;
    for (const kvhost::TimelineEvent &e : events) {
        if (!std::isfinite(e.time) || e.time < last) fuzzing::Broken("event times out of order or not numbers");
        last = e.time;
        if ((e.kind == kvhost::TimelineEvent::Key || e.kind == kvhost::TimelineEvent::Button) &&
            (e.slot < 0 || e.slot >= kvhost::kCockpitDisplays))
            fuzzing::Broken("a display slot beyond the cockpit");
        if (e.kind == kvhost::TimelineEvent::Button && (e.button < 0 || e.button > 11))
            fuzzing::Broken("a button beyond 11");
        if (e.kind == kvhost::TimelineEvent::Warp && !(e.warp >= kvhost::kMinWarp && e.warp <= kvhost::kMaxWarp))
            fuzzing::Broken("a warp the simulator does not offer");
    }
    return 0;
}
