#pragma once

#include <cstdint>

// Keeps the game at a fixed number of frames per second of wall time. Every
// motion of the game is a fixed step per frame, so the frame rate is the
// game's speed. Frames are scheduled on a grid of deadlines one period
// apart: a display that paces at exactly that rate (vsync) never makes the
// pacer wait, a faster one or none at all is held back to the grid, and a
// stall (a slow level load, a dragged window) moves the grid to the present
// instead of running the missed frames in a burst.
class FramePacer {
  public:
    explicit FramePacer(int64_t periodMicros = 1000000 / 60) : period(periodMicros) {}

    // Called once a frame after the buffer swap with the current time;
    // returns how long to wait, in microseconds, before the next frame
    // starts.
    int64_t delayAfterFrame(int64_t nowMicros);

    int64_t periodMicros() const { return period; }

  private:
    int64_t period;
    int64_t nextStart = 0;
    bool started = false;
};
