// shipped_scenarios.h: the scenarios the project ships, below its scenarios/ folder, for the
// checks and benchmarks that go over every one of them.
#ifndef KAVREX_TESTS_SUPPORT_SHIPPED_SCENARIOS_H
#define KAVREX_TESTS_SUPPORT_SHIPPED_SCENARIOS_H

inline const char *const kShippedScenarios[] = {"default.scn",
                                                "earth-mars.scn",
                                                "lunar-orbit.scn",
                                                "mars-transfer.scn",
                                                "simulator/Kavrex Earth to Mars.scn",
                                                "simulator/Kavrex Shuttle-A at Brighton Beach.scn",
                                                "simulator/Kavrex Delta-glider at the Moon's south pole.scn"};

#endif
