// engine_fixture.h: a claimed record in a test world, aimed and sampled as the driver would
// before a prediction.
#ifndef KAVREX_TESTS_ENGINE_FIXTURE_H
#define KAVREX_TESTS_ENGINE_FIXTURE_H

#include "support/plugin_fixture.h"
#include "host/world/scenes.h"

#include "engine/propagate.h"
#include "model/module_state.h"
#include "model/ship_lookup.h"
#include "module/step_driver.h"

#include <cmath>

class EngineTest : public PluginTest {
protected:
    // Opens the display on the focus vessel and returns its record.
    int Claim() {
        Open(0);
        return kavrex::FindShip();
    }
    // Sets source and target, samples the state and clears the weight (no step shortening).
    void Aim(int ship, uint32_t source, uint32_t target) {
        kavrex::Ship(ship).sourceBody = source;
        kavrex::Ship(ship).targetBody = target;
        kavrex::SampleShipState(kavrex::Ship(ship));
        kavrex::Driver().weightAccel = _V(0, 0, 0);
    }
    // The driver's own prediction for the record; returns the variant.
    int Predict(int ship) { return kavrex::Predict(kavrex::Ship(ship)); }
    static double StepAfter(uint32_t k) {
        return (kavrex::PredictionPointMjd(k + 1) - kavrex::PredictionPointMjd(k)) * 86400.0;
    }
    static bool Finite(const VECTOR3 &v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
};

#endif
