// session.h: one run of the simulator: a scenario's world, the loaded plug-in and the cockpit.
#ifndef KVHOST_SESSION_SESSION_H
#define KVHOST_SESSION_SESSION_H

#include "../cockpit/cockpit.h"
#include "../cockpit/plugin.h"
#include "../gdi/recording_dc.h"
#include "../scenario/scenario.h"
#include "../sim/simulation.h"
#include "../world/world.h"
#include "display_reading.h"
#include "timeline.h"

#include <functional>
#include <memory>
#include <string>

namespace kvhost {

constexpr double kDefaultRefreshInterval = 0.5;                        // s, the simulator's display refresh interval
constexpr double kMinRefreshInterval = 0.01, kMaxRefreshInterval = 2;  // the setting's range
constexpr double kMinRefreshGap = 0.1;                                 // s of real time: at most ten refreshes a second

// The scenario's camera starts outside the cockpit (its BEGIN_CAMERA says MODE Extern).
bool StartsInExternalView(const Scenario &sc);

class Session {
public:
    Session() = default;
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Reads the scenario and builds its world, loads the plug-in and opens the displays the
    // scenario names. On failure returns false with the cause; nothing stays loaded.
    bool Start(const std::string &scenarioPath, const std::string &pluginPath, std::string &error);
    // The same from scenario text (`name` stands for it in errors), with a module linked into
    // the program instead of a library.
    bool StartLinked(const std::string &text, const std::string &name, const ModuleEntries &module, std::string &error);
    // Ends the run as the simulator ends a scenario: displays deleted, then the vessels, then
    // the module's end-of-scenario hook; a plug-in of the session's own is unloaded after.
    void Stop();
    // Runs the next Start on `plugin`, loaded once for many scenarios as the simulator loads a
    // module, instead of loading one of the session's own. It must outlive the session's run.
    void UsePlugin(Plugin &plugin) { plugin_ = &plugin; }
    // Deletes vessel `index` as the simulator does: the focus moves to another vessel first
    // (its displays reopen there), the module hears of it (opcDeleteVessel), then it goes.
    // False with the cause for a vessel that does not exist or the only one.
    bool DeleteVessel(int index, std::string &error);
    // The size of the displays the session opens (before Start); the simulator's classic
    // 256 x 256 unless set.
    void SetDisplaySize(int width, int height) {
        displayWidth_ = width;
        displayHeight_ = height;
    }
    int displayWidth() const { return displayWidth_; }
    int displayHeight() const { return displayHeight_; }

    World &world() { return *world_; }
    const Scenario &scenario() const { return scenario_; }
    Plugin &plugin() { return *plugin_; }
    Simulation &simulation() { return *simulation_; }

    // The frame-rate profile the run's frames follow (before Start).
    void SetFrameProfile(const FrameProfile &profile) { profile_ = profile; }

    // Refreshes every open display now (Update on a recording context); the last refresh of each
    // display is kept for pictures.
    void RefreshDisplays();
    const RecordingDc *LastRefresh(int slot) const { return lastRefresh_[slot].get(); }
    // What a person read off that refresh (its texts, read once): null when it showed no status
    // strip of a Kavrex page, or the display has not refreshed.
    const DisplayReading *LastReading(int slot) const { return lastReadingOk_[slot] ? &lastReading_[slot] : nullptr; }
    // Simulated seconds between a display's refreshes (the simulator's setting, 0.01 to 2).
    double refreshInterval = kDefaultRefreshInterval;
    // In the external camera view the cockpit's displays are not refreshed. A flight starts in
    // the view its scenario gives.
    bool externalCamera = false;
    // Called after the displays that were due at the end of a frame have refreshed, with them.
    std::function<void(const std::vector<int> &slots)> onRefresh;
    // What the run's displays did: refreshes of each slot, and the refresh cycles (the displays
    // refreshed in one frame) that showed a prediction: each is one the module made.
    long Refreshes(int slot) const { return refreshes_[slot]; }
    long Predictions() const { return predictions_; }

    // Flies `frames` frames with the displays refreshing as usual, the last of them right after a
    // refresh, so that its prediction is made from the same step as the read-outs: the next
    // Update shows one moment, as a picture must. `beforeFrame` (a timeline's turn, say) runs
    // before each frame; its false stops the flight there, and so is the result.
    bool FlyToOneMoment(long frames, const std::function<bool()> &beforeFrame = nullptr);

    // Carries out the scenario's timeline up to the flight's present moment; false with
    // "FILE:LINE: cause" for an event that cannot be done (the flight can still be saved).
    bool PlayTimeline(std::string &error) { return ApplyDue(timeline_, timelineNext_, *this, error); }

    // Saves the running state as a scenario file. Of the timeline, only the events not yet
    // carried out are saved, as many seconds sooner as the flight has flown.
    bool Save(const std::string &path, std::string &error);

private:
    // The displays' turn at the end of each frame: those due refresh (the cockpit's rule).
    void RefreshDue();
    bool Refresh(int slot);  // true when the page showed a prediction's read-outs
    bool Begin(const Scenario &sc, const std::function<bool(std::string &)> &loadModule, std::string &error);

    Scenario scenario_;
    std::unique_ptr<World> world_;
    Plugin ownPlugin_;
    Plugin *plugin_ = &ownPlugin_;
    std::unique_ptr<Simulation> simulation_;
    int displayWidth_ = kDefaultDisplaySize, displayHeight_ = kDefaultDisplaySize;
    std::unique_ptr<RecordingDc> lastRefresh_[kDisplaySlots];
    DisplayReading lastReading_[kDisplaySlots];
    bool lastReadingOk_[kDisplaySlots] = {};
    FrameProfile profile_;
    bool refreshSuspended_ = false;
    // When each display last refreshed, in simulated and real time.
    double lastRefreshSim_[kDisplaySlots] = {}, lastRefreshReal_[kDisplaySlots] = {};
    long refreshes_[kDisplaySlots] = {};
    std::vector<TimelineEvent> timeline_;
    size_t timelineNext_ = 0;  // the first event not yet carried out
    long predictions_ = 0;
};

// A shipped scenario by name: default.scn (a vessel in low Earth orbit), earth-mars.scn (the
// main job's transfer), ...
std::string DefaultScenarioPath(const std::string &name = "default.scn");

}  // namespace kvhost

#endif
