#include "shell/display_dialog.h"

#include "shell/startup.h"

namespace {

bool isPushButton(DialogControl control)
{
    return control == DialogControl::StartGame || control == DialogControl::ExitGame;
}

bool isRadio(DialogControl control)
{
    return control == DialogControl::FullScreen || control == DialogControl::Windowed;
}

bool isClickable(DialogControl control) { return isPushButton(control) || isRadio(control); }

} // namespace

const DialogControlTemplate& dialogControl(DialogControl control)
{
    return DisplayDialogControls[static_cast<int>(control)];
}

DialogControl dialogHitTest(float x, float y)
{
    for (const DialogControlTemplate& c : DisplayDialogControls)
        if (isClickable(c.control) && c.rect.contains(x, y))
            return c.control;
    return DialogControl::None;
}

std::optional<DialogKey> dialogKeyOfButton(GamepadButton button)
{
    switch (button) {
    case GamepadButton::Start:
        return DialogKey::Enter;
    case GamepadButton::Back:
        return DialogKey::Escape;
    case GamepadButton::South:
        return DialogKey::Space;
    case GamepadButton::DpadLeft:
        return DialogKey::Left;
    case GamepadButton::DpadRight:
        return DialogKey::Right;
    case GamepadButton::DpadUp:
        return DialogKey::Up;
    case GamepadButton::DpadDown:
        return DialogKey::Down;
    case GamepadButton::LeftShoulder:
        return DialogKey::ShiftTab;
    case GamepadButton::RightShoulder:
        return DialogKey::Tab;
    default:
        return std::nullopt;
    }
}

DialogPoint dialogUnitsFromPixels(float px, float py, float pixelsPerUnit)
{
    if (pixelsPerUnit <= 0)
        return {px, py};
    return {px / pixelsPerUnit, py / pixelsPerUnit};
}

bool DisplayDialog::isChecked(DialogControl control) const
{
    if (control == DialogControl::FullScreen)
        return fullScreen_;
    if (control == DialogControl::Windowed)
        return !fullScreen_;
    return false;
}

DialogControl DisplayDialog::hover() const
{
    // While the mouse holds a control, only that one lights up.
    if (mouseArmed_ != DialogControl::None)
        return pointerOnArmed_ ? mouseArmed_ : DialogControl::None;
    return hover_;
}

DialogControl DisplayDialog::pressed() const
{
    if (mouseArmed_ != DialogControl::None)
        return pointerOnArmed_ ? mouseArmed_ : DialogControl::None;
    return spaceArmed_;
}

DialogControl DisplayDialog::defaultButton() const
{
    return isPushButton(focus_) ? focus_ : DialogControl::StartGame;
}

DialogLook DisplayDialog::look() const { return {focus_, hover(), pressed(), defaultButton(), fullScreen_}; }

void DisplayDialog::command(DialogControl control)
{
    switch (control) {
    case DialogControl::FullScreen:
        fullScreen_ = true;
        break;
    case DialogControl::Windowed:
        fullScreen_ = false;
        break;
    case DialogControl::StartGame:
        outcome_ = fullScreen_ ? DialogOutcome::StartFullScreen : DialogOutcome::StartWindowed;
        break;
    case DialogControl::ExitGame:
        outcome_ = DialogOutcome::Exit;
        break;
    default:
        break;
    }
}

// The tab stops are the two push buttons and the radio group, which takes
// the focus on its checked button.
void DisplayDialog::moveFocus(int step)
{
    const DialogControl checked = fullScreen_ ? DialogControl::FullScreen : DialogControl::Windowed;
    const DialogControl stops[3] = {DialogControl::StartGame, DialogControl::ExitGame, checked};
    int at = isRadio(focus_) ? 2 : (focus_ == DialogControl::ExitGame ? 1 : 0);
    focus_ = stops[(at + step + 3) % 3];
    spaceArmed_ = DialogControl::None;
}

