// The display-settings dialog's state machine: scripts of keyboard and mouse
// events, each with the outcome and look it must end in; hit testing at the
// template's rectangles; where the dialog looks for its font.

#include "headless/headless_platform.h"
#include "shell/display_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using C = DialogControl;
using K = DialogKey;
using O = DialogOutcome;

// The middle of a control, in dialog units.
DialogPoint centreOf(C control)
{
    const DialogRect& r = dialogControl(control).rect;
    return {r.x + r.width / 2, r.y + r.height / 2};
}

// One event of a script: a key, or the mouse at a point.
using Event = std::function<void(DisplayDialog&)>;

Event key(K k) // down and up
{
    return [k](DisplayDialog& d) { d.keyDown(k), d.keyUp(k); };
}
Event down(K k)
{
    return [k](DisplayDialog& d) { d.keyDown(k); };
}
Event up(K k)
{
    return [k](DisplayDialog& d) { d.keyUp(k); };
}
Event move(DialogPoint p)
{
    return [p](DisplayDialog& d) { d.mouseMove(p.x, p.y); };
}
Event press(DialogPoint p)
{
    return [p](DisplayDialog& d) { d.mousePress(p.x, p.y); };
}
Event release(DialogPoint p)
{
    return [p](DisplayDialog& d) { d.mouseRelease(p.x, p.y); };
}
Event click(DialogPoint p)
{
    return [p](DisplayDialog& d) { d.mouseMove(p.x, p.y), d.mousePress(p.x, p.y), d.mouseRelease(p.x, p.y); };
}
Event move(C c) { return move(centreOf(c)); }
Event press(C c) { return press(centreOf(c)); }
Event release(C c) { return release(centreOf(c)); }
Event click(C c) { return click(centreOf(c)); }
const Event Leave = [](DisplayDialog& d) { d.mouseLeave(); };
const Event Cancel = [](DisplayDialog& d) { d.cancelPress(); };
const Event Close = [](DisplayDialog& d) { d.closeBox(); };

// Where a script leaves the dialog; each field as a fresh dialog has it
// unless the row says otherwise.
struct End {
    O outcome = O::Open;
    C focus = C::StartGame;
    bool fullScreen = false;
    C hover = C::None;
    C pressed = C::None;
    C defaultButton = C::StartGame;
};

struct Script {
    const char* what;
    std::vector<Event> events;
    End end;
};

void expectScripts(const std::vector<Script>& scripts)
{
    for (const Script& s : scripts) {
        SCOPED_TRACE(s.what);
        DisplayDialog d;
        for (const Event& event : s.events)
            event(d);
        EXPECT_EQ(d.outcome(), s.end.outcome);
        EXPECT_EQ(d.focus(), s.end.focus);
        EXPECT_EQ(d.fullScreen(), s.end.fullScreen);
        EXPECT_EQ(d.isChecked(C::FullScreen), s.end.fullScreen);
        EXPECT_EQ(d.isChecked(C::Windowed), !s.end.fullScreen);
        EXPECT_FALSE(d.isChecked(C::StartGame));
        EXPECT_EQ(d.hover(), s.end.hover);
        EXPECT_EQ(d.pressed(), s.end.pressed);
        EXPECT_EQ(d.defaultButton(), s.end.defaultButton);
        // The look holds the same, so a change of any of them redraws.
        EXPECT_EQ(d.look(), (DialogLook{s.end.focus, s.end.hover, s.end.pressed, s.end.defaultButton,
                                        s.end.fullScreen}));
    }
}

} // namespace

// The mode the game starts in, and the ways out: a radio only sets the
// mode, and events after the end change nothing.
TEST(DisplayDialog, OutcomesOfEventScripts)
{
    const C Start = C::StartGame, Exit = C::ExitGame, Full = C::FullScreen, Windowed = C::Windowed;
    expectScripts({
        {"fresh: Windowed checked, Start Game focused", {}, {}},
        {"Enter", {down(K::Enter)}, {.outcome = O::StartWindowed}},
        {"FullScreen, Enter",
         {click(Full), down(K::Enter)},
         {.outcome = O::StartFullScreen, .focus = Full, .fullScreen = true, .hover = Full}},
        {"FullScreen, Windowed, Start Game",
         {click(Full), click(Windowed), click(Start)},
         {.outcome = O::StartWindowed, .hover = Start}},
        {"FullScreen, Escape",
         {click(Full), down(K::Escape)},
         {.outcome = O::Exit, .focus = Full, .fullScreen = true, .hover = Full}},
        {"close box", {Close}, {.outcome = O::Exit}},
        {"Exit Game",
         {click(Exit)},
         {.outcome = O::Exit, .focus = Exit, .hover = Exit, .defaultButton = Exit}},
        {"after Escape", {down(K::Escape), down(K::Enter), click(Start), Close}, {.outcome = O::Exit}},
        {"after Enter", {down(K::Enter), down(K::Escape), click(Full)}, {.outcome = O::StartWindowed}},
    });
}

