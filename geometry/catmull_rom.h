// geometry/catmull_rom.h — the uniform Catmull-Rom curve through four control values.
#pragma once

// The curve between p1 (t = 0) and p2 (t = 1), shaped by its neighbours p0 and p3.
float CatmullRom(float t, float p0, float p1, float p2, float p3);
