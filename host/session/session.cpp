// session.cpp: starting and stopping a run.
#include "session.h"

#include <algorithm>
#include <sstream>

#include "display_reading.h"

#include "../scenario/block_io.h"
#include "../scenario/numbers.h"
#include "../scenario/scenario_world.h"
#include "../cockpit/input_state.h"
#include "../cockpit/saved_displays.h"
#include "../scenario/scenario_write.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvhost {

Session::~Session() { Stop(); }

bool Session::Start(const std::string &scenarioPath, const std::string &pluginPath, std::string &error) {
    Stop();
    Scenario sc;
    if (!LoadScenarioFile(scenarioPath, sc, error)) return false;
    return Begin(
        sc, [&](std::string &why) { return plugin_->Load(pluginPath, why); }, error);
}

bool Session::StartLinked(const std::string &text, const std::string &name, const ModuleEntries &module,
                          std::string &error) {
    Stop();
    Scenario sc;
    if (!ParseScenario(text, name, sc, error)) return false;
    return Begin(
        sc,
        [&](std::string &) {
            plugin_->Link(module);
            return true;
        },
        error);
}

bool Session::Begin(const Scenario &sc, const std::function<bool(std::string &)> &loadModule, std::string &error) {
    std::unique_ptr<World> world(new World(sc.mjd));
    std::vector<std::string> warnings;
    if (!BuildScenarioWorld(sc, *world, error, &warnings)) return false;
    warnings.insert(warnings.begin(), sc.warnings.begin(), sc.warnings.end());
    for (const std::string &w : warnings) std::fprintf(stderr, "kavrex-sim: %s\n", w.c_str());
    if (world->focus() < 0) {
        error = sc.path + ": the scenario has no ships, so there is no vessel to fly";
        return false;
    }
    // What the timeline would fail at on the way is refused now, before anything is flown.
    std::vector<TimelineEvent> timeline;
    if (!ParseTimeline(sc, timeline, error) || !CheckTimeline(timeline, *world, kWindowDisplays, sc.path, error))
        return false;
    timeline_ = timeline;
    timelineNext_ = 0;
    scenario_ = sc;
    externalCamera = StartsInExternalView(sc);
    world_ = std::move(world);
    SetCurrentWorld(world_.get());
    // A plug-in loaded for an earlier scenario serves this one too.
    if (!plugin_->loaded() && !loadModule(error)) {
        Stop();
        return false;
    }
    plugin_->OpenRenderViewport(static_cast<DWORD>(displayWidth_), static_cast<DWORD>(displayHeight_));
    for (const ScenarioDisplay &d : scenario_.displays) {
        if (d.mode.empty()) continue;  // a built-in display type the stand-in does not draw
        if (!FindMode(d.mode)) {
            // The simulator opens no display of a mode nobody registered (another module's);
            // the block is kept as it stands and saved again.
            std::fprintf(stderr,
                         "kavrex-sim: %s:%d: no display mode '%s' is registered: that display stays closed, "
                         "its block kept\n",
                         scenario_.path.c_str(), d.line, d.mode.c_str());
            continue;
        }
        std::string why;
        if (!OpenDisplay(d.slot, d.mode, why, displayWidth_, displayHeight_, false)) {
            error = scenario_.path + ":" + std::to_string(d.line) + ": " + why;
            Stop();
            return false;
        }
        // The lines go to its ReadStatus one at a time, as the simulator's reader hands them:
        // past END_MFD, up to the next END.
        BlockReader reader(d.readerLines);
        Slot(d.slot).instance->ReadStatus(reader.handle());
    }
    simulation_.reset(new Simulation(*world_, plugin_->Hooks(), profile_));
    simulation_->afterFrame = [this] { RefreshDue(); };
    return true;
}

void Session::RefreshDue() {
    if (refreshSuspended_) return;
    // The simulator's rule, display by display: a display just opened, or one that asked for a
    // redraw (both are marked invalid), refreshes now; others once the refresh interval of
    // simulated time and a tenth of a second of real time have passed (at most ten a second).
    // Nothing refreshes in the external camera view, nor a display showing its button menu.
    const double simt = simulation_->simt(), real = simulation_->realTime();
    std::vector<int> due;
    for (int s = 0; s < kDisplaySlots; ++s) {
        const DisplaySlot &slot = Slot(s);
        if (!slot.instance || externalCamera || slot.menuShown) continue;
        const bool interval =
            simt - lastRefreshSim_[s] >= refreshInterval - 1e-9 && real - lastRefreshReal_[s] >= kMinRefreshGap - 1e-9;
        if (slot.displayInvalid || interval) due.push_back(s);
    }
    bool shown = false;
    for (int s : due) shown = Refresh(s) || shown;
    if (shown) ++predictions_;  // the displays of one frame show the same prediction
    if (!due.empty() && onRefresh) onRefresh(due);
}

