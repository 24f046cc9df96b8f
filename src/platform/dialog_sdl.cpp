// The display-settings dialog on SDL2: a small window of its own, drawn into
// a pixel buffer by the few shapes a dialog needs (rounded rectangles and
// circles with anti-aliased edges) and DejaVu Sans through SDL2_ttf. What
// the dialog does is the state machine of shell/display_dialog.h; this file
// only feeds it events and paints what it says.

#include "input/platform.h"
#include "platform/gamepad_sdl.h"
#include "platform/window_loss.h"
#include "shell/display_dialog.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

// Window points per dialog unit. Windows lays 8-point MS Shell Dlg out at
// 1.5 pixels per unit; 2 reads comfortably on today's screens.
constexpr int PointsPerUnit = 2;
// The font's pixel size in dialog units: 13 pixels at 2 points per unit.
constexpr float FontUnits = 6.5f;

struct Colour {
    uint8_t r, g, b;
};

constexpr Colour Background{0xF3, 0xF3, 0xF3};
constexpr Colour Text{0x1B, 0x1B, 0x1B};
constexpr Colour TextOnAccent{0xFF, 0xFF, 0xFF};
constexpr Colour GroupFrame{0xC6, 0xC6, 0xC6};
constexpr Colour ButtonFace{0xFD, 0xFD, 0xFD};
constexpr Colour ButtonHover{0xEE, 0xEE, 0xEE};
constexpr Colour ButtonPressed{0xDE, 0xDE, 0xDE};
constexpr Colour ButtonBorder{0xC0, 0xC0, 0xC0};
constexpr Colour Accent{0x00, 0x67, 0xC0};
constexpr Colour AccentHover{0x19, 0x75, 0xC5};
constexpr Colour AccentPressed{0x00, 0x4E, 0x93};
constexpr Colour AccentBorder{0x00, 0x55, 0x9F};
constexpr Colour RadioFace{0xFF, 0xFF, 0xFF};
constexpr Colour RadioHover{0xEA, 0xEA, 0xEA};
constexpr Colour RadioPressed{0xD6, 0xD6, 0xD6};
constexpr Colour RadioBorder{0x80, 0x80, 0x80};
constexpr Colour FocusRing{0x1B, 0x1B, 0x1B};

// An opaque picture the size of the window's drawable, ARGB8888.
class Canvas {
  public:
    void resize(int width, int height)
    {
        width_ = width;
        height_ = height;
        pixels_.assign(static_cast<size_t>(width) * height, 0);
    }
    int width() const { return width_; }
    int height() const { return height_; }
    const uint32_t* pixels() const { return pixels_.data(); }

    void clear(Colour c) { std::fill(pixels_.begin(), pixels_.end(), pack(c)); }

    // A rounded rectangle from (x0, y0) to (x1, y1) in pixels, filled, or
    // only a band of the given thickness inside its edge when thickness > 0.
    void roundedRect(float x0, float y0, float x1, float y1, float radius, Colour c, float thickness = 0)
    {
        const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
        const float hx = (x1 - x0) / 2, hy = (y1 - y0) / 2;
        radius = std::min({radius, hx, hy});
        const int left = std::max(0, static_cast<int>(std::floor(x0)));
        const int right = std::min(width_, static_cast<int>(std::ceil(x1)));
        const int top = std::max(0, static_cast<int>(std::floor(y0)));
        const int bottom = std::min(height_, static_cast<int>(std::ceil(y1)));
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                // Signed distance from the pixel's centre to the edge.
                float qx = std::fabs(x + 0.5f - cx) - (hx - radius);
                float qy = std::fabs(y + 0.5f - cy) - (hy - radius);
                float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
                float d = outside + std::min(std::max(qx, qy), 0.0f) - radius;
                float coverage = std::clamp(0.5f - d, 0.0f, 1.0f);
                if (thickness > 0)
                    coverage *= 1.0f - std::clamp(0.5f - (d + thickness), 0.0f, 1.0f);
                blend(x, y, c, coverage);
            }
        }
    }

    void circle(float cx, float cy, float radius, Colour c, float thickness = 0)
    {
        roundedRect(cx - radius, cy - radius, cx + radius, cy + radius, radius, c, thickness);
    }

    // Text rendered white on transparent: its alpha is the glyphs' coverage.
    void text(SDL_Surface* glyphs, int x0, int y0, Colour c)
    {
        if (!glyphs || glyphs->format->BytesPerPixel != 4)
            return;
        SDL_LockSurface(glyphs);
        for (int y = 0; y < glyphs->h; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(glyphs->pixels) +
                                                                y * glyphs->pitch);
            for (int x = 0; x < glyphs->w; ++x) {
                float alpha = static_cast<float>(row[x] >> 24) / 255.0f;
                if (alpha > 0)
                    blend(x0 + x, y0 + y, c, alpha);
            }
        }
        SDL_UnlockSurface(glyphs);
    }

  private:
    static uint32_t pack(Colour c) { return 0xFF000000u | (c.r << 16) | (c.g << 8) | c.b; }

    void blend(int x, int y, Colour c, float a)
    {
        if (a <= 0 || x < 0 || y < 0 || x >= width_ || y >= height_)
            return;
        uint32_t& p = pixels_[static_cast<size_t>(y) * width_ + x];
        auto mix = [a](uint32_t under, uint8_t over) {
            const float from = static_cast<float>(under);
            return static_cast<uint32_t>(std::lround(from + (over - from) * a));
        };
        p = 0xFF000000u | (mix((p >> 16) & 0xFF, c.r) << 16) | (mix((p >> 8) & 0xFF, c.g) << 8) |
            mix(p & 0xFF, c.b);
    }

    int width_ = 0, height_ = 0;
    std::vector<uint32_t> pixels_;
};

