// player/time_bar.h — the line at the bottom of the picture that Tab shows while playing.
#pragma once

// Writes text at the current raster position (the shell hands in its font).
using PrintText = void (*)(const char* text);

// The text of the line: the demo time, the scene's name, and "paused" while paused.
void FormatTimeBarText(double now, const char* sceneName, bool paused, char* text, int size);

// Fraction 0..1 of the bar that is filled at `now` on a timeline ending at `end`.
float TimeBarFill(double now, double end);

// The demo time on a timeline ending at `end` that a tap at (x, y) in the 640 × 480 overlay
// space points at: true when the tap falls on the line's band at the bottom of the picture, a
// little above it or on the bar below the picture, its place across the bar giving the time.
bool TimeBarSeconds(float x, float y, double end, double& seconds);

// Draws the line over the bottom of the picture in the 640 × 480 overlay space: a dark band,
// the text and a thin bar of the whole timeline filled up to `now`. Leaves the GL state as it
// found it.
void DrawTimeBar(double now, double end, const char* sceneName, bool paused, PrintText print);
