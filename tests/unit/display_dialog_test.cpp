// The display-settings dialog's state machine: the mode it ends with, the
// keyboard's focus and activation, the mouse's press and release, and hit
// testing at the template's rectangles.

#include "headless/headless_platform.h"
#include "shell/display_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using C = DialogControl;
using K = DialogKey;
using O = DialogOutcome;

void press(DisplayDialog& d, K key)
{
    d.keyDown(key);
    d.keyUp(key);
}

// The middle of a control, in dialog units.
DialogPoint centreOf(C control)
{
    const DialogRect& r = dialogControl(control).rect;
    return {r.x + r.width / 2, r.y + r.height / 2};
}

void click(DisplayDialog& d, DialogPoint p)
{
    d.mouseMove(p.x, p.y);
    d.mousePress(p.x, p.y);
    d.mouseRelease(p.x, p.y);
}

void click(DisplayDialog& d, C control) { click(d, centreOf(control)); }

} // namespace

TEST(DisplayDialogStart, WindowedCheckedAndStartGameFocusedAndDefault)
{
    DisplayDialog d;
    EXPECT_EQ(d.outcome(), O::Open);
    EXPECT_FALSE(d.fullScreen());
    EXPECT_TRUE(d.isChecked(C::Windowed));
    EXPECT_FALSE(d.isChecked(C::FullScreen));
    EXPECT_FALSE(d.isChecked(C::StartGame));
    EXPECT_EQ(d.focus(), C::StartGame);
    EXPECT_EQ(d.defaultButton(), C::StartGame);
    EXPECT_EQ(d.hover(), C::None);
    EXPECT_EQ(d.pressed(), C::None);
}

// The mode the game starts in, and the ways out.
TEST(DisplayDialogOutcome, EnterStartsWindowedWithoutAClickOnFullScreen)
{
    DisplayDialog d;
    d.keyDown(K::Enter);
    EXPECT_EQ(d.outcome(), O::StartWindowed);
}

TEST(DisplayDialogOutcome, FullScreenThenWindowedStartsWindowed)
{
    DisplayDialog d;
    click(d, C::FullScreen);
    EXPECT_TRUE(d.fullScreen());
    click(d, C::Windowed);
    EXPECT_FALSE(d.fullScreen());
    click(d, C::StartGame);
    EXPECT_EQ(d.outcome(), O::StartWindowed);
}

TEST(DisplayDialogOutcome, FullScreenThenEnterStartsFullScreen)
{
    DisplayDialog d;
    click(d, C::FullScreen);
    EXPECT_EQ(d.outcome(), O::Open); // a radio only sets the mode
    d.keyDown(K::Enter);
    EXPECT_EQ(d.outcome(), O::StartFullScreen);
}

TEST(DisplayDialogOutcome, EscapeCloseBoxAndExitGameExitWhateverTheMode)
{
    DisplayDialog escape;
    click(escape, C::FullScreen);
    escape.keyDown(K::Escape);
    EXPECT_EQ(escape.outcome(), O::Exit);

    DisplayDialog close;
    close.closeBox();
    EXPECT_EQ(close.outcome(), O::Exit);

    DisplayDialog button;
    click(button, C::ExitGame);
    EXPECT_EQ(button.outcome(), O::Exit);
}

TEST(DisplayDialogOutcome, EventsAfterTheEndChangeNothing)
{
    DisplayDialog d;
    d.keyDown(K::Escape);
    d.keyDown(K::Enter);
    click(d, C::StartGame);
    d.closeBox();
    EXPECT_EQ(d.outcome(), O::Exit);

    DisplayDialog started;
    started.keyDown(K::Enter);
    started.keyDown(K::Escape);
    click(started, C::FullScreen);
    EXPECT_EQ(started.outcome(), O::StartWindowed);
    EXPECT_FALSE(started.fullScreen());
}