// The labels rendered once per pixel size.
class Labels {
  public:
    Labels() = default;
    Labels(const Labels&) = delete;
    Labels& operator=(const Labels&) = delete;
    ~Labels() { release(); }

    // Opens the font at the pixel size; false (and no text) when no font
    // file of the candidates can be opened.
    bool prepare(int pixelSize)
    {
        if (pixelSize == pixelSize_ && font_)
            return true;
        release();
        pixelSize_ = pixelSize;
        for (const std::string& path : dialogFontCandidates()) {
            font_ = TTF_OpenFont(path.c_str(), pixelSize);
            if (font_)
                break;
        }
        if (!font_)
            return false;
        int minX, maxX, minY, maxY, advance;
        capHeight_ = TTF_GlyphMetrics(font_, 'H', &minX, &maxX, &minY, &maxY, &advance) == 0
                         ? maxY
                         : TTF_FontAscent(font_) * 7 / 10;
        for (const DialogControlTemplate& c : DisplayDialogControls)
            surfaces_[static_cast<int>(c.control)] =
                TTF_RenderUTF8_Blended(font_, c.text, SDL_Color{255, 255, 255, 255});
        return true;
    }

    SDL_Surface* of(DialogControl control) const { return surfaces_[static_cast<int>(control)]; }
    int width(DialogControl control) const { return of(control) ? of(control)->w : 0; }
    int height(DialogControl control) const { return of(control) ? of(control)->h : 0; }
    // From the top of a label's surface to the middle of its capitals: the
    // line a label is centred on.
    float capMiddle() const { return font_ ? TTF_FontAscent(font_) - capHeight_ / 2.0f : 0; }

  private:
    void release()
    {
        for (SDL_Surface*& s : surfaces_) {
            SDL_FreeSurface(s);
            s = nullptr;
        }
        if (font_)
            TTF_CloseFont(font_);
        font_ = nullptr;
    }

    TTF_Font* font_ = nullptr;
    int pixelSize_ = 0;
    int capHeight_ = 0;
    std::array<SDL_Surface*, DisplayDialogControls.size()> surfaces_{};
};

// Paints the dialog at s pixels per dialog unit.
class Painter {
  public:
    Painter(Canvas& canvas, const Labels& labels, float s)
        : canvas_(canvas), labels_(labels), s_(s), hairline_(std::max(1.0f, std::round(s / 2)))
    {
    }

    void paint(const DisplayDialog& dialog)
    {
        canvas_.clear(Background);
        groupBox();
        radio(dialog, DialogControl::FullScreen);
        radio(dialog, DialogControl::Windowed);
        button(dialog, DialogControl::StartGame);
        button(dialog, DialogControl::ExitGame);
    }

  private:
    static Colour state(bool pressed, bool hover, Colour rest, Colour hovered, Colour pushed)
    {
        return pressed ? pushed : hover ? hovered : rest;
    }

    // Dialog units to whole pixels, so that straight edges stay sharp.
    float px(float units) const { return std::round(units * s_); }