// Tab stops: Start Game, Exit Game, then the radio group on its checked
// button; Shift+Tab goes the other way round. Arrows move the selection in
// the group and wrap, and do nothing on a push button. Space arms the
// focused control and activates it on release; Enter activates the
// default button, the focused push button or else Start Game.
TEST(DisplayDialog, KeyboardScripts)
{
    const C Exit = C::ExitGame, Full = C::FullScreen, Windowed = C::Windowed;
    const Event tab = key(K::Tab), back = key(K::ShiftTab), space = key(K::Space);
    const DialogPoint full = centreOf(Full), nowhere{0, 0};
    expectScripts({
        {"Tab", {tab}, {.focus = Exit, .defaultButton = Exit}},
        {"Tab twice", {tab, tab}, {.focus = Windowed}},
        {"Tab three times", {tab, tab, tab}, {}},
        {"Shift+Tab", {back}, {.focus = Windowed}},
        {"Shift+Tab twice", {back, back}, {.focus = Exit, .defaultButton = Exit}},
        {"Shift+Tab three times", {back, back, back}, {}},
        {"into the group on FullScreen",
         {click(Full), tab, back},
         {.focus = Full, .fullScreen = true, .hover = Full}},
        {"Up", {back, key(K::Up)}, {.focus = Full, .fullScreen = true}},
        {"Up twice", {back, key(K::Up), key(K::Up)}, {.focus = Windowed}},
        {"Down wraps", {back, key(K::Down)}, {.focus = Full, .fullScreen = true}},
        {"Left", {back, key(K::Left)}, {.focus = Full, .fullScreen = true}},
        {"Up, Right", {back, key(K::Up), key(K::Right)}, {.focus = Windowed}},
        {"Up, Enter",
         {back, key(K::Up), down(K::Enter)},
         {.outcome = O::StartFullScreen, .focus = Full, .fullScreen = true}},
        {"arrows on Start Game", {key(K::Up), key(K::Down), key(K::Left), key(K::Right)}, {}},
        {"Down on Exit Game", {tab, key(K::Down)}, {.focus = Exit, .defaultButton = Exit}},
        {"Space held", {down(K::Space)}, {.pressed = C::StartGame}},
        {"Space", {space}, {.outcome = O::StartWindowed}},
        {"Tab, Space", {tab, space}, {.outcome = O::Exit, .focus = Exit, .defaultButton = Exit}},
        {"Space held on an unchecked radio",
         {press(full), release(nowhere), down(K::Space)},
         {.focus = Full, .pressed = Full}},
        {"Space on an unchecked radio",
         {press(full), release(nowhere), space},
         {.focus = Full, .fullScreen = true}},
        {"Space on the radio, then on Start Game",
         {press(full), release(nowhere), space, tab, space},
         {.outcome = O::StartFullScreen, .fullScreen = true}},
        {"Space held, Tab", {down(K::Space), down(K::Tab)}, {.focus = Exit, .defaultButton = Exit}},
        {"Space held, Tab, released",
         {down(K::Space), down(K::Tab), up(K::Space)},
         {.focus = Exit, .defaultButton = Exit}},
        {"Space held, focus lost, released", {down(K::Space), Cancel, up(K::Space)}, {}},
        {"Tab, Enter", {tab, down(K::Enter)}, {.outcome = O::Exit, .focus = Exit, .defaultButton = Exit}},
        {"Tab twice, Enter", {tab, tab, down(K::Enter)}, {.outcome = O::StartWindowed, .focus = Windowed}},
    });
}

