// bench_main.cpp: runs the benchmarks, then prints the ratios the project tracks, each against a
// baseline measured in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

class CollectingReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, so piped output stays plain text.
    CollectingReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override {
        // With repetitions the median stands for the case (a shared machine's noise moves single
        // runs by a third); without, the one run.
        for (const Run &r : runs) {
            const std::string name = BaseName(r.benchmark_name());
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if (median || (r.run_type == Run::RT_Iteration && !medians.count(name))) {
                times[name] = r.GetAdjustedRealTime();
                const auto paired = r.counters.find("over_floor");
                if (paired != r.counters.end()) overFloor[name] = paired->second.value;
                if (median) medians.insert(name);
            }
            if (!r.report_label.empty()) labels[name] = r.report_label;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
    std::map<std::string, double> overFloor;    // a case's own ratio of two things it timed in turn
    std::map<std::string, std::string> labels;  // what a case names itself (a scenario's file)
    std::set<std::string> medians;              // cases whose time is their repetitions' median

private:
    // "BM_Propagate/5/8192/min_time:0.300" -> "BM_Propagate/5/8192": the ratios name cases by
    // their arguments, whatever run settings a case carries.
    static std::string BaseName(const std::string &name) {
        size_t settings = name.find("/min_time:");
        if (settings == std::string::npos) settings = name.find("/repeats:");
        std::string base = settings == std::string::npos ? name : name.substr(0, settings);
        for (const char *aggregate : {"_median", "_mean", "_stddev", "_cv"}) {
            const size_t at = base.rfind(aggregate);
            if (at != std::string::npos && at + std::strlen(aggregate) == base.size()) base.erase(at);
        }
        return base;
    }
};

void Ratio(const std::map<std::string, double> &t, const std::string &what, const std::string &over,
           const char *target) {
    auto a = t.find(what), b = t.find(over);
    if (a == t.end() || b == t.end() || b->second <= 0) return;
    std::printf("  %-44s / %-36s = %6.3f   (%s)\n", what.c_str(), over.c_str(), a->second / b->second, target);
}

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const std::map<std::string, double> &t = reporter.times;

    std::printf("\nRatios (same run):\n");
    for (const char *v : {"0", "5", "13"})
        for (const char *n : {"4096", "8192"}) {
            const std::string args = std::string("/") + v + "/" + n;
            Ratio(t, "BM_PropagateAndHandOver" + args, "BM_Propagate" + args, "target <= 1.25");
        }
    for (const char *v : {"0", "5", "13"}) {
        const std::string p = std::string("BM_Propagate/") + v;
        Ratio(t, p + "/8192", p + "/4096", "target 1.8 .. 2.2");
    }
    for (const char *v : {"0", "5", "13"})
        for (const char *n : {"4096", "8192"}) {
            const std::string args = std::string("/") + v + "/" + n;
            Ratio(t, "BM_Propagate" + args, "BM_PropagateFloor" + args,
                  "the same steps in a plain loop; target <= 1.3");
        }
    for (const auto &paired : reporter.overFloor)
        std::printf("  %-44s   %-36s = %6.3f   (%s)\n", paired.first.c_str(), "prediction / floor, timed in turn",
                    paired.second, "target <= 1.3");
    Ratio(t, "BM_WorldFrame", "BM_WorldFrameFullTheory", "interpolated on nodes / the theory every frame");
    for (const char *v : {"0", "5", "13"})
        Ratio(t, "BM_CopyWholeBuffer", std::string("BM_Propagate/") + v + "/8192", "the literal hand-over");
    for (const char *v : {"0", "5", "13"})
        Ratio(t, "BM_CopyWholeBuffer", std::string("BM_HandOver/") + v + "/8192", "whole copy / selective");
    // Per vessel-step: a step with 16 vessels over 16 steps with one.
    for (const char *p : {"0", "1"}) {
        auto one = t.find(std::string("BM_PreStep/1/") + p), many = t.find(std::string("BM_PreStep/16/") + p);
        if (one == t.end() || many == t.end()) continue;
        std::printf(
            "  opcPreStep, %s the prediction: %.3f us per vessel-step with 1 vessel, %.3f with 16: "
            "16 vessels cost %.2f x one (linear: 16)\n",
            p[0] == '0' ? "without" : "with", one->second, many->second / 16, many->second / one->second);
    }
    Ratio(t, "BM_UpdateRaster", "BM_UpdateRecording", "drawing with Cairo / recording the calls");
    Ratio(t, "BM_UpdateRecording", "BM_Propagate/13/8192", "a refresh / a prediction of as many points");
    auto page = t.find("BM_UpdateRecording"), prediction = t.find("BM_Propagate/13/8192");
    if (page != t.end() && prediction != t.end())
        std::printf("  the plug-in's frame with a prediction and its page, 8192 points: %.3f ms (target <= 1)\n",
                    (page->second + prediction->second) / 1000);
    // The plug-in's frame on each shipped scenario: its slowest page.
    double worst = 0;
    for (int scenario = 0; scenario < 16; ++scenario) {
        double slowest = 0;
        std::string name;
        for (int page = 0; page < 4; ++page) {
            const std::string key = "BM_ScenarioFrame/" + std::to_string(scenario) + "/" + std::to_string(page);
            auto f = t.find(key);
            if (f == t.end()) continue;
            slowest = std::max(slowest, f->second);
            name = reporter.labels[key];
        }
        if (slowest == 0) continue;
        std::printf("  the plug-in's frame at 8192 steps, slowest page, %-58s %.3f ms\n", name.c_str(), slowest / 1000);
        worst = std::max(worst, slowest);
    }
    if (worst > 0) std::printf("  the slowest of them: %.3f ms (target <= 1)\n", worst / 1000);
    benchmark::Shutdown();
    return 0;
}