    void label(DialogControl control, float left, float middle, Colour c)
    {
        canvas_.text(labels_.of(control), static_cast<int>(std::lround(left)),
                     static_cast<int>(std::lround(middle - labels_.capMiddle())), c);
    }

    void focusRing(float x0, float y0, float x1, float y1, float radius)
    {
        canvas_.roundedRect(x0, y0, x1, y1, radius, FocusRing, 2 * hairline_);
    }

    // The frame runs through the middle of the caption, which breaks it.
    void groupBox()
    {
        const DialogRect& r = dialogControl(DialogControl::DisplaySettings).rect;
        const float top = px(r.y), left = px(r.x);
        const float line = std::round(top + labels_.capMiddle());
        canvas_.roundedRect(left, line, px(r.x + r.width), px(r.y + r.height), px(2), GroupFrame, hairline_);
        const float textLeft = left + px(5);
        const float gap = px(2);
        canvas_.roundedRect(textLeft - gap, line - hairline_,
                            textLeft + labels_.width(DialogControl::DisplaySettings) + gap,
                            line + 2 * hairline_, 0, Background);
        label(DialogControl::DisplaySettings, textLeft, line, Text);
    }

    void radio(const DisplayDialog& dialog, DialogControl control)
    {
        const DialogRect& r = dialogControl(control).rect;
        const bool checked = dialog.isChecked(control);
        const bool hover = dialog.hover() == control;
        const bool pressed = dialog.pressed() == control;

        const float top = px(r.y), bottom = px(r.y + r.height), left = px(r.x);
        const float middle = (top + bottom) / 2;
        const float radius = px(4);
        const float cx = left + radius;
        if (checked) {
            canvas_.circle(cx, middle, radius, state(pressed, hover, Accent, AccentHover, AccentPressed));
            // The dot grows under the pointer and shrinks while pushed.
            float dot = radius * (pressed ? 0.38f : hover ? 0.55f : 0.47f);
            canvas_.circle(cx, middle, dot, RadioFace);
        } else {
            canvas_.circle(cx, middle, radius, state(pressed, hover, RadioFace, RadioHover, RadioPressed));
            canvas_.circle(cx, middle, radius, RadioBorder, hairline_);
            if (pressed)
                canvas_.circle(cx, middle, radius * 0.38f, RadioBorder);
        }
        const float textLeft = left + 2 * radius + px(3);
        label(control, textLeft, middle, Text);

        if (dialog.focus() == control) {
            // Round the button and its label, clear of both.
            const float pad = px(2);
            focusRing(left - pad, top - pad / 2, textLeft + labels_.width(control) + pad, bottom + pad / 2,
                      px(2));
        }
    }

    void button(const DisplayDialog& dialog, DialogControl control)
    {
        const DialogRect& r = dialogControl(control).rect;
        const bool isDefault = dialog.defaultButton() == control;
        const bool hover = dialog.hover() == control;
        const bool pressed = dialog.pressed() == control;

        const float x0 = px(r.x), y0 = px(r.y), x1 = px(r.x + r.width), y1 = px(r.y + r.height);
        const float radius = px(2);
        Colour face, border, ink;
        if (isDefault) {
            face = state(pressed, hover, Accent, AccentHover, AccentPressed);
            border = AccentBorder;
            ink = TextOnAccent;
        } else {
            face = state(pressed, hover, ButtonFace, ButtonHover, ButtonPressed);
            border = ButtonBorder;
            ink = Text;
        }
        canvas_.roundedRect(x0, y0, x1, y1, radius, face);
        canvas_.roundedRect(x0, y0, x1, y1, radius, border, hairline_);
        // Pushed in: the label sinks by a hair.
        const float sink = pressed ? hairline_ : 0;
        const float textLeft = std::round((x0 + x1 - labels_.width(control)) / 2);
        label(control, textLeft, (y0 + y1) / 2 + sink, ink);

        if (dialog.focus() == control) {
            // Inside the face: the group box's frame runs close above.
            const float inset = 2 * hairline_;
            canvas_.roundedRect(x0 + inset, y0 + inset, x1 - inset, y1 - inset, radius - inset / 2,
                                isDefault ? TextOnAccent : FocusRing, hairline_);
        }
    }

    Canvas& canvas_;
    const Labels& labels_;
    float s_;
    float hairline_;
};

