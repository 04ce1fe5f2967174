// fuzz_scenario: the host's scenario reader. Whatever the text, it is read or refused with a
// reason; what is read builds a world or is refused; a built world saves to text that reads
// and builds again, and saves again to the same text.
#include "fuzz_common.h"
#include "pilot_stream.h"

#include "host/scenario/scenario.h"
#include "host/scenario/scenario_world.h"
#include "host/scenario/scenario_write.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    kvhost::Scenario sc;
    std::string error;
    if (!kvhost::ParseScenario(text, "fuzz.scn", sc, error)) {
        if (error.empty()) fuzzing::Broken("a refused scenario gives no reason");
        return 0;
    }
    kvhost::World world(sc.mjd);
    if (!kvhost::BuildScenarioWorld(sc, world, error)) {
        if (error.empty()) fuzzing::Broken("a world that cannot be built gives no reason");
        return 0;
    }
    const std::string saved = kvhost::ScenarioText(world, {}, sc.otherSections);
    kvhost::Scenario again;
    if (!kvhost::ParseScenario(saved, "saved.scn", again, error)) fuzzing::Broken("saved text is refused: " + error);
    kvhost::World rebuilt(again.mjd);
    if (!kvhost::BuildScenarioWorld(again, rebuilt, error)) fuzzing::Broken("saved world cannot be built: " + error);
    const std::string second = kvhost::ScenarioText(rebuilt, {}, again.otherSections);
    if (second != saved) fuzzing::Broken("save, load, save differs: " + pilot::FirstDifference(saved, second));
    return 0;
}
