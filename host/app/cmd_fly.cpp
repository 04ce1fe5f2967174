// cmd_fly.cpp: "kavrex-sim fly": a window in which a person flies Kavrex live. The open
// displays are shown with their bezels as the pictures show them, refreshed at the displays'
// own interval, while the simulation runs in real time times the warp. The mouse presses the
// bezel buttons, letter keys go to the display under the mouse (Ctrl is the modifier), "+",
// "-" and Space are the simulator's time keys, and closing the window saves the scenario, as
// the simulator does on exit. With --pilot the built-in pilot flies until any key is pressed.
#include "commands.h"

#include "../cockpit/cockpit.h"
#include "../cockpit/input_state.h"
#include "../cockpit/key_codes.h"
#include "../gdi/picture.h"
#include "../scenario/numbers.h"
#include "../window/live_window.h"
#include "../session/display_reading.h"
#include "fly_view.h"
#include "../pilot/pilot_turn.h"
#include "../session/session.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

namespace kvhost {

namespace {

constexpr int kMaxFramesPerPass = 8;             // frames flown in one pass to catch up with the clock
constexpr double kStallMs = 500;                 // behind by more: the clock is reset, not caught up
constexpr double kStripEveryMs = 250;            // the strip's date and rate are redrawn this often
constexpr int kMaxWindowSide = 16384;            // pixels: beyond this no window system makes one
constexpr size_t kMaxBoxText = kInputBoxLength;  // bytes typed into the input box, as the simulator's

struct HeldButton {
    int slot = -1, button = -1;
    bool right = false;
};

struct Fly {
    Fly(Session &s, LiveWindow &w, FlyView v) : session(s), window(w), view(std::move(v)) {}
    Session &session;
    LiveWindow &window;
    FlyView view;
    bool running = true, paused = false, dirty = true;
    bool pilotOn = false;
    PilotSeat seat;
    HeldButton held;
    int mouseX = -1, mouseY = -1;
    bool boxShown = false;
    std::string boxText;
    double fps = 0;
};

// The person acts: the pilot, if it was flying, hands over.
void TakeOver(Fly &f) {
    if (!f.pilotOn) return;
    f.pilotOn = false;
    f.dirty = true;
    std::printf("kavrex-sim: you have the controls; the pilot is off\n");
    std::fflush(stdout);
}

// The input box as the module opened or closed it: typed text goes to it while it is open.
void FollowInputBox(Fly &f) {
    const InputBox &box = PendingInputBox();
    if (box.open == f.boxShown) return;
    f.boxShown = box.open;
    f.boxText = box.open ? box.initialText : "";
    f.window.SetTextInput(box.open);
    f.dirty = true;
}

// The display the keys go to: the one under the mouse, else the left-most.
int KeySlot(const Fly &f) {
    const ViewPoint p = Locate(f.view, f.mouseX, f.mouseY);
    return f.view.slots[p.display >= 0 ? p.display : 0];
}

void SetWarp(Fly &f, double warp) {
    f.session.simulation().SetTimeAcceleration(std::min(kMaxWarp, std::max(kMinWarp, warp)));
    f.dirty = true;
}

void BoxKey(Fly &f, const WindowEvent &e) {
    if (e.key == WindowEvent::Enter)
        AnswerInputBox(f.boxText);
    else if (e.key == WindowEvent::Escape)
        CancelInputBox();
    else if (e.key == WindowEvent::Backspace)
        EraseLastCharacter(f.boxText);
    f.dirty = true;
}

void KeyDown(Fly &f, const WindowEvent &e) {
    TakeOver(f);
    if (f.boxShown) {
        BoxKey(f, e);
        return;
    }
    const double warp = f.session.simulation().timeAcceleration();
    switch (e.key) {
    case WindowEvent::Control: SetControlKeyDown(true); break;
    case WindowEvent::Faster: SetWarp(f, warp * 10); break;
    case WindowEvent::Slower: SetWarp(f, warp / 10); break;
    case WindowEvent::Pause:
        f.paused = !f.paused;
        f.dirty = true;
        break;
    case WindowEvent::Letter:
        // As in the simulator: keys reach a display only while the flight runs, and never with
        // Ctrl held (the modified commands are the buttons' right clicks).
        if (f.paused || ControlKeyDown() || Slot(KeySlot(f)).menuShown) break;
        PressKey(KeySlot(f), KeyCodeForLetter(e.letter));
        f.dirty = true;
        break;
    case WindowEvent::Prograde:
    case WindowEvent::Retrograde:
    case WindowEvent::KillRotation:
    case WindowEvent::HorizonLevel: {
        // The cockpit's own holds, on the focus vessel, while the flight runs.
        if (f.paused) break;
        const DWORD key = e.key == WindowEvent::Prograde       ? kKeyPrograde
                          : e.key == WindowEvent::Retrograde   ? kKeyRetrograde
                          : e.key == WindowEvent::KillRotation ? kKeyKillRot
                                                               : kKeyHorizonLevel;
        PressVesselKey(key);
        f.dirty = true;
        break;
    }
    case WindowEvent::Menu: {
        // The display's button menu, as the simulator shows it: while shown, the display is not
        // refreshed and takes no keys.
        DisplaySlot &slot = Slot(KeySlot(f));
        slot.menuShown = !slot.menuShown;
        f.dirty = true;
        break;
    }
    default: break;
    }
}

void MouseDown(Fly &f, const WindowEvent &e) {
    TakeOver(f);
    f.mouseX = e.x;
    f.mouseY = e.y;
    const ViewPoint p = Locate(f.view, e.x, e.y);
    // Buttons work only while the flight runs, as the simulator's glass cockpit's do.
    if (p.button < 0 || f.boxShown || f.held.slot >= 0 || f.paused) return;
    f.held = {f.view.slots[p.display], p.button, e.right};
    // The glass cockpit's first event: down and pressed at once; then pressed each frame held.
    PressButton(f.held.slot, f.held.button,
                e.right ? PANEL_MOUSE_RBDOWN | PANEL_MOUSE_RBPRESSED : PANEL_MOUSE_LBDOWN | PANEL_MOUSE_LBPRESSED);
    f.dirty = true;
}

// The glass cockpit sends nothing when a button is let go.
void MouseUp(Fly &f, const WindowEvent &e) {
    if (f.held.slot < 0 || f.held.right != e.right) return;
    f.held = HeldButton();
    f.dirty = true;
}

void Handle(Fly &f, const WindowEvent &e) {
    switch (e.kind) {
    case WindowEvent::Quit: f.running = false; break;
    case WindowEvent::MouseMove:
        f.mouseX = e.x;
        f.mouseY = e.y;
        break;
    case WindowEvent::MouseDown: MouseDown(f, e); break;
    case WindowEvent::MouseUp: MouseUp(f, e); break;
    case WindowEvent::KeyDown: KeyDown(f, e); break;
    case WindowEvent::KeyUp:
        if (e.key == WindowEvent::Control) SetControlKeyDown(false);
        break;
    case WindowEvent::Text:
        if (f.boxShown && f.boxText.size() + e.text.size() <= kMaxBoxText) {
            f.boxText += e.text;
            f.dirty = true;
        }
        break;
    }
    FollowInputBox(f);
}

// The pilot's turn at each refresh of its display, as in a piloted run. A transfer it will not fly
// ends the flight, as it ends a run.
void PilotTurn(Fly &f, const std::vector<int> &due) {
    Session &s = f.session;
    const PilotAction a = TakePilotTurn(f.seat, due, s.LastReading(f.seat.slot), s.world(), s.simulation());
    if (!a.what.empty()) {
        std::printf("pilot: %s\n", a.what.c_str());
        std::fflush(stdout);
    }
    if (!f.seat.refusal.empty()) f.running = false;
    if (f.seat.pilot.done()) f.pilotOn = false;
}

void PaintStrip(Fly &f, cairo_t *cr) {
    const double top = f.view.pictureHeight;
    cairo_set_source_rgb(cr, 0.08, 0.09, 0.1);
    cairo_rectangle(cr, 0, top, f.view.width, kStripHeight);
    cairo_fill(cr);
    cairo_select_font_face(cr, "DejaVu Sans Mono", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 13);
    const double first = top + 17, second = top + 36;
    if (f.boxShown) {
        const std::string line = PendingInputBox().title + ": " + f.boxText + "_   Enter answers, Escape cancels";
        cairo_set_source_rgb(cr, 0.25, 0.27, 0.15);
        cairo_rectangle(cr, 2, top + 2, f.view.width - 4, kStripHeight - 4);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 1, 1, 0.6);
        cairo_move_to(cr, 8, first);
        cairo_show_text(cr, line.c_str());
        return;
    }
    StripFacts facts;
    facts.warp = f.session.simulation().timeAcceleration();
    facts.paused = f.paused;
    facts.pilot = f.pilotOn;
    facts.fps = f.fps;
    const StripLines lines = StripText(f.session.world(), facts);
    // Legible at every scale: the text shrinks to the window's width, and the key help moves to
    // the second line, or goes, where it would run into the date.
    const double room = f.view.width - 16;
    cairo_text_extents_t time, vessel, keys;
    cairo_text_extents(cr, lines.time.c_str(), &time);
    cairo_text_extents(cr, lines.vessel.c_str(), &vessel);
    const double widest = std::max(time.x_advance, vessel.x_advance);
    if (widest > room) cairo_set_font_size(cr, std::max(7.0, 13 * room / widest));
    cairo_text_extents(cr, lines.time.c_str(), &time);
    cairo_text_extents(cr, lines.vessel.c_str(), &vessel);
    cairo_text_extents(cr, StripKeys(), &keys);
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.8);
    cairo_move_to(cr, 8, first);
    cairo_show_text(cr, lines.time.c_str());
    cairo_move_to(cr, 8, second);
    cairo_show_text(cr, lines.vessel.c_str());
    const double gap = 24;
    double keysAt = 0;
    if (time.x_advance + gap + keys.x_advance <= room)
        keysAt = first;
    else if (vessel.x_advance + gap + keys.x_advance <= room)
        keysAt = second;
    if (keysAt > 0) {
        cairo_set_source_rgb(cr, 0.55, 0.55, 0.5);
        cairo_move_to(cr, f.view.width - keys.x_advance - 8, keysAt);
        cairo_show_text(cr, StripKeys());
    }
}