// Tab stops: Start Game, Exit Game, then the radio group on its checked
// button; Shift+Tab goes the other way round.
TEST(DisplayDialogKeyboard, TabCyclesThroughTheStopsBothWays)
{
    DisplayDialog d;
    const C forward[] = {C::ExitGame, C::Windowed, C::StartGame, C::ExitGame};
    for (C expected : forward) {
        press(d, K::Tab);
        EXPECT_EQ(d.focus(), expected);
    }
    const C backward[] = {C::StartGame, C::Windowed, C::ExitGame, C::StartGame};
    for (C expected : backward) {
        press(d, K::ShiftTab);
        EXPECT_EQ(d.focus(), expected);
    }
    EXPECT_EQ(d.outcome(), O::Open);
    EXPECT_FALSE(d.fullScreen()); // moving the focus chose nothing
}

TEST(DisplayDialogKeyboard, TabEntersTheRadioGroupOnItsCheckedButton)
{
    DisplayDialog d;
    click(d, C::FullScreen);
    click(d, C::Windowed);
    click(d, C::FullScreen); // focus now on FullScreen
    press(d, K::Tab);
    EXPECT_EQ(d.focus(), C::StartGame);
    press(d, K::ShiftTab);
    EXPECT_EQ(d.focus(), C::FullScreen);
}

TEST(DisplayDialogKeyboard, ArrowsMoveTheSelectionInTheGroupAndWrap)
{
    DisplayDialog d;
    press(d, K::ShiftTab);
    ASSERT_EQ(d.focus(), C::Windowed);
    press(d, K::Up);
    EXPECT_EQ(d.focus(), C::FullScreen);
    EXPECT_TRUE(d.fullScreen());
    press(d, K::Up); // wraps round to the last
    EXPECT_EQ(d.focus(), C::Windowed);
    EXPECT_FALSE(d.fullScreen());
    press(d, K::Down); // wraps round to the first
    EXPECT_EQ(d.focus(), C::FullScreen);
    EXPECT_TRUE(d.fullScreen());
    press(d, K::Right);
    EXPECT_FALSE(d.fullScreen());
    press(d, K::Left);
    EXPECT_TRUE(d.fullScreen());
    EXPECT_EQ(d.outcome(), O::Open);
    d.keyDown(K::Enter); // from a radio: the default button
    EXPECT_EQ(d.outcome(), O::StartFullScreen);
}

TEST(DisplayDialogKeyboard, ArrowsOnAPushButtonDoNothing)
{
    DisplayDialog d;
    for (K key : {K::Up, K::Down, K::Left, K::Right}) {
        press(d, key);
        EXPECT_EQ(d.focus(), C::StartGame);
        EXPECT_FALSE(d.fullScreen());
    }
    press(d, K::Tab);
    press(d, K::Down);
    EXPECT_EQ(d.focus(), C::ExitGame);
    EXPECT_EQ(d.outcome(), O::Open);
}

TEST(DisplayDialogKeyboard, SpaceActivatesTheFocusedControlOnRelease)
{
    DisplayDialog start;
    start.keyDown(K::Space);
    EXPECT_EQ(start.pressed(), C::StartGame); // pushed in while held
    EXPECT_EQ(start.outcome(), O::Open);
    start.keyUp(K::Space);
    EXPECT_EQ(start.outcome(), O::StartWindowed);

    DisplayDialog exit;
    press(exit, K::Tab);
    press(exit, K::Space);
    EXPECT_EQ(exit.outcome(), O::Exit);

    // On a radio: checks it. A press on FullScreen released elsewhere
    // leaves it focused but unchecked.
    DisplayDialog radio;
    DialogPoint full = centreOf(C::FullScreen);
    radio.mousePress(full.x, full.y);
    radio.mouseRelease(0, 0);
    ASSERT_EQ(radio.focus(), C::FullScreen);
    ASSERT_FALSE(radio.fullScreen());
    radio.keyDown(K::Space);
    EXPECT_EQ(radio.pressed(), C::FullScreen);
    EXPECT_FALSE(radio.fullScreen());
    radio.keyUp(K::Space);
    EXPECT_TRUE(radio.fullScreen());
    EXPECT_EQ(radio.outcome(), O::Open);
    press(radio, K::Tab);
    press(radio, K::Space);
    EXPECT_EQ(radio.outcome(), O::StartFullScreen);
}

