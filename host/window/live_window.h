// live_window.h: a desktop window that shows pictures painted with Cairo and reports the
// person's mouse and keys. The SDL library stays behind this header: the rest of the host sees
// a Cairo context to paint on and plain events.
#ifndef KVHOST_WINDOW_LIVE_WINDOW_H
#define KVHOST_WINDOW_LIVE_WINDOW_H

#include <cairo.h>

#include <string>

namespace kvhost {

struct WindowEvent {
    enum Kind { Quit, MouseDown, MouseUp, MouseMove, KeyDown, KeyUp, Text };
    // Keys the program gives a meaning to; Letter carries the letter in `letter` ('A'..'Z').
    // The cockpit's attitude holds: [ prograde, ] retrograde, keypad 5 kill rotation, Shift+L
    // level with the horizon (a bare L goes to the display); Tab shows a display's button menu.
    enum Key {
        Other,
        Letter,
        Control,
        Faster,
        Slower,
        Pause,
        Enter,
        Escape,
        Backspace,
        Prograde,
        Retrograde,
        KillRotation,
        HorizonLevel,
        Menu
    };
    Kind kind = Quit;
    int x = 0, y = 0;    // window pixels (mouse events)
    bool right = false;  // the right mouse button
    Key key = Other;
    char letter = 0;
    std::string text;  // typed text (Text events)
};

class LiveWindow {
public:
    LiveWindow() = default;
    ~LiveWindow();
    LiveWindow(const LiveWindow &) = delete;
    LiveWindow &operator=(const LiveWindow &) = delete;

    // Opens a window of width x height pixels. False, with the cause, when there is no display
    // to open it on.
    bool Open(const std::string &title, int width, int height, std::string &error);
    // The context to paint the next picture on, the window's size in pixels.
    cairo_t *canvas() { return cr_; }
    // Shows what was painted since the last Present.
    void Present();
    // The next event, if any is waiting; false when none is.
    bool Poll(WindowEvent &event);
    // Text events are sent only while text input is on (for the input box).
    void SetTextInput(bool on);
    // Milliseconds since the window opened.
    unsigned long Ticks() const;
    void Wait(unsigned milliseconds) const;

private:
    struct SdlParts;
    SdlParts *sdl_ = nullptr;
    cairo_surface_t *surface_ = nullptr;
    cairo_t *cr_ = nullptr;
    int width_ = 0, height_ = 0;
};

}  // namespace kvhost

#endif
