#pragma once

// The display-settings dialog (the classic 186 by 94 unit template) as a small
// state machine without SDL: the template's controls and their rectangles,
// keyboard focus, the selected mode, the hover and pressed looks, and what
// the dialog ends with. The platform layer feeds it events and draws what it
// says; everything it decides is tested here.

#include "input/gamepad.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The dialog's controls, in the template's order (which is the tab order).
enum class DialogControl {
    StartGame,       // 1003, BS_DEFPUSHBUTTON
    ExitGame,        // 2 (IDCANCEL), BS_PUSHBUTTON
    FullScreen,      // 1001, BS_AUTORADIOBUTTON
    Windowed,        // 1002, BS_AUTORADIOBUTTON
    DisplaySettings, // -1, BS_GROUPBOX
    None,
};

enum class DialogControlKind { DefPushButton, PushButton, AutoRadioButton, GroupBox };

// A rectangle in dialog units; the right and bottom edges lie outside.
struct DialogRect {
    float x = 0, y = 0, width = 0, height = 0;
    bool contains(float px, float py) const
    {
        return px >= x && px < x + width && py >= y && py < y + height;
    }
};

struct DialogControlTemplate {
    DialogControl control;
    int id;
    const char* text;
    DialogControlKind kind;
    DialogRect rect;
};

constexpr const char* DisplayDialogCaption = "Kestrava";
constexpr int DisplayDialogWidth = 186; // dialog units
constexpr int DisplayDialogHeight = 94;

inline constexpr std::array<DialogControlTemplate, 5> DisplayDialogControls = {{
    {DialogControl::StartGame, 1003, "Start Game", DialogControlKind::DefPushButton, {25, 73, 50, 14}},
    {DialogControl::ExitGame, 2, "Exit Game", DialogControlKind::PushButton, {111, 73, 50, 14}},
    {DialogControl::FullScreen, 1001, "FullScreen", DialogControlKind::AutoRadioButton, {39, 25, 49, 10}},
    {DialogControl::Windowed, 1002, "Windowed", DialogControlKind::AutoRadioButton, {39, 41, 49, 10}},
    {DialogControl::DisplaySettings, -1, "Display Settings", DialogControlKind::GroupBox, {17, 7, 144, 65}},
}};

const DialogControlTemplate& dialogControl(DialogControl control);

// The push button or radio button under a point in dialog units, or None.
// The group box takes no clicks: a point inside it but on no radio is None.
DialogControl dialogHitTest(float x, float y);

// A window point to dialog units, at the given window pixels per unit.
struct DialogPoint {
    float x = 0, y = 0;
};
DialogPoint dialogUnitsFromPixels(float px, float py, float pixelsPerUnit);

enum class DialogKey { Tab, ShiftTab, Left, Right, Up, Down, Space, Enter, Escape };

// A game controller's button as a dialog key: Start as Enter, Back as
// Escape, the south button as Space (pressing the focused control), the
// d-pad as the arrows and the shoulders as Shift+Tab and Tab.
std::optional<DialogKey> dialogKeyOfButton(GamepadButton button);

enum class DialogOutcome { Open, StartWindowed, StartFullScreen, Exit };

// What the dialog looks like at one moment: enough to tell whether a redraw
// is due.
struct DialogLook {
    DialogControl focus = DialogControl::None;
    DialogControl hover = DialogControl::None;
    DialogControl pressed = DialogControl::None;
    DialogControl defaultButton = DialogControl::None;
    bool fullScreen = false;
    bool operator==(const DialogLook&) const = default;
};

class DisplayDialog {
  public:
    // As after WM_INITDIALOG: "Windowed" checked (or "FullScreen", when
    // that was the last choice), the focus on the first tab stop
    // ("Start Game").
    explicit DisplayDialog(bool fullScreen = false) : fullScreen_(fullScreen) {}

    // Keys act on key down, except Space, which arms the focused control on
    // key down and activates it on key up, as a native button does. Events
    // after the dialog has ended are ignored.
    void keyDown(DialogKey key);
    void keyUp(DialogKey key);

    // The left mouse button and the pointer, in dialog units. A press arms
    // the control under it; the release activates it only when the pointer
    // is still on that control.
    void mouseMove(float x, float y);
    void mousePress(float x, float y);
    void mouseRelease(float x, float y);
    // The pointer left the window.
    void mouseLeave();
    // The window lost the keyboard focus: an armed control disarms.
    void cancelPress();
    // The close box: IDCANCEL, as "Exit Game".
    void closeBox();

    DialogOutcome outcome() const { return outcome_; }
    // The FullScreen choice as the radio buttons have set it.
    bool fullScreen() const { return fullScreen_; }
    bool isChecked(DialogControl control) const;
    DialogControl focus() const { return focus_; }
    DialogControl hover() const;
    // The control drawn pushed in: armed by the mouse with the pointer on
    // it, or armed by a held Space.
    DialogControl pressed() const;
    // The push button that Enter activates, drawn with the default
    // emphasis: the focused push button, else "Start Game".
    DialogControl defaultButton() const;
    DialogLook look() const;

  private:
    // The dialog procedure's WM_COMMAND.
    void command(DialogControl control);
    void moveFocus(int step);
    void moveRadio(int step);
    bool open() const { return outcome_ == DialogOutcome::Open; }

    DialogOutcome outcome_ = DialogOutcome::Open;
    bool fullScreen_ = false;
    DialogControl focus_ = DialogControl::StartGame;
    DialogControl hover_ = DialogControl::None;
    DialogControl mouseArmed_ = DialogControl::None;
    bool pointerOnArmed_ = false;
    DialogControl spaceArmed_ = DialogControl::None;
};

// Where the dialog looks for its font, in order: DejaVu Sans where the
// distributions install it, then the copy the build places in the data
// directory: in the current directory (the data directory once the game
// has changed to it) and in each of the game's data directory candidates
// (beside the executable, the installed ones).
std::vector<std::string> dialogFontCandidates();
