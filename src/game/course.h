#pragma once

// Playback of the course text (world/path_file.h) into the camera. The text
// is one leading token and then records of four numbers: x, y, z and the
// heading in degrees. Each frame skips 4 x PathSpeed tokens and takes the
// next four, so a frame moves two records on at normal speed and three at
// double speed.

// Moves the camera (PathX, PathY, PathZ, PathYaw) one frame along the
// course. A text that ends inside a record leaves the camera at the last
// whole record.
void advanceCourse();
