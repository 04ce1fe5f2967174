// fly_view.h: the live window's layout and its status strip, without the window itself: the
// open displays' pictures side by side (bezel and screen, as the picture files show them) and a
// strip along the bottom edge with the date, the time acceleration, the focus vessel and its
// state, and the frame rate.
#ifndef KVHOST_APP_FLY_VIEW_H
#define KVHOST_APP_FLY_VIEW_H

#include "../world/world.h"

#include <string>
#include <vector>

namespace kvhost {

constexpr int kStripHeight = 44;  // window pixels: two lines of text

struct FlyView {
    double scale = 2;           // window pixels per display pixel
    std::vector<int> slots;     // the displays shown, left to right
    std::vector<int> left;      // each picture's left edge, window pixels
    int width = 0, height = 0;  // the whole window
    int pictureHeight = 0;      // the pictures' height; the strip lies below it
};

// The layout for the given open display slots at `scale`.
FlyView LayOut(const std::vector<int> &slots, double scale);

// Where a window point lies: the index in view.slots of the display picture under it (-1 for
// none) and the bezel button there (-1 for none, on the screen or off the pictures).
struct ViewPoint {
    int display = -1;
    int button = -1;
};
ViewPoint Locate(const FlyView &view, int x, int y);

// What the strip says about the simulation.
struct StripFacts {
    double warp = 1;
    bool paused = false;
    bool pilot = false;  // the built-in pilot is flying
    double fps = 0;      // frames flown per second of real time
};
// The strip's two lines: "MJD 61450.5012  2027-02-14 12:01:43  x10  60 fps", then the focus
// vessel and its state ("Courier-1  orbiting Earth"), with PAUSED and PILOT when they are on.
struct StripLines {
    std::string time, vessel;
};
StripLines StripText(const World &world, const StripFacts &facts);
// Backspace in a typed UTF-8 text: the last character goes whole, however many bytes it has.
void EraseLastCharacter(std::string &text);

// The strip's reminder of the keys.
const char *StripKeys();

}  // namespace kvhost

#endif