std::optional<DialogKey> dialogKeyOf(const SDL_KeyboardEvent& key)
{
    switch (key.keysym.sym) {
    case SDLK_TAB:
        return (key.keysym.mod & KMOD_SHIFT) ? DialogKey::ShiftTab : DialogKey::Tab;
    case SDLK_LEFT:
        return DialogKey::Left;
    case SDLK_RIGHT:
        return DialogKey::Right;
    case SDLK_UP:
        return DialogKey::Up;
    case SDLK_DOWN:
        return DialogKey::Down;
    case SDLK_SPACE:
        return DialogKey::Space;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return DialogKey::Enter;
    case SDLK_ESCAPE:
        return DialogKey::Escape;
    default:
        return std::nullopt;
    }
}

// Everything the dialog's window holds, released in reverse on the way out.
class DialogWindow {
  public:
    ~DialogWindow()
    {
        labels_.reset();
        if (texture_)
            SDL_DestroyTexture(texture_);
        if (renderer_)
            SDL_DestroyRenderer(renderer_);
        if (window_)
            destroyWindow(window_);
        if (ttf_)
            TTF_Quit();
    }

    bool open(std::string* error)
    {
        SDL_Rect area;
        if (SDL_GetDisplayUsableBounds(0, &area) != 0 && SDL_GetDisplayBounds(0, &area) != 0)
            area = {0, 0, 1024, 768};
        // Twice the size on very large displays that report no high density
        // of their own (X11 at 200 per cent, say).
        SDL_Rect bounds = area;
        SDL_GetDisplayBounds(0, &bounds);
        const int unitPoints = PointsPerUnit * (bounds.h >= 2160 ? 2 : 1);

        unitPoints_ = unitPoints;
        const int width = DisplayDialogWidth * unitPoints;
        const int height = DisplayDialogHeight * unitPoints;
        window_ = SDL_CreateWindow(DisplayDialogCaption, area.x + std::max(0, (area.w - width) / 2),
                                   area.y + std::max(0, (area.h - height) / 2), width, height,
                                   SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN);
        if (!window_) {
            *error = std::string("no window: ") + SDL_GetError();
            return false;
        }
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
        if (!renderer_)
            renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
        if (!renderer_) {
            *error = std::string("no renderer: ") + SDL_GetError();
            return false;
        }
        if (TTF_Init() == 0)
            ttf_ = true;
        else
            std::fprintf(stderr, "Kestrava: SDL_ttf could not start: %s\n", TTF_GetError());
        labels_.emplace();
        return true;
    }

    void show()
    {
        SDL_ShowWindow(window_);
        SDL_RaiseWindow(window_);
    }

    Uint32 id() const { return SDL_GetWindowID(window_); }
    SDL_Window* sdlWindow() const { return window_; }
    float unitPoints() const { return static_cast<float>(unitPoints_); }

    void draw(const DisplayDialog& dialog)
    {
        int outW = 0, outH = 0, winW = 0, winH = 0;
        SDL_GetWindowSize(window_, &winW, &winH);
        if (SDL_GetRendererOutputSize(renderer_, &outW, &outH) != 0 || outW <= 0 || outH <= 0) {
            outW = winW;
            outH = winH;
        }
        if (outW <= 0 || outH <= 0)
            return;
        // Pixels per dialog unit on the drawable: more on high-density
        // displays, where glyphs are rendered at the larger size too.
        const float density = winW > 0 ? static_cast<float>(outW) / winW : 1.0f;
        const float s = unitPoints_ * density;

        if (!texture_ || canvas_.width() != outW || canvas_.height() != outH) {
            if (texture_)
                SDL_DestroyTexture(texture_);
            texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                         outW, outH);
            canvas_.resize(outW, outH);
        }
        if (ttf_ && !labels_->prepare(static_cast<int>(std::lround(FontUnits * s))) && !warned_) {
            std::fprintf(stderr, "Kestrava: no DejaVuSans.ttf found for the dialog's text\n");
            warned_ = true;
        }
        Painter(canvas_, *labels_, s).paint(dialog);

        if (texture_) {
            SDL_UpdateTexture(texture_, nullptr, canvas_.pixels(), canvas_.width() * 4);
            SDL_RenderClear(renderer_);
            SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        }
        SDL_RenderPresent(renderer_);
    }

  private:
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    bool ttf_ = false;
    bool warned_ = false;
    int unitPoints_ = PointsPerUnit;
    Canvas canvas_;
    std::optional<Labels> labels_;
};

