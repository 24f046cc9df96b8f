#include "input/frame_pacer.h"

int64_t FramePacer::delayAfterFrame(int64_t nowMicros)
{
    if (!started) {
        started = true;
        nextStart = nowMicros + period;
    } else {
        nextStart += period;
    }
    // More than a whole frame behind: the missed frames are dropped, not
    // caught up. Up to one frame late is absorbed by the grid, which keeps
    // a 60 Hz display's frames from being pushed a vblank at a time.
    if (nowMicros > nextStart + period)
        nextStart = nowMicros;
    return nextStart > nowMicros ? nextStart - nowMicros : 0;
}
