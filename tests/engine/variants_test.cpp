// The choice of variant for every relation of source and target, and the bodies each variant
// models and watches, on the solar system's list with moons.
#include "support/engine_fixture.h"

#include "engine/body_list.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using kavrex::Ship;

namespace {

// Sun 0, Mercury 1, Venus 2, Earth 3, Moon 4, Mars 5, Phobos 6, Deimos 7, Jupiter 8, ...
struct Case {
    uint32_t source, target;
    int variant;
    std::vector<std::string> modelled;  // besides the star
    std::vector<std::string> watched;
};

const Case kCases[] = {
    {0, 0, 0, {}, {"Sun"}},
    {0, 3, 1, {"Earth"}, {"Sun", "Earth"}},
    {3, 0, 2, {"Earth"}, {"Earth", "Sun"}},
    {0, 4, 3, {"Moon", "Earth"}, {"Sun", "Moon", "Earth"}},
    {4, 0, 4, {"Moon", "Earth"}, {"Moon", "Earth", "Sun"}},
    {3, 5, 5, {"Earth", "Mars"}, {"Earth", "Mars"}},
    {3, 3, 6, {"Earth"}, {"Earth"}},
    {4, 4, 7, {"Moon", "Earth"}, {"Moon", "Earth"}},
    {3, 6, 8, {"Earth", "Phobos", "Mars"}, {"Earth", "Phobos", "Mars"}},
    {4, 5, 9, {"Moon", "Earth", "Mars"}, {"Moon", "Earth", "Mars"}},
    {3, 4, 10, {"Moon", "Earth"}, {"Moon", "Earth"}},
    {4, 3, 11, {"Moon", "Earth"}, {"Moon", "Earth"}},
    {6, 7, 12, {"Phobos", "Deimos", "Mars"}, {"Phobos", "Deimos", "Mars"}},
    {4, 6, 13, {"Moon", "Earth", "Phobos", "Mars"}, {"Moon", "Earth", "Phobos", "Mars"}},
};

class VariantsTest : public EngineTest {
protected:
    int ClaimWithMoons() {
        scenes::LowEarthOrbit(world());
        const int ship = Claim();
        Ship(ship).includeMoons = true;
        kavrex::RebuildBodyList(kavrex::Ship(ship));
        return ship;
    }
    std::vector<std::string> Names(const kavrex::BodyIndex *indices, int count, int ship) {
        std::vector<std::string> out;
        for (int i = 0; i < count; ++i) out.push_back(Ship(ship).bodies[indices[i]].name);
        return out;
    }
};

TEST_F(VariantsTest, EveryRelationSelectsItsVariantWithItsBodies) {
    const int ship = ClaimWithMoons();
    ASSERT_STREQ(Ship(ship).bodies[6].name, "Phobos");
    for (const Case &c : kCases) {
        Ship(ship).sourceBody = c.source;
        Ship(ship).targetBody = c.target;
        EXPECT_EQ(kavrex::SelectPropagator(kavrex::Ship(ship)), c.variant) << c.source << " -> " << c.target;
        const kavrex::VariantBodies vb = kavrex::ResolveVariant(c.variant, Ship(ship));
        EXPECT_EQ(Names(vb.modelled, vb.modelledCount, ship), c.modelled) << "variant " << c.variant;
        EXPECT_EQ(Names(vb.watched, vb.watchedCount, ship), c.watched) << "variant " << c.variant;
    }
}

TEST_F(VariantsTest, WithoutMoonsOnlyTheStarAndPlanetVariantsOccur) {
    scenes::LowEarthOrbit(world());
    const int ship = Claim();
    Ship(ship).lunaAlways = false;
    kavrex::RebuildBodyList(kavrex::Ship(ship));
    for (uint32_t s = 0; s < Ship(ship).bodyCount; ++s)
        for (uint32_t t = 0; t < Ship(ship).bodyCount; ++t) {
            Ship(ship).sourceBody = s;
            Ship(ship).targetBody = t;
            const int v = kavrex::SelectPropagator(kavrex::Ship(ship));
            EXPECT_TRUE(v == 0 || v == 1 || v == 2 || v == 5 || v == 6) << s << " -> " << t << ": " << v;
        }
}

TEST_F(VariantsTest, EachVariantWritesOnlyItsModelledAndWatchedBodies) {
    const int ship = ClaimWithMoons();
    kavrex::ShipRecord &r = Ship(ship);
    r.numSteps = 128;
    const VECTOR3 sentinel = _V(-7, -7, -7);
    for (const Case &c : kCases) {
        for (uint32_t b = 0; b < kavrex::kMaxBodies; ++b) {
            r.work.bodyTrack[b][0] = r.work.bodyTrackVel[b][0] = sentinel;
            r.work.closestIndex[b] = 77777;
        }
        Aim(ship, c.source, c.target);
        ASSERT_EQ(Predict(ship), c.variant);
        for (uint32_t b = 0; b < r.bodyCount; ++b) {
            const std::string name = r.bodies[b].name;
            const bool modelled = b == 0 || std::find(c.modelled.begin(), c.modelled.end(), name) != c.modelled.end();
            const bool watched = std::find(c.watched.begin(), c.watched.end(), name) != c.watched.end();
            const bool written = length(r.work.bodyTrack[b][0] - sentinel) > 0;
            EXPECT_EQ(written, modelled) << "variant " << c.variant << ", " << name;
            if (modelled) {
                EXPECT_EQ(length(r.work.bodyTrack[b][0] - r.bodyPos[b]), 0.0) << name;
            } else {
                EXPECT_EQ(length(r.work.bodyTrackVel[b][0] - sentinel), 0.0) << name;
            }
            EXPECT_EQ(r.work.closestIndex[b] != 77777u, watched) << "variant " << c.variant << ", " << name;
        }
    }
}

TEST_F(VariantsTest, IndexLeftBeyondAShorterListIsReadAsTheStar) {
    const int ship = ClaimWithMoons();
    Ship(ship).sourceBody = 20;  // Titan in the list with moons
    Ship(ship).targetBody = 3;
    Ship(ship).includeMoons = false;
    kavrex::RebuildBodyList(kavrex::Ship(ship));  // 10 entries now
    EXPECT_EQ(kavrex::SelectPropagator(kavrex::Ship(ship)), 1);
}

// Equality of everything the display can read: header and whole arrays.
void ExpectSameBuffers(const kavrex::TrajectoryBuffer &a, const kavrex::TrajectoryBuffer &b, int step) {
    EXPECT_EQ(a.impact, b.impact) << step;
    EXPECT_EQ(a.variant, b.variant) << step;
    EXPECT_EQ(a.arrivalMjd, b.arrivalMjd) << step;
    EXPECT_EQ(a.pointCount, b.pointCount) << step;
    EXPECT_EQ(0, std::memcmp(a.closestIndex, b.closestIndex, sizeof a.closestIndex)) << step;
    EXPECT_EQ(0, std::memcmp(a.closestRel, b.closestRel, sizeof a.closestRel)) << step;
    EXPECT_EQ(0, std::memcmp(a.shipTrack, b.shipTrack, sizeof a.shipTrack)) << step;
    EXPECT_EQ(0, std::memcmp(a.shipTrackVel, b.shipTrackVel, sizeof a.shipTrackVel)) << step;
    EXPECT_EQ(0, std::memcmp(a.bodyTrack, b.bodyTrack, sizeof a.bodyTrack)) << step;
    EXPECT_EQ(0, std::memcmp(a.bodyTrackVel, b.bodyTrackVel, sizeof a.bodyTrackVel)) << step;
}

TEST_F(VariantsTest, HandOverEqualsAWholeCopyOverASequenceOfComputations) {
    const int ship = ClaimWithMoons();
    kavrex::ShipRecord &r = Ship(ship);
    std::unique_ptr<kavrex::TrajectoryBuffer> whole(new kavrex::TrajectoryBuffer());
    struct Run {
        uint32_t source, target, numSteps;
        bool drive;
    };
    // Long runs, short runs and runs that write other bodies, in turn.
    const Run runs[] = {{4, 6, 8192, true}, {3, 5, 512, false}, {0, 0, 128, false},
                        {6, 7, 4096, true}, {3, 4, 1024, true}, {4, 6, 128, false}};
    int step = 0;
    for (const Run &run : runs) {
        r.numSteps = run.numSteps;
        r.kvEngaged = run.drive;
        Aim(ship, run.source, run.target);
        Predict(ship);
        *whole = r.work;  // the literal hand-over
        kavrex::HandOverTrajectory(kavrex::Ship(ship));
        EXPECT_TRUE(r.display.ready);
        ExpectSameBuffers(r.display, *whole, step++);
        r.display.ready = false;
    }
}

}  // namespace
