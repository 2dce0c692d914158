// app/globals.cpp — the program's long-lived objects, constructed in this order.
#include "app/globals.h"

#include "app/bitmap_font.h"

Settings settings;
bool showFrameStats = false;
bool useTextureCompression = false;

Demo demo;
SceneOne sceneOne;
SceneTwo sceneTwo;
SceneThree sceneThree;
SceneFour sceneFour;
BitmapFont font;
float aspectRatio = static_cast<float>(settings.screenWidth) / static_cast<float>(settings.screenHeight);
