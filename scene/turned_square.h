// scene/turned_square.h — a textured square turned about its centre, as the sprites and the
// background layers draw it.
#pragma once

// One triangle strip: the square of half-size `h` centred on (x, y), turned by `angle` degrees
// (3.14, not pi, as everything that spins here is tuned to it), its corners taking the texture
// coordinates (0, 0), (0, 1), (1, 0), (1, 1) from the top left. `secondUnit`, when given,
// receives each corner's coordinates too, before its vertex.
void DrawTurnedSquare(float x, float y, float h, float angle, void (*secondUnit)(float s, float t) = nullptr);