TEST(DisplayDialogKeyboard, SpaceReleasedAfterTheFocusMovedDoesNothing)
{
    DisplayDialog d;
    d.keyDown(K::Space);
    d.keyDown(K::Tab);
    EXPECT_EQ(d.pressed(), C::None);
    d.keyUp(K::Space);
    EXPECT_EQ(d.outcome(), O::Open);

    DisplayDialog lost;
    lost.keyDown(K::Space);
    lost.cancelPress(); // the window lost the keyboard focus
    lost.keyUp(K::Space);
    EXPECT_EQ(lost.outcome(), O::Open);
}

TEST(DisplayDialogKeyboard, EnterActivatesTheFocusedPushButtonWhichBecomesTheDefault)
{
    DisplayDialog d;
    press(d, K::Tab);
    ASSERT_EQ(d.focus(), C::ExitGame);
    EXPECT_EQ(d.defaultButton(), C::ExitGame);
    d.keyDown(K::Enter);
    EXPECT_EQ(d.outcome(), O::Exit);

    // With the radio group focused the emphasis goes back to Start Game.
    DisplayDialog radio;
    press(radio, K::Tab);
    press(radio, K::Tab);
    ASSERT_EQ(radio.focus(), C::Windowed);
    EXPECT_EQ(radio.defaultButton(), C::StartGame);
    radio.keyDown(K::Enter);
    EXPECT_EQ(radio.outcome(), O::StartWindowed);
}

// The mouse: a press arms, the release on the same control activates.
TEST(DisplayDialogMouse, ClickOnAButtonActivatesOnRelease)
{
    DisplayDialog d;
    DialogPoint p = centreOf(C::StartGame);
    d.mouseMove(p.x, p.y);
    EXPECT_EQ(d.hover(), C::StartGame);
    d.mousePress(p.x, p.y);
    EXPECT_EQ(d.pressed(), C::StartGame);
    EXPECT_EQ(d.outcome(), O::Open);
    d.mouseRelease(p.x, p.y);
    EXPECT_EQ(d.outcome(), O::StartWindowed);
}

TEST(DisplayDialogMouse, PressDragOffReleaseDoesNotActivate)
{
    DisplayDialog d;
    DialogPoint on = centreOf(C::StartGame);
    d.mousePress(on.x, on.y);
    d.mouseMove(on.x, 60); // up into the group box
    EXPECT_EQ(d.pressed(), C::None);
    EXPECT_EQ(d.hover(), C::None);
    d.mouseRelease(on.x, 60);
    EXPECT_EQ(d.outcome(), O::Open);
    EXPECT_EQ(d.pressed(), C::None);

    // Off and back on again: the release counts.
    d.mousePress(on.x, on.y);
    d.mouseMove(0, 0);
    d.mouseMove(on.x, on.y);
    EXPECT_EQ(d.pressed(), C::StartGame);
    d.mouseRelease(on.x, on.y);
    EXPECT_EQ(d.outcome(), O::StartWindowed);
}

TEST(DisplayDialogMouse, ReleaseOnAnotherControlActivatesNeither)
{
    DisplayDialog d;
    DialogPoint exit = centreOf(C::ExitGame), start = centreOf(C::StartGame);
    d.mousePress(exit.x, exit.y);
    d.mouseMove(start.x, start.y);
    EXPECT_EQ(d.hover(), C::None); // only the held control lights up
    d.mouseRelease(start.x, start.y);
    EXPECT_EQ(d.outcome(), O::Open);
    EXPECT_EQ(d.hover(), C::StartGame);

    // Pressed on FullScreen, released on Windowed: no change of mode.
    DialogPoint full = centreOf(C::FullScreen), windowed = centreOf(C::Windowed);
    d.mousePress(full.x, full.y);
    d.mouseRelease(windowed.x, windowed.y);
    EXPECT_FALSE(d.fullScreen());
}

TEST(DisplayDialogMouse, LeavingTheWindowOrLosingFocusDisarms)
{
    DisplayDialog d;
    DialogPoint p = centreOf(C::ExitGame);
    d.mousePress(p.x, p.y);
    d.mouseLeave();
    EXPECT_EQ(d.pressed(), C::None);
    d.mouseRelease(-5, -5); // released outside the window
    EXPECT_EQ(d.outcome(), O::Open);

    d.mousePress(p.x, p.y);
    d.cancelPress();
    EXPECT_EQ(d.pressed(), C::None);
    d.mouseRelease(p.x, p.y);
    EXPECT_EQ(d.outcome(), O::Open);
}

