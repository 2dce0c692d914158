// app/settings.h — the compiled-in configuration of the demo.
#pragma once

#include <cstdint>

// Switches and sizes; the extension switches are cleared at start-up when the driver lacks
// the extension. Users test the switch, never the extension string.
struct Settings {
    bool musicEnabled = true;
    bool fullScreen = true;
    std::int32_t detailLevel = 2;       // 0, 1 or 2
    std::int32_t screenWidth = 640;
    std::int32_t screenHeight = 480;
    std::int32_t colorBits = 32;
    std::int32_t depthBits = 16;
    std::uint8_t stencilBits = 1;
    bool useAnisotropicFilter = true;
    bool useVertexArrayRange = true;
    bool useVertexWeighting = true;
    bool useMipmaps = true;
    bool useMultitexture = true;
    bool useCompiledVertexArrays = true;
    bool useTextureEnvCombine = true;
};

extern Settings settings;

// Draw the frame-rate line at the end of every scene frame.
extern bool showFrameStats;

// Ask the driver for compressed internal texture formats.
extern bool useTextureCompression;

// screenWidth / screenHeight, for the scenes' perspective projections.
extern float aspectRatio;
