// app/globals.h — the demo, its four scenes and the font, as the whole program sees them.
#pragma once

#include "app/settings.h"
#include "demo/demo.h"
#include "scenes/scene_four.h"
#include "scenes/scene_one.h"
#include "scenes/scene_three.h"
#include "scenes/scene_two.h"

extern Demo demo;
extern SceneOne sceneOne;
extern SceneTwo sceneTwo;
extern SceneThree sceneThree;
extern SceneFour sceneFour;