// A press arms the control under the pointer, the release on the same
// control activates it; only the held control lights up; leaving the
// window or losing the focus disarms; the group box takes no clicks.
TEST(DisplayDialog, MouseScripts)
{
    const C Start = C::StartGame, Exit = C::ExitGame, Full = C::FullScreen, Windowed = C::Windowed;
    const DialogPoint start = centreOf(Start), above{start.x, 60}, out{-5, -5};
    const DialogRect& full = dialogControl(Full).rect;
    const DialogPoint fullLabelEnd{full.x + full.width - 1, full.y + full.height / 2};
    expectScripts({
        {"over Start Game", {move(Start)}, {.hover = Start}},
        {"pressed on Start Game", {move(Start), press(Start)}, {.hover = Start, .pressed = Start}},
        {"dragged off", {press(Start), move(above)}, {}},
        {"dragged off, released", {press(Start), move(above), release(above)}, {}},
        {"off and back on", {press(Start), move({0, 0}), move(Start)}, {.hover = Start, .pressed = Start}},
        {"off and back on, released",
         {press(Start), move({0, 0}), move(Start), release(Start)},
         {.outcome = O::StartWindowed, .hover = Start}},
        {"Exit Game held over Start Game",
         {press(Exit), move(Start)},
         {.focus = Exit, .defaultButton = Exit}},
        {"released there",
         {press(Exit), move(Start), release(Start)},
         {.focus = Exit, .hover = Start, .defaultButton = Exit}},
        {"FullScreen pressed, released on Windowed",
         {press(Full), release(Windowed)},
         {.focus = Full, .hover = Windowed}},
        {"left the window", {press(Exit), Leave}, {.focus = Exit, .defaultButton = Exit}},
        {"left, released outside",
         {press(Exit), Leave, release(out)},
         {.focus = Exit, .defaultButton = Exit}},
        {"focus lost", {press(Exit), Cancel}, {.focus = Exit, .hover = Exit, .defaultButton = Exit}},
        {"focus lost, released",
         {press(Exit), Cancel, release(Exit)},
         {.focus = Exit, .hover = Exit, .defaultButton = Exit}},
        {"the end of the FullScreen label",
         {click(fullLabelEnd)},
         {.focus = Full, .fullScreen = true, .hover = Full}},
        {"outside every control", // in the group box, its frame, the margin, between the buttons
         {click({100, 50}), click({17.5f, 30}), click({5, 5}), click({90, 80})},
         {}},
        {"over Windowed, then the group box", {move(Windowed), move({centreOf(Windowed).x, 60})}, {}},
        {"over Windowed, then away", {move(Windowed), Leave}, {}},
        {"a click given in pixels",
         {click(dialogUnitsFromPixels(100, 60, 2))},
         {.focus = Full, .fullScreen = true, .hover = Full}},
    });
}

// Each rectangle holds its top-left corner and not its right or bottom
// edge (the group box's clicks and pixel points are in the mouse scripts).
TEST(DisplayDialog, HitTestAtTheRectanglesAndTheirEdges)
{
    for (C control : {C::StartGame, C::ExitGame, C::FullScreen, C::Windowed}) {
        const DialogRect& r = dialogControl(control).rect;
        const float right = r.x + r.width, bottom = r.y + r.height;
        EXPECT_EQ(dialogHitTest(r.x, r.y), control);
        EXPECT_EQ(dialogHitTest(right - 0.01f, bottom - 0.01f), control);
        EXPECT_EQ(dialogHitTest(r.x - 0.01f, r.y), C::None);
        EXPECT_EQ(dialogHitTest(r.x, r.y - 0.01f), C::None);
        EXPECT_EQ(dialogHitTest(right, r.y), C::None);
        EXPECT_EQ(dialogHitTest(r.x, bottom), C::None);
    }
}

TEST(DisplayDialog, TheSystemFontFirstThenTheCopyInTheDataDirectory)
{
    headless::reset();
    headless::setExecutableDir("/opt/kestrava/bin/");
    std::vector<std::string> paths = dialogFontCandidates();
    ASSERT_GE(paths.size(), 4u);
    EXPECT_EQ(paths.front(), "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    // Every system path comes before the first copy of our own, so a
    // package that ships none still finds the font, and an installation
    // that ships one uses the system's where there is one.
    auto firstOwn = std::find_if(paths.begin(), paths.end(),
                                 [](const std::string& p) { return !p.starts_with("/usr/share/fonts/"); });
    ASSERT_NE(firstOwn, paths.end());
    EXPECT_EQ(*firstOwn, "DejaVuSans.ttf") << "the data directory the game has changed to";
    for (auto it = firstOwn; it != paths.end(); ++it)
        EXPECT_FALSE(it->starts_with("/usr/share/fonts/")) << *it;
    EXPECT_NE(std::find(firstOwn, paths.end(), "/opt/kestrava/bin/data/DejaVuSans.ttf"), paths.end());
    EXPECT_NE(std::find(firstOwn, paths.end(), "/opt/kestrava/bin/../share/kestrava/DejaVuSans.ttf"),
              paths.end());
    for (const std::string& path : paths)
        EXPECT_TRUE(path.ends_with("/DejaVuSans.ttf") || path == "DejaVuSans.ttf") << path;
}