// The button menu over the screen: a line a button, its label, its menu text and its key, the
// texts the module hands the simulator.
void DrawButtonMenu(const DisplaySlot &d, HDC hdc) {
    const MFDBUTTONMENU *menu = nullptr;
    const int count = d.instance ? d.instance->ButtonMenu(&menu) : 0;
    DeviceContext &dc = *DeviceContext::FromHdc(hdc);
    const int line = std::max(1, d.height / 14);
    dc.DrawText(4, 0, "Button menu (Tab closes)", RGB(255, 255, 255));
    for (int i = 0; i < count && i < 12 && menu; ++i) {
        const char *label = d.instance->ButtonLabel(i);
        const std::string text = FormatText("%-3s %-18s %c", label ? label : "", menu[i].line1 ? menu[i].line1 : "",
                                            menu[i].selchar ? menu[i].selchar : ' ');
        dc.DrawText(4, line * (i + 2), text, RGB(0, 255, 0));
    }
}

void Paint(Fly &f) {
    cairo_t *cr = f.window.canvas();
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    for (size_t i = 0; i < f.view.slots.size(); ++i) {
        const int s = f.view.slots[i];
        const DisplaySlot &d = Slot(s);
        const RecordingDc *last = f.session.LastRefresh(s);
        cairo_save(cr);
        cairo_translate(cr, f.view.left[i], 0);
        PaintDisplayPicture(
            cr, d.width, d.height, ButtonLabels(s), f.view.scale,
            [&](HDC hdc) {
                if (d.menuShown)
                    DrawButtonMenu(d, hdc);
                else if (last)
                    last->ReplayOn(*DeviceContext::FromHdc(hdc));
            },
            f.held.slot == s ? f.held.button : -1);
        cairo_restore(cr);
    }
    PaintStrip(f, cr);
    f.window.Present();
    f.dirty = false;
}

