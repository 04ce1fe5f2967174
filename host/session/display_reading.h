// display_reading.h: what a person reads off a Kavrex display, from the texts it drew.
//
// The built-in pilot decides only from this: the status strip's switches and the read-outs'
// numbers as drawn into a recording device context, never from the host's world or the
// plug-in's memory.
#ifndef KVHOST_SESSION_DISPLAY_READING_H
#define KVHOST_SESSION_DISPLAY_READING_H

#include "../gdi/recording_dc.h"

#include <string>
#include <vector>

namespace kvhost {

// The attitude hold as the strip shows it: "OFF", "SEEK" (turning) or "HOLD" (settled).
enum class HoldState { Off, Seek, Hold };

struct DisplayReading {
    bool strip = false;  // the status strip was drawn
    HoldState hold = HoldState::Off;
    bool prograde = false;     // aim "PRO" (along the relative velocity), not "DIR" (at the target)
    bool inverted = false;     // inv "INV"
    bool driveOn = false;      // KV "ON"
    bool autofillOff = false;  // fill "OFF": no automatic tank refill ("AUTO", or not drawn: false)
    double setGee = 0;         // the acceleration the strip shows, m/s^2

    bool readouts = false;                   // a trajectory was drawn, with its read-outs
    std::string target, source;              // body names
    std::string center;                      // the body the plot is centred on
    double targetDist = 0, targetSpeed = 0;  // m to the surface, m/s
    double sourceDist = 0, sourceSpeed = 0;
    double closest = 0;        // PeT, m above the surface (when not an impact)
    double closestSource = 0;  // PeS, m above the source's surface
    double targetG = 0;        // the target's pull here, m/s^2 (TargetG)
    double elapsed = 0;        // the flight clock, s (0 until the drive first runs)
    double ejectMjd = 0;       // Eject: the departure, or the present date before it
    bool impact = false;
    double etaMjd = 0;
    int tanks = 0;  // refills so far

    // Not on this page: the ship's gravity reference, as the simulator's orbit display names it
    // (the pilot looks there too); empty when unknown.
    std::string gravityRef;
};

// Reads the strip and the read-outs from a display's drawn texts; false when not even the strip
// is there (a closed display, a failure message).
bool ReadDisplay(const std::vector<DrawOp> &ops, DisplayReading &out);

// The strip's four switches from their texts as drawn; false, and `out` unchanged, for a text the
// strip never draws.
bool ReadSwitches(const std::string &hold, const std::string &aim, const std::string &invert, const std::string &drive,
                  DisplayReading &out);

// Brings `reading` up to date with what a display's latest refresh showed (null: no refresh, or
// no Kavrex page: nothing changes). A refresh that shows the strip alone keeps the last read-outs
// beside the new strip.
void FollowRefresh(const DisplayReading *shown, DisplayReading &reading);

// A duration as the display writes it, "h:mm:ss", in seconds.
bool ReadDuration(const std::string &text, double &seconds);

// A read-out number as the display writes it: "101.92G", "-2.50k", "0.61AU", "7.67".
bool ReadLadderNumber(const std::string &text, double &out);
// The step between two distances near `v` as the display prints them (its resolution), m.
double LadderStep(double v);

}  // namespace kvhost

#endif
