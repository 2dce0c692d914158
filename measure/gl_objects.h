// measure/gl_objects.h — how many textures and display lists the context holds.
#pragma once

// Live texture and display-list names among 1 .. `upTo`, asked of GL one name at a time (a soak
// compares them between passes; names are handed out from the low end).
int CountLiveTextures(unsigned upTo);
int CountLiveLists(unsigned upTo);
