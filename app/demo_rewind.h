// app/demo_rewind.h — back to the first frame of the timeline, without the loading screen.
#pragma once

// Remembers the GL state the loading screen leaves behind; call once, right after LoadAll.
void KeepStateAfterLoading();

// Leaves the playing scene, gives every scene and every animation that outlives a scene its
// state of a new run, puts back the GL state the loading left, loads the textures and scenes
// again without showing the loading screen and sets the demo clock to 0. The random sequence
// starts again too, so the frames that follow are those of a new run.
void RewindDemo();
