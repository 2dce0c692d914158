// platform/gl.h — the one way the program reaches OpenGL and GLU.
#pragma once

#ifndef GL_GLEXT_LEGACY
#define GL_GLEXT_LEGACY 1   // extension prototypes come from our own pointers, not the system's
#endif
#include <GL/gl.h>
#include <GL/glu.h>
#undef GL_GLEXT_LEGACY
#include <GL/glext.h>

// Tokens of extensions that current headers no longer carry.
#ifndef GL_MODELVIEW0_EXT
#define GL_MODELVIEW0_EXT 0x1700
#endif
#ifndef GL_MODELVIEW1_EXT
#define GL_MODELVIEW1_EXT 0x850A
#endif
#ifndef GL_VERTEX_WEIGHTING_EXT
#define GL_VERTEX_WEIGHTING_EXT 0x8509
#endif
#ifndef GL_VERTEX_WEIGHT_ARRAY_EXT
#define GL_VERTEX_WEIGHT_ARRAY_EXT 0x850C
#endif
#ifndef GL_VERTEX_ARRAY_RANGE_NV
#define GL_VERTEX_ARRAY_RANGE_NV 0x851D
#endif
#ifndef GL_ALL_COMPLETED_NV
#define GL_ALL_COMPLETED_NV 0x84F2
#endif
#ifndef GL_TEXTURE_MAX_ANISOTROPY_EXT
#define GL_TEXTURE_MAX_ANISOTROPY_EXT 0x84FE
#endif

// Every primitive the program draws passes the drawing gate.
#include "platform/draw_gate.h"
