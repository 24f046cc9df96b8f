#include "game/sound_events.h"

#include "world/process_state.h"

#include <algorithm>
#include <cmath>

namespace {

// Half the picture's width at depth 1: tan(30 degrees) times 4/3.
constexpr float HalfWidthAtDepthOne = 0.57735027f * 4.0f / 3.0f;

} // namespace

void playSound(Sound sound) { Process.Sounds.events.push_back(SoundEvent{sound, 1.0f, 0.0f}); }

SoundEvent placedSound(Sound sound, Vec4 p)
{
    SoundEvent e{sound, 1.0f, 0.0f};
    const float distance = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    if (distance > SoundFullVolumeDistance)
        e.volume = SoundFullVolumeDistance / distance;
    if (p.z < 0.0f)
        e.pan = std::clamp(p.x / (-p.z * HalfWidthAtDepthOne), -1.0f, 1.0f);
    else if (p.x != 0.0f)
        e.pan = p.x > 0.0f ? 1.0f : -1.0f;
    return e;
}

void playSoundAt(Sound sound, Vec4 eyePoint)
{
    Process.Sounds.events.push_back(placedSound(sound, eyePoint));
}