// Runs the dialog's own loop. Returns the outcome, or Exit on a quit
// request from the system (SIGTERM and the like).
DialogOutcome runDialog(DialogWindow& window, bool fullScreen)
{
    DisplayDialog dialog(fullScreen);
    window.draw(dialog);
    window.show();
    DialogLook shown = dialog.look();

    const Uint32 id = window.id();
    const float unit = window.unitPoints();
    SDL_Event event;
    while (dialog.outcome() == DialogOutcome::Open) {
        if (!SDL_WaitEvent(&event))
            return DialogOutcome::Exit;
        bool redraw = false;
        // Destroyed by another program: as the close box.
        if (isLossOf(event, window.sdlWindow()))
            return DialogOutcome::Exit;
        switch (event.type) {
        case SDL_QUIT:
            return DialogOutcome::Exit;
        case SDL_WINDOWEVENT:
            if (event.window.windowID != id)
                break;
            switch (event.window.event) {
            case SDL_WINDOWEVENT_CLOSE:
                dialog.closeBox();
                break;
            case SDL_WINDOWEVENT_LEAVE:
                dialog.mouseLeave();
                break;
            case SDL_WINDOWEVENT_FOCUS_LOST:
                dialog.cancelPress();
                break;
            case SDL_WINDOWEVENT_EXPOSED:
            case SDL_WINDOWEVENT_SIZE_CHANGED:
            case SDL_WINDOWEVENT_DISPLAY_CHANGED:
                redraw = true;
                break;
            default:
                break;
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            std::optional<DialogKey> key = dialogKeyOf(event.key);
            if (!key || event.key.windowID != id)
                break;
            if (event.type == SDL_KEYUP)
                dialog.keyUp(*key);
            // Held Tab and arrows step on; a held Space, Enter or Escape
            // acts once.
            else if (!event.key.repeat || *key == DialogKey::Tab || *key == DialogKey::ShiftTab ||
                     *key == DialogKey::Left || *key == DialogKey::Right || *key == DialogKey::Up ||
                     *key == DialogKey::Down)
                dialog.keyDown(*key);
            break;
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            handleGamepadEvent(event);
            std::optional<GamepadButton> button = gamepadButtonOf(event.cbutton.button);
            std::optional<DialogKey> key = button ? dialogKeyOfButton(*button) : std::nullopt;
            if (key && event.type == SDL_CONTROLLERBUTTONDOWN)
                dialog.keyDown(*key);
            else if (key)
                dialog.keyUp(*key);
            break;
        }
        case SDL_MOUSEMOTION:
            if (event.motion.windowID == id)
                dialog.mouseMove(event.motion.x / unit, event.motion.y / unit);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            if (event.button.windowID != id || event.button.button != SDL_BUTTON_LEFT)
                break;
            DialogPoint p = dialogUnitsFromPixels(event.button.x, event.button.y, unit);
            if (event.type == SDL_MOUSEBUTTONDOWN)
                dialog.mousePress(p.x, p.y);
            else
                dialog.mouseRelease(p.x, p.y);
            break;
        }
        default:
            handleGamepadEvent(event);
            break;
        }
        if (dialog.outcome() != DialogOutcome::Open)
            break;
        if (redraw || dialog.look() != shown) {
            window.draw(dialog);
            shown = dialog.look();
        }
    }
    return dialog.outcome();
}

} // namespace

bool platformRunDisplayDialog(bool* fullScreen)
{
    const bool offered = *fullScreen;
    // Reference counted: the game's window keeps whatever was started before.
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        // Without video no game window can be made either; let its creation
        // say so.
        std::fprintf(stderr, "Kestrava: the display-settings dialog could not start video: %s\n",
                     SDL_GetError());
        return true;
    }
    DialogOutcome outcome;
    {
        DialogWindow window;
        std::string error;
        if (window.open(&error)) {
            SDL_StopTextInput();
            startGamepads();
            outcome = runDialog(window, offered);
        } else {
            std::fprintf(stderr,
                         "Kestrava: the display-settings dialog could not be shown (%s); "
                         "starting with the last choice\n",
                         error.c_str());
            outcome = offered ? DialogOutcome::StartFullScreen : DialogOutcome::StartWindowed;
        }
    }
    // What the player did in the dialog's window is not the game's input.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_WINDOWEVENT, SDL_SYSWMEVENT);
    SDL_FlushEvents(SDL_KEYDOWN, SDL_MULTIGESTURE);
    ignoreHeldGamepadButtons();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);

    *fullScreen = outcome == DialogOutcome::StartFullScreen;
    return outcome == DialogOutcome::StartWindowed || outcome == DialogOutcome::StartFullScreen;
}
