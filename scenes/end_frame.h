// scenes/end_frame.h — what every scene does last in a frame.
#pragma once

// Draws the frame-rate line when it is switched on, flushes GL and shows the picture.
// Returns true, the result of a drawn frame.
bool EndFrame();