bool Session::Refresh(int s) {
    DisplaySlot &slot = Slot(s);
    lastRefresh_[s].reset();
    lastReadingOk_[s] = false;
    if (!slot.instance) return false;
    lastRefresh_[s].reset(new RecordingDc(slot.width, slot.height));
    slot.instance->Update(lastRefresh_[s]->hdc());
    slot.displayInvalid = false;
    lastRefreshSim_[s] = simulation_ ? simulation_->simt() : 0;
    lastRefreshReal_[s] = simulation_ ? simulation_->realTime() : 0;
    ++refreshes_[s];
    lastReadingOk_[s] = ReadDisplay(lastRefresh_[s]->ops(), lastReading_[s]);
    return lastReadingOk_[s] && lastReading_[s].readouts;
}

void Session::RefreshDisplays() {
    bool shown = false;
    for (int s = 0; s < kDisplaySlots; ++s) shown = Refresh(s) || shown;
    if (shown) ++predictions_;
}

bool Session::FlyToOneMoment(long frames, const std::function<bool()> &beforeFrame) {
    if (frames <= 0) return true;
    for (long i = 0; i + 1 < frames; ++i) {
        if (beforeFrame && !beforeFrame()) return false;
        simulation_->Frame();
    }
    if (beforeFrame && !beforeFrame()) return false;
    RefreshDisplays();  // takes the ready mark: the last frame predicts afresh
    refreshSuspended_ = true;
    simulation_->Frame();
    refreshSuspended_ = false;
    return true;
}

bool StartsInExternalView(const Scenario &sc) {
    for (const ScenarioSection &section : sc.otherSections)
        if (section.name == "CAMERA")
            for (const std::string &line : section.lines) {
                std::istringstream in(line);
                std::string key, mode;
                if (in >> key >> mode && strcasecmp(key.c_str(), "MODE") == 0)
                    return strcasecmp(mode.c_str(), "Extern") == 0;
            }
    return false;
}

bool Session::Save(const std::string &path, std::string &error) {
    // The open displays write their own lines; a display of a type this host does not draw
    // (an Orbit display, say) is kept as it was read, so saving loses nothing.
    std::vector<SavedDisplay> displays = SaveOpenDisplays();
    for (const ScenarioDisplay &d : scenario_.displays)
        if ((d.mode.empty() || !FindMode(d.mode)) && !Slot(d.slot).instance)
            displays.push_back({d.slot, d.type, d.mode, d.lines});
    std::sort(displays.begin(), displays.end(),
              [](const SavedDisplay &a, const SavedDisplay &b) { return a.slot < b.slot; });
    std::vector<ScenarioSection> sections = scenario_.otherSections;
    for (ScenarioSection &s : sections)
        if (s.name == "TIMELINE")
            s = RemainingTimeline(s, timeline_, timelineNext_, simulation_ ? simulation_->simt() : 0);
    const std::string text = ScenarioText(*world_, displays, sections, scenario_.environmentLines);
    if (text.size() > kMaxScenarioBytes) {
        error = path + FormatText(
                           ": the saved scenario would be %zu bytes, more than the %zu a scenario file may hold: "
                           "not written",
                           text.size(), kMaxScenarioBytes);
        return false;
    }
    return WriteWholeFile(path, text, error);
}

bool Session::DeleteVessel(int index, std::string &error) {
    World &w = *world_;
    if (index < 0 || index >= w.VesselCount()) {
        error = "vessel " + std::to_string(index) + " does not exist";
        return false;
    }
    if (w.VesselCount() == 1) {
        error = "vessel '" + w.vessel(index).name + "' is the only one: the scenario would have none left";
        return false;
    }
    if (index == w.focus() && !ChangeFocus(index == 0 ? 1 : 0, error)) return false;
    CloseWindowsOf(w.VesselHandle(index));  // a window goes with its vessel
    plugin_->DeleteVessel(w.VesselHandle(index));
    w.DeleteVessel(index);
    return true;
}

void Session::Stop() {
    // Displays are plug-in objects: they go first, then the vessels, then the module hears that
    // the scenario has ended; a plug-in of the session's own goes last. An input box still open
    // goes with its session, as the simulator's does: the next session starts with none.
    CancelInputBox();
    SetControlKeyDown(false);
    CloseAllDisplays();
    for (auto &dc : lastRefresh_) dc.reset();
    for (bool &ok : lastReadingOk_) ok = false;
    simulation_.reset();
    const bool ran = world_ != nullptr;
    if (world_ && CurrentWorld() == world_.get()) SetCurrentWorld(nullptr);
    world_.reset();
    if (ran) plugin_->CloseRenderViewport();
    if (plugin_ == &ownPlugin_) ownPlugin_.Unload();
}

std::string DefaultScenarioPath(const std::string &name) {
    struct stat st;
    const std::string installed = KAVREX_SCENARIO_DIR "/" + name;
    if (stat(installed.c_str(), &st) == 0) return installed;
    return "scenarios/" + name;
}

}  // namespace kvhost