bool AnyDisplayInvalid() {
    for (int s = 0; s < kDisplaySlots; ++s)
        if (Slot(s).instance && Slot(s).displayInvalid) return true;
    return false;
}

// Real time: frames are flown as the clock comes due, the displays refresh on the simulation's
// schedule (or at once when the module asks), and the window is repainted when anything shown
// has changed.
void Loop(Fly &f, double fps) {
    Simulation &sim = f.session.simulation();
    const double frameMs = 1000.0 / fps;
    double nextFrame = static_cast<double>(f.window.Ticks()), nextStrip = 0, rateStart = nextFrame;
    long rateFrames = 0;
    while (f.running) {
        WindowEvent e;
        while (f.running && f.window.Poll(e)) Handle(f, e);
        if (!f.running) break;
        const double now = static_cast<double>(f.window.Ticks());
        if (f.paused || now - nextFrame > kStallMs) nextFrame = now;
        for (int n = 0; !f.paused && now >= nextFrame && n < kMaxFramesPerPass; ++n) {
            // The scenario's timeline, as a run carries it out; an event that fails ends the flight.
            std::string error;
            if (!f.session.PlayTimeline(error)) {
                Fail(error);
                f.running = false;
                break;
            }
            sim.Frame();
            ++rateFrames;
            nextFrame += frameMs;
            if (f.held.slot >= 0)
                PressButton(f.held.slot, f.held.button, f.held.right ? PANEL_MOUSE_RBPRESSED : PANEL_MOUSE_LBPRESSED);
        }
        FollowInputBox(f);
        if (AnyDisplayInvalid()) {
            f.session.RefreshDisplays();
            f.dirty = true;
        }
        if (now - rateStart >= 1000) {
            f.fps = rateFrames * 1000.0 / (now - rateStart);
            rateStart = now;
            rateFrames = 0;
        }
        if (f.dirty || now >= nextStrip) {
            Paint(f);
            nextStrip = now + kStripEveryMs;
        }
        const double wait = std::min(f.paused ? 20.0 : nextFrame - static_cast<double>(f.window.Ticks()), 20.0);
        if (wait >= 1) f.window.Wait(static_cast<unsigned>(wait));
    }
}

}  // namespace