// Arrows within the group move the focus, and an auto radio button checks
// itself when it gets the focus this way. The group wraps round.
void DisplayDialog::moveRadio(int step)
{
    const DialogControl group[2] = {DialogControl::FullScreen, DialogControl::Windowed};
    int at = focus_ == DialogControl::Windowed ? 1 : 0;
    focus_ = group[(at + step + 2) % 2];
    spaceArmed_ = DialogControl::None;
    command(focus_);
}

void DisplayDialog::keyDown(DialogKey key)
{
    if (!open())
        return;
    switch (key) {
    case DialogKey::Tab:
        moveFocus(1);
        break;
    case DialogKey::ShiftTab:
        moveFocus(-1);
        break;
    case DialogKey::Left:
    case DialogKey::Up:
        if (isRadio(focus_))
            moveRadio(-1);
        break;
    case DialogKey::Right:
    case DialogKey::Down:
        if (isRadio(focus_))
            moveRadio(1);
        break;
    case DialogKey::Space:
        if (mouseArmed_ == DialogControl::None)
            spaceArmed_ = focus_;
        break;
    case DialogKey::Enter:
        command(defaultButton());
        break;
    case DialogKey::Escape:
        command(DialogControl::ExitGame);
        break;
    }
}

void DisplayDialog::keyUp(DialogKey key)
{
    if (!open() || key != DialogKey::Space)
        return;
    // Moving the focus or losing the window's focus has disarmed it.
    const DialogControl armed = spaceArmed_;
    spaceArmed_ = DialogControl::None;
    if (armed != DialogControl::None)
        command(armed);
}

void DisplayDialog::mouseMove(float x, float y)
{
    if (!open())
        return;
    hover_ = dialogHitTest(x, y);
    if (mouseArmed_ != DialogControl::None)
        pointerOnArmed_ = dialogControl(mouseArmed_).rect.contains(x, y);
}

void DisplayDialog::mousePress(float x, float y)
{
    if (!open())
        return;
    hover_ = dialogHitTest(x, y);
    if (hover_ == DialogControl::None)
        return;
    focus_ = hover_;
    mouseArmed_ = hover_;
    pointerOnArmed_ = true;
    spaceArmed_ = DialogControl::None;
}

void DisplayDialog::mouseRelease(float x, float y)
{
    if (!open())
        return;
    mouseMove(x, y);
    const DialogControl armed = mouseArmed_;
    const bool inside = pointerOnArmed_;
    mouseArmed_ = DialogControl::None;
    pointerOnArmed_ = false;
    if (armed != DialogControl::None && inside)
        command(armed);
}

void DisplayDialog::mouseLeave()
{
    hover_ = DialogControl::None;
    pointerOnArmed_ = false;
}

void DisplayDialog::cancelPress()
{
    mouseArmed_ = DialogControl::None;
    pointerOnArmed_ = false;
    spaceArmed_ = DialogControl::None;
}

void DisplayDialog::closeBox()
{
    if (open())
        command(DialogControl::ExitGame);
}

std::vector<std::string> dialogFontCandidates()
{
    // The system's copy first: it gets the distribution's fixes, and
    // packages do not ship a copy of their own.
    std::vector<std::string> paths{
        "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",   // Debian, Ubuntu
        "/usr/share/fonts/dejavu-sans-fonts/DejaVuSans.ttf", // Fedora
        "/usr/share/fonts/TTF/DejaVuSans.ttf",               // Arch
        "/usr/share/fonts/truetype/DejaVuSans.ttf",          // openSUSE
        "/usr/share/fonts/dejavu/DejaVuSans.ttf",            // older Fedora, Alpine
    };
    // The copy the build puts in the data directory, for a system without
    // DejaVu.
    paths.push_back("DejaVuSans.ttf");
    for (const std::string& dir : dataDirectoryCandidates())
        paths.push_back(dir + "/DejaVuSans.ttf");
    return paths;
}
