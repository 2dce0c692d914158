// gl_layers/display_lists.h — display lists: their primitives in one ES buffer made once at
// glEndList, replayed under whatever matrices and state are current, and every other call GL
// compiles into a list kept as a call to replay. Calls GL carries out at once even while a list
// is compiled (queries, client state, pixel storage, object names) never pass through here.
#pragma once

#include <functional>
#include <utility>

#include "gl_layers/packed_primitive.h"

namespace gl_layers {

GLuint APIENTRY GenLists(GLsizei range);
void APIENTRY NewList(GLuint list, GLenum mode);
void APIENTRY EndList();
void APIENTRY CallList(GLuint list);
void APIENTRY DeleteLists(GLuint list, GLsizei range);
GLboolean APIENTRY IsList(GLuint list);

// True while a list is being compiled and its calls are to be kept (not while a list is
// replayed inside one compiled with GL_COMPILE_AND_EXECUTE).
bool CompilingList();

// Keeps `call` in the list being compiled; returns whether it is also to be carried out now
// (GL_COMPILE_AND_EXECUTE).
bool KeepCall(std::function<void()> call);

// While a list is being compiled, keeps `call` in it; returns whether the call is also to be
// carried out now (no list compiling, or GL_COMPILE_AND_EXECUTE). Outside a list the call is
// not even wrapped.
template <typename Call>
bool RecordCall(Call&& call) {
    return !CompilingList() || KeepCall(std::function<void()>(std::forward<Call>(call)));
}

// Keeps a primitive gathered between glBegin and glEnd in the list being compiled, with the
// attributes it leaves current (`varying`); returns it where it is also to be drawn now
// (GL_COMPILE_AND_EXECUTE), else null.
const PackedPrimitive* KeepPrimitive(PackedPrimitive primitive, unsigned varying);

// Frees every list's buffer (with the context current).
void ReleaseLists();

}  // namespace gl_layers
