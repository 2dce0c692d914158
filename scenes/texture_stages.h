// scenes/texture_stages.h — texture units set up as combiner stages for one pass, and put back.
#pragma once

#include "platform/gl.h"

#ifndef GL_MODULATE_ADD_ATI
#define GL_MODULATE_ADD_ATI 0x8744
#endif

// GL_TEXTUREn_ARB for unit n.
GLenum TextureUnit(int index);

// Whether the context can stack `units` texture units as combiner stages with the stage that
// adds a product to what came before (GL_ATI_texture_env_combine3), with the switches for
// multitexturing and the combiner on.
bool CombinerStagesAvailable(int units);

// The active unit's environment as a context starts it: modulating, the combiner and its
// constant colour at their initial values.
void ResetCombiner();

// Unit `index` as a context starts it: off, nothing bound, modulating, the combiner and its
// constant colour at their initial values, its current coordinates (0, 0, 0, 1). Leaves that
// unit active.
void ResetStage(int index);
