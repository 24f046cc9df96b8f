#pragma once

#include "render/texture_registry.h"

#include <vector>

// The menu's falling points, when a great many of them are in view, laid
// out on the CPU as one picture and handed to GL as two image draws: their
// depths where something drawn before or after them can meet them (which
// pass or fail against what is drawn already, and mark where they failed in
// the stencil buffer), and their colours where no depth failed.
// Drawn one by one, a million points at spacing 1 cost the software
// renderer two to three times a frame's time; as a picture they cost a few
// milliseconds.
//
// The pixels are those GL gives the points. A point's depth and fogged
// colour depend only on its distance from the eye along the view, which is
// the same for a whole row of the grid (same z): each row's pair is read
// back from GL itself, from one point drawn for each row before the first
// frame. Which pixels a point covers follows the software renderer's rule
// for 3-pixel points: the 3 by 3 pixels whose centres lie within 1.5 pixels
// of its centre, snapped to 1/256 of a pixel. Where two points cover a
// pixel, the nearer one shows, or at equal depth the one drawn first, as
// the depth test decides for the points drawn one by one.

// Whether a frame with this many falling points in the grid draws them as a
// picture (when GL has a stencil buffer).
bool fallingPointsAsImage(int gridPoints);
// Whether the picture may be drawn at all: always in the game; tests turn
// it off to draw the same points one by one.
extern bool FallingPointsImageAllowed;

// With the menu's projection and modelview set, before the first frame and
// before each menu frame's clear: reads back each grid row's depth and
// colour when the view (or the fog) has changed since they were last read,
// and draws the two images once so that Mesa compiles its code for them.
// Leaves the picture's pixels to the clear that follows.
void readFallingPointRows();

// A frame's picture: begun (false, with nothing to follow, when it cannot
// be: no stencil buffer, or the rows not read for this view), then the
// grid's rows of x in the order GL would draw them, each `count` points
// `step` apart in z from -500 (heights[j * step] the j-th point's height),
// then drawn. Outside `depthRects` (the pixels of what is drawn before the
// points and after them in the frame) their depths are not drawn: nothing
// meets them there.
bool beginFallingPointsImage();
void addFallingPointsRow(float x, const float* heights, int count, int step);
void endFallingPointsImage(const std::vector<PixelRect>& depthRects);

// Frees the picture's memory (2 bytes a pixel) when the menu is left.
void releaseFallingPointsImage();
