// scenes/morph_timer.h — when scene two's cloud holds a shape, dissolves, scatters and condenses.
#pragma once

// One leg dissolves the shape into the scatter (morphPhase 0 → 1), the next condenses it back
// (1 → 0); each leg starts once holdTimer has run out. The next shape is chosen at full scatter.
struct MorphTimer {
    float morphPhase = 0.0f;   // 0 = the shape, 1 = the scatter
    float holdTimer = 10.0f;   // seconds still to hold before the phase moves
    int legCounter = 0;
    int shapeCounter = 0;      // mod 3: cylinder, lattice, wave plane

    // Advances by one frame of `frameTime` seconds: a 2 s dissolve, 1 s scatter hold, 2 s
    // condense, then a 7.5 s hold.
    void Step(float frameTime);
};
