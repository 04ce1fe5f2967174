// persistence.cpp: writing and reading the display's scenario lines.
//
// The flight clock's start (KV_EJECT) is read back at full precision: read in single precision,
// as the acceleration is, it would move the clock by up to 1/256 day. The file keeps "%f".
#include "persistence.h"

#include "../engine/body_list.h"
#include "../model/ship_lookup.h"
#include "../model/ship_table.h"
#include "../model/text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kavrex {

namespace {

const double kDefaultGee = kDefaultArtGee;

// Room for any "%f" of a double (DBL_MAX has 309 digits before the point).
constexpr size_t kValueBuffer = 400;

void WriteItem(FILEHANDLE scn, const char *key, const char *value) {
    char k[16], v[kValueBuffer];
    CopyText(k, sizeof k, key);
    CopyText(v, sizeof v, value);
    oapiWriteScenario_string(scn, k, v);
}

void WriteNumber(FILEHANDLE scn, const char *key, const char *format, double value) {
    char v[kValueBuffer];
    std::snprintf(v, sizeof v, format, value);
    WriteItem(scn, key, v);
}

// A value as single precision holds it; one beyond its range (which no door lets in) as it is.
double SinglePrecision(double v) {
    if (!FitsSinglePrecision(v)) return v;
    return static_cast<double>(static_cast<float>(v));
}

// The text from character n of a line on, or its end when the line is shorter.
const char *Skip(const char *line, size_t n) {
    size_t i = 0;
    while (i < n && line[i]) ++i;
    return line + i;
}

// The first blank-delimited word from `from` on, cut to 63 characters.
void ReadName(const char *from, char name[kNameLength]) {
    while (*from == ' ' || *from == '\t') ++from;
    size_t n = 0;
    const size_t most = kNameLength - 1;
    while (n < most && from[n] && from[n] != ' ' && from[n] != '\t' && from[n] != '\r' && from[n] != '\n') ++n;
    for (size_t i = 0; i < n; ++i) name[i] = from[i];
    name[n] = '\0';
}

// The list index of the body named `name` (any case), into `found`; false when none is.
bool FindName(const ShipRecord &r, const char *name, BodyIndex &found) {
    for (BodyIndex j = 0; j < r.bodyCount; ++j) {
        if (SameTextIgnoringCase(r.bodies[j].name, name)) {
            found = j;
            return true;
        }
    }
    return false;
}

bool ReadInt(const char *text, long &out) {
    char *end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text) return false;
    out = v;
    return true;
}

bool ReadDouble(const char *text, double &out) {
    char *end = nullptr;
    const double v = std::strtod(text, &end);
    if (end == text || !std::isfinite(v)) return false;
    out = v;
    return true;
}

// The flag of bit `bit`, writable or not as the record is.
template <typename Record>
auto FlagField(Record &r, int bit) {
    decltype(&r.attitudeHold) fields[8] = {&r.attitudeHold, &r.kvEngaged,       &r.lunaAlways,      &r.autofillOff,
                                           &r.ejected,      &r.invertDirection, &r.directionAdjust, &r.includeMoons};
    return fields[bit];
}

// The KV_FLAGS word of a record, and setting the fields from one.
unsigned FlagWord(const ShipRecord &r) {
    unsigned word = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (*FlagField(r, bit)) word |= 1u << bit;
    return word;
}

void SetFlagWord(ShipRecord &r, unsigned word) {
    for (int bit = 0; bit < 8; ++bit) *FlagField(r, bit) = (word >> bit) & 1u;
}

}  // namespace

void WriteStatusLines(const MFD *display, FILEHANDLE scn) {
    ShipRecord *focus = FocusShip();
    if (!focus) return;
    const ShipRecord &r = *focus;
    WriteItem(scn, "KV_TARGET", BodyAt(r, r.targetBody).name);
    WriteItem(scn, "KV_SOURCE", BodyAt(r, r.sourceBody).name);
    char flags[16];
    std::snprintf(flags, sizeof flags, "%u", FlagWord(r));
    WriteItem(scn, "KV_FLAGS", flags);
    // KV_ARTGEE is read back in single precision: the value written is that one, so what is
    // saved is what a load gives (and saving again writes the same line, or none for 9.8).
    const double savedGee = SinglePrecision(r.artGee);
    if (savedGee != kDefaultGee) WriteNumber(scn, "KV_ARTGEE", "%f", savedGee);
    if (r.ejected) WriteNumber(scn, "KV_EJECT", "%f", r.ejectMjd);
    if (r.tanksRefilled != 0) {
        char tanks[16];
        std::snprintf(tanks, sizeof tanks, "%u", r.tanksRefilled);
        WriteItem(scn, "KV_TANKS", tanks);
    }
    // FindEntry reports a display of no entry in the debug string; a display that has one writes
    // its centre.
    if (const MfdEntry *e = FindEntry(*focus, display)) WriteItem(scn, "KV_CENTER", BodyAt(r, e->centerBody).name);
}

void ReadStatusLines(const MFD *display, FILEHANDLE scn) {
    ShipRecord *focus = FocusShip();
    if (!focus) return;
    ShipRecord &r = *focus;
    bool anyLine = false, anyName = false;
    char source[kNameLength] = "", target[kNameLength] = "", center[kNameLength] = "";
    char *line = nullptr;
    while (oapiReadScenario_nextline(scn, line)) {
        // The simulator's reader runs on past the block, up to the next END: the block's end is
        // ours to see, or the lines of the displays after it would be read as this one's.
        if (StartsWithIgnoringCase(line, "END_MFD", 7)) break;
        long n;
        double x;
        if (StartsWithIgnoringCase(line, "KV_TANKS", 8)) {
            // A count beyond 32 bits could not be saved back as read: the count stays.
            if (ReadInt(line + 8, n) && n >= 0 && static_cast<unsigned long>(n) <= UINT32_MAX)
                r.tanksRefilled = static_cast<uint32_t>(n);
        } else if (StartsWithIgnoringCase(line, "KV_EJECT", 8)) {
            if (ReadDouble(line + 8, x)) r.ejectMjd = x;
        } else if (StartsWithIgnoringCase(line, "KV_ARTGEE", 9)) {
            // Single precision, as the value was always read; a value beyond it keeps artGee.
            if (ReadDouble(line + 9, x) && FitsSinglePrecision(x)) r.artGee = SinglePrecision(x);
        } else if (StartsWithIgnoringCase(line, "KV_FLAGS", 8)) {
            if (ReadInt(line + 8, n)) SetFlagWord(r, static_cast<unsigned>(n));
        } else if (StartsWithIgnoringCase(line, "KV_TARGET", 9)) {
            ReadName(line + 9, target);
            anyName = true;
        } else if (StartsWithIgnoringCase(line, "KV_SOURCE", 6)) {
            ReadName(Skip(line, 9), source);  // "KV_SOU" and whatever follows: a source line
            anyName = true;
        } else if (StartsWithIgnoringCase(line, "KV_CENTER", 6)) {
            ReadName(Skip(line, 9), center);
            anyName = true;
        } else {
            continue;
        }
        anyLine = true;
    }
    if (anyName) {
        RebuildBodyList(r);
        FindName(r, source, r.sourceBody);
        FindName(r, target, r.targetBody);
        MfdEntry *e = FindEntry(r, display);
        BodyIndex c = r.targetBody;
        if (e && (!center[0] || FindName(r, center, c))) e->centerBody = c;
    }
    if (!anyLine) ResetShipRecord(r, false);
}

}  // namespace kavrex
