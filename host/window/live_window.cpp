// live_window.cpp: the window on SDL2. Pictures are painted into a Cairo image (the same
// 24-bit format the pictures are written from), then copied to the window's surface, so the
// window shows exactly the pixels a picture file of the same moment holds.
#include "live_window.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

namespace kvhost {

struct LiveWindow::SdlParts {
    SDL_Window *window = nullptr;
};

namespace {

WindowEvent::Key KeyOf(SDL_Keycode k) {
    if (k >= SDLK_a && k <= SDLK_z) return WindowEvent::Letter;
    switch (k) {
    case SDLK_LCTRL:
    case SDLK_RCTRL: return WindowEvent::Control;
    case SDLK_PLUS:
    case SDLK_EQUALS:
    case SDLK_KP_PLUS: return WindowEvent::Faster;
    case SDLK_MINUS:
    case SDLK_KP_MINUS: return WindowEvent::Slower;
    case SDLK_SPACE:
    case SDLK_PAUSE: return WindowEvent::Pause;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return WindowEvent::Enter;
    case SDLK_ESCAPE: return WindowEvent::Escape;
    case SDLK_BACKSPACE: return WindowEvent::Backspace;
    case SDLK_LEFTBRACKET: return WindowEvent::Prograde;
    case SDLK_RIGHTBRACKET: return WindowEvent::Retrograde;
    case SDLK_KP_5: return WindowEvent::KillRotation;
    case SDLK_TAB: return WindowEvent::Menu;
    default: return WindowEvent::Other;
    }
}

}  // namespace

LiveWindow::~LiveWindow() {
    if (cr_) cairo_destroy(cr_);
    if (surface_) cairo_surface_destroy(surface_);
    if (sdl_) {
        if (sdl_->window) SDL_DestroyWindow(sdl_->window);
        delete sdl_;
        SDL_Quit();
    }
}

namespace {

bool Set(const char *name) {
    const char *v = std::getenv(name);
    return v && *v;
}

// SDL falls back to drivers that show nothing (offscreen, dummy) and, on the way, lets the
// Wayland library print its own complaints; a window nobody can see is no use here. So the
// driver is chosen from what the environment offers, unless SDL_VIDEODRIVER names one.
bool ChooseDriver(std::string &error) {
    if (Set("SDL_VIDEODRIVER")) return true;
    if (Set("WAYLAND_DISPLAY")) return true;
    if (Set("DISPLAY")) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
        return true;
    }
    error =
        "no display to open the window on: neither DISPLAY nor WAYLAND_DISPLAY is set (run it on a "
        "desktop, or under xvfb-run)";
    return false;
}

}  // namespace

bool LiveWindow::Open(const std::string &title, int width, int height, std::string &error) {
    if (!ChooseDriver(error)) return false;
    // The window shows a picture blitted onto its own surface: no accelerated framebuffer, so SDL
    // loads no OpenGL driver for it (a software one is some 55 MB of memory on a virtual display).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        error = std::string("no display to open the window on (") + SDL_GetError() + ")";
        SDL_Quit();
        return false;
    }
    const char *driver = SDL_GetCurrentVideoDriver();
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        error = std::string("no display to open the window on (SDL offers only its '") + driver + "' driver)";
        SDL_Quit();
        return false;
    }
    sdl_ = new SdlParts;
    sdl_->window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, 0);
    if (!sdl_->window) {
        error = std::string("cannot open a window (") + SDL_GetError() + ")";
        return false;
    }
    SDL_StopTextInput();
    width_ = width;
    height_ = height;
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cr_ = cairo_create(surface_);
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
        error = "cannot make the window's picture";
        return false;
    }
    return true;
}

void LiveWindow::Present() {
    cairo_surface_flush(surface_);
    SDL_Surface *target = SDL_GetWindowSurface(sdl_->window);
    if (!target) return;
    SDL_Surface *picture =
        SDL_CreateRGBSurfaceWithFormatFrom(cairo_image_surface_get_data(surface_), width_, height_, 32,
                                           cairo_image_surface_get_stride(surface_), SDL_PIXELFORMAT_RGB888);
    if (!picture) return;
    SDL_BlitSurface(picture, nullptr, target, nullptr);
    SDL_FreeSurface(picture);
    SDL_UpdateWindowSurface(sdl_->window);
}

bool LiveWindow::Poll(WindowEvent &e) {
    SDL_Event ev;
    while (SDL_PollEvent(&ev)) {
        e = WindowEvent();
        switch (ev.type) {
        case SDL_QUIT: e.kind = WindowEvent::Quit; return true;
        case SDL_WINDOWEVENT:
            // The picture is repainted on the next Present; an exposed window needs one now.
            if (ev.window.event == SDL_WINDOWEVENT_EXPOSED) Present();
            continue;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (ev.button.button != SDL_BUTTON_LEFT && ev.button.button != SDL_BUTTON_RIGHT) continue;
            e.kind = ev.type == SDL_MOUSEBUTTONDOWN ? WindowEvent::MouseDown : WindowEvent::MouseUp;
            e.x = ev.button.x;
            e.y = ev.button.y;
            e.right = ev.button.button == SDL_BUTTON_RIGHT;
            return true;
        case SDL_MOUSEMOTION:
            e.kind = WindowEvent::MouseMove;
            e.x = ev.motion.x;
            e.y = ev.motion.y;
            return true;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            e.kind = ev.type == SDL_KEYDOWN ? WindowEvent::KeyDown : WindowEvent::KeyUp;
            e.key = KeyOf(ev.key.keysym.sym);
            if (e.key == WindowEvent::Letter) e.letter = static_cast<char>('A' + (ev.key.keysym.sym - SDLK_a));
            if (e.key == WindowEvent::Letter && e.letter == 'L' && (ev.key.keysym.mod & KMOD_SHIFT))
                e.key = WindowEvent::HorizonLevel;
            if (ev.type == SDL_KEYDOWN && ev.key.repeat && e.key != WindowEvent::Backspace) continue;
            return true;
        case SDL_TEXTINPUT:
            e.kind = WindowEvent::Text;
            e.text = ev.text.text;
            return true;
        default: continue;
        }
    }
    return false;
}

void LiveWindow::SetTextInput(bool on) {
    if (on)
        SDL_StartTextInput();
    else
        SDL_StopTextInput();
}

unsigned long LiveWindow::Ticks() const { return SDL_GetTicks(); }

void LiveWindow::Wait(unsigned milliseconds) const { SDL_Delay(milliseconds); }

}  // namespace kvhost