TEST(DisplayDialogMouse, ClickingTheRadioLabelSelectsAndFocusesIt)
{
    DisplayDialog d;
    const DialogRect& r = dialogControl(C::FullScreen).rect;
    click(d, {r.x + r.width - 1, r.y + r.height / 2}); // the end of "FullScreen"
    EXPECT_TRUE(d.fullScreen());
    EXPECT_TRUE(d.isChecked(C::FullScreen));
    EXPECT_FALSE(d.isChecked(C::Windowed));
    EXPECT_EQ(d.focus(), C::FullScreen);
    EXPECT_EQ(d.defaultButton(), C::StartGame);
    EXPECT_EQ(d.outcome(), O::Open);
}

TEST(DisplayDialogMouse, ClicksOutsideEveryControlChangeNothing)
{
    DisplayDialog d;
    click(d, {100, 50});   // inside the group box, beside the radios
    click(d, {17.5f, 30}); // on the group box's frame
    click(d, {5, 5});      // the dialog's margin
    click(d, {90, 80});    // between the buttons
    EXPECT_EQ(d.outcome(), O::Open);
    EXPECT_EQ(d.focus(), C::StartGame);
    EXPECT_FALSE(d.fullScreen());
    EXPECT_EQ(d.look(), DisplayDialog().look());
}

TEST(DisplayDialogMouse, HoverFollowsThePointerAndClearsOnLeave)
{
    DisplayDialog d;
    DialogLook before = d.look();
    DialogPoint p = centreOf(C::Windowed);
    d.mouseMove(p.x, p.y);
    EXPECT_EQ(d.hover(), C::Windowed);
    EXPECT_NE(d.look(), before); // a redraw is due
    d.mouseMove(p.x, 60);
    EXPECT_EQ(d.hover(), C::None);
    d.mouseMove(p.x, p.y);
    d.mouseLeave();
    EXPECT_EQ(d.hover(), C::None);
    EXPECT_EQ(d.look(), before);
}

// Hit testing: each rectangle holds its top-left corner and not its right
// or bottom edge; the group box takes no clicks.
TEST(DisplayDialogHitTest, ControlRectanglesAndTheirEdges)
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
    // The gap between the radios, the group's caption and inside, outside.
    EXPECT_EQ(dialogHitTest(50, 38), C::None);
    EXPECT_EQ(dialogHitTest(30, 8), C::None);
    EXPECT_EQ(dialogHitTest(150, 60), C::None);
    EXPECT_EQ(dialogHitTest(-1, -1), C::None);
    EXPECT_EQ(dialogHitTest(186, 94), C::None);
}

TEST(DisplayDialogHitTest, PixelsConvertAtTheScaleInUse)
{
    // 2 pixels per unit: the Windowed radio at (78, 82)-(176, 102).
    DialogPoint p = dialogUnitsFromPixels(78, 82, 2);
    EXPECT_EQ(dialogHitTest(p.x, p.y), C::Windowed);
    p = dialogUnitsFromPixels(77, 82, 2);
    EXPECT_EQ(dialogHitTest(p.x, p.y), C::None);
    p = dialogUnitsFromPixels(175, 101, 2);
    EXPECT_EQ(dialogHitTest(p.x, p.y), C::Windowed);
    p = dialogUnitsFromPixels(176, 101, 2);
    EXPECT_EQ(dialogHitTest(p.x, p.y), C::None);
    // 4 pixels per unit: Exit Game at (444, 292)-(644, 348).
    p = dialogUnitsFromPixels(444, 292, 4);
    EXPECT_EQ(dialogHitTest(p.x, p.y), C::ExitGame);
    p = dialogUnitsFromPixels(643, 347, 4);
    EXPECT_EQ(dialogHitTest(p.x, p.y), C::ExitGame);
    p = dialogUnitsFromPixels(644, 347, 4);
    EXPECT_EQ(dialogHitTest(p.x, p.y), C::None);
    // And a mouse press given in pixels reaches the same control.
    DisplayDialog d;
    p = dialogUnitsFromPixels(100, 60, 2);
    click(d, p);
    EXPECT_TRUE(d.fullScreen());
}

TEST(DisplayDialogFont, TheSystemFontFirstThenTheCopyInTheDataDirectory)
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
