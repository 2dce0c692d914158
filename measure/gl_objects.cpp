// measure/gl_objects.cpp — counting live GL names.
#include "measure/gl_objects.h"

#include "platform/gl.h"

int CountLiveTextures(unsigned upTo) {
    int live = 0;
    for (GLuint name = 1; name <= upTo; ++name) live += glIsTexture(name) ? 1 : 0;
    return live;
}

int CountLiveLists(unsigned upTo) {
    int live = 0;
    for (GLuint name = 1; name <= upTo; ++name) live += glIsList(name) ? 1 : 0;
    return live;
}
