// gl_layers/queries.h — glGet*, glGetString and the extensions the layer gives.
#pragma once

#include <string>

#include "gl_layers/fixed_state.h"

namespace gl_layers {

void APIENTRY GetFloatv(GLenum name, GLfloat* values);
void APIENTRY GetDoublev(GLenum name, GLdouble* values);
void APIENTRY GetIntegerv(GLenum name, GLint* values);
const GLubyte* APIENTRY GetString(GLenum name);

// Whether the ES driver offers an extension.
bool EsHasExtension(const char* name);

// The extension string the layer answers: the groups it gives, as the desktop names them.
std::string LayerExtensions();

}  // namespace gl_layers