int RunFly(const CommandLine &cl) {
    Session session;
    if (!StartSession(session, cl)) return 1;
    const std::vector<int> open = OpenDisplaysOrKavrex(session);
    if (open.empty()) return 1;
    std::string error;
    const std::string out = OutputFolder(cl, session);
    if (!MakeFolders(out, error)) return Fail(error);

    LiveWindow window;
    Fly f(session, window, LayOut(open, cl.scale));
    if (f.view.width > kMaxWindowSide || f.view.height > kMaxWindowSide) {
        return Fail("fly: a window of " + std::to_string(f.view.width) + " x " + std::to_string(f.view.height) +
                    " pixels is more than a screen can hold; choose a smaller --scale or --size");
    }
    if (!window.Open("Kavrex - " + session.scenario().path, f.view.width, f.view.height, error))
        return Fail("fly: " + error);
    f.paused = cl.paused;
    f.pilotOn = cl.pilot;
    f.seat.slot = open.front();
    Simulation &sim = session.simulation();
    sim.SetTimeAcceleration(cl.warp);
    session.onRefresh = [&f](const std::vector<int> &due) {
        f.dirty = true;
        if (f.pilotOn) PilotTurn(f, due);
    };
    // The first picture is the moment "render" shows: one frame, predicted afresh.
    session.FlyToOneMoment(1);
    session.RefreshDisplays();
    Paint(f);
    std::printf("kavrex-sim: flying %s; close the window to save and stop\n", session.scenario().path.c_str());
    std::fflush(stdout);
    Loop(f, cl.fps);

    SetControlKeyDown(false);
    if (PendingInputBox().open) CancelInputBox();
    const std::string scn = out + "/final.scn";
    if (!session.Save(scn, error)) return Fail(error);
    std::printf("wrote %s\n", scn.c_str());
    return f.seat.refusal.empty() ? 0 : kRefusedStatus;
}

}  // namespace kvhost
