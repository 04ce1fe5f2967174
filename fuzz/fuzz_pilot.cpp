// fuzz_pilot: the byte-driven pilot at the cockpit (pilot_stream.h), from the same start every
// input, with its invariants checked after every event.
#include "fuzz_common.h"

#include "pilot_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    pilot::PilotStream p;
    std::string error;
    if (!p.Start(fuzzing::kLinked, error)) fuzzing::Broken("the pilot's scenario does not start: " + error);
    const std::string broken = p.Play(data, size);
    if (!broken.empty()) fuzzing::Broken(broken);
    p.session().Stop();
    return 0;
}
