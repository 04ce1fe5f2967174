// module_state.h: everything of the module that outlives a call, in one structure.
//
// A vessel's record is allocated when it is claimed (ship_table.h); where the records are, and
// the rest of the module-wide state, is here: the registered mode and its pens, the line step,
// the drawing state of the Update that runs, the plot's scales and screen positions, the view
// rows and the orbit plane behind them, the system catalogue, the prediction's working state,
// the driver's per-record scratch, the date text and the button modifier. Displays and records
// are drawn and computed one at a time, so one copy of each serves them all. ResetModuleState,
// called by InitModule, gives every field its load-time value, so nothing of an earlier load
// (an autozoom base, a computation) reaches the next.
#ifndef KAVREX_MODEL_MODULE_STATE_H
#define KAVREX_MODEL_MODULE_STATE_H

#include <Orbitersdk.h>

#include "capacities.h"
#include "catalogue_records.h"

#include <cstdint>

namespace kavrex {

struct ShipRecord;

// Where the records are: null until a record is prepared; 0 .. count - 1 are claimed.
struct ShipTable {
    ShipRecord *records[kMaxShips];
    uint32_t count;
};

// Shared by every display routine while one Update runs: the device context, the one text line
// being composed, and where the next line goes.
struct DrawState {
    HDC currentDc;
    char lineBuffer[kLineBuffer];
    int lineY;
};

// The plot's scale and offsets, and the screen positions of the bodies and the ship before the
// offset is added.
struct PlotState {
    double plotScale;  // pixels per metre
    double autoBase;   // the base scale autozoom last chose; 0 until then
    double plotOffsetX, plotOffsetY;
    double bodyScreenX[kMaxBodies], bodyScreenY[kMaxBodies];
    double shipScreenX, shipScreenY;
};

// The plot's two view rows: a global vector p is drawn at x along x . p and up along y . p.
struct ViewRows {
    VECTOR3 x;
    VECTOR3 y;
};

// The osculating conic that the SHIP view last measured.
struct OrbitPlane {
    double p;  // semi-latus rectum, m
    double eccentricity;
    double inclination;  // rad
    double node;         // longitude of the ascending node, rad
    double argPeri;      // argument of periapsis, rad
    double lonPeri;      // longitude of periapsis, rad
    VECTOR3 nodeDir;     // unit node vector
    VECTOR3 P, Q;        // periapsis direction and the in-plane normal to it
};

// The gravity model a prediction steps: the ship, and the modelled bodies in slots.
struct ModelState {
    uint32_t count;                     // modelled bodies; slot 0 is the star
    BodyIndex listIndex[kMaxModelled];  // each slot's index in the ship's body list
    double gm[kMaxModelled];
    uint32_t ancestors[kMaxModelled][2];  // slots of the bodies that pull this one
    uint32_t ancestorCount[kMaxModelled];
    VECTOR3 pos[kMaxModelled], vel[kMaxModelled];
    VECTOR3 shipPos, shipVel;
};

// The prediction under way; one computation at a time.
struct Computation {
    const ShipRecord *record;  // null when none has run
    uint32_t k;
    double t, dt, startMjd;
    // Fixed for the whole computation, so the step control need not work them out each step:
    // the point bound, the target's list index and the step shortening for the ship's weight.
    uint32_t numSteps;
    BodyIndex target;
    double weightFactor;
    double pointMjd[kMaxPoints];
    ModelState model;
    // The newest points, written to the tracks a block at a time: every track starts a whole
    // number of pages from the others, so one point at a time into each of a dozen tracks keeps
    // evicting the others' cache lines. stagedFrom is the first point not yet in the tracks.
    uint32_t stagedFrom;
    VECTOR3 stagedPos[kMaxModelled][kStagedPoints], stagedVel[kMaxModelled][kStagedPoints];
    VECTOR3 stagedShipPos[kStagedPoints], stagedShipVel[kStagedPoints];
};

// What the per-step driver writes for the record in its turn, read later in the same turn (the
// propagation's step control reads weightAccel).
struct DriverScratch {
    double stepLength;    // s, of the current opcPreStep
    VECTOR3 weightAccel;  // m/s^2, vessel frame: weight / mass of the record in its turn
};

// An open display and the identifier it was opened with: a display bound to another vessel than
// the focus finds its entry in the focus record by that identifier.
struct OpenDisplay {
    const MFD *instance;  // null: a free slot
    uint32_t mfdId;
};

struct ModuleState {
    int modeId;  // the registered display mode
    HPEN whitePen;
    HPEN trajectoryPen;     // solid: drive engaged
    HPEN trajectoryDotPen;  // dotted: drive off
    unsigned lineHeight;    // display height / kPageLines of the last display opened
    ShipTable ships;
    DrawState draw;
    PlotState plot;
    ViewRows view;
    OrbitPlane orbit;
    SystemCatalogue catalogue;
    Computation computation;
    DriverScratch driver;
    char dateBuffer[kLineBuffer];  // the text FormatDate returns
    bool buttonModifier;           // a button press acts as if Ctrl were held
    OpenDisplay openDisplays[kMaxOpenDisplays];
};

ModuleState &Module();

// Frees the ship table's storage and gives every other field its load-time value: zero, the
// ecliptic view rows, and no computation. The pens and the mode are InitModule's to make.
void ResetModuleState();
// The same between two scenarios of one load: everything afresh but the registered mode and
// the three pens, which live as long as the load.
void ResetSessionState();

inline DrawState &Draw() { return Module().draw; }
inline PlotState &Plot() { return Module().plot; }
inline ViewRows &Projection() { return Module().view; }
inline DriverScratch &Driver() { return Module().driver; }
inline const SystemCatalogue &Catalogue() { return Module().catalogue; }
inline const OrbitPlane &LastOrbitPlane() { return Module().orbit; }

}  // namespace kavrex

#endif
