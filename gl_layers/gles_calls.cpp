// gl_layers/gles_calls.cpp — filling the ES table by name.
#include "gl_layers/gles_calls.h"

namespace gl_layers {

EsCalls es;

bool LoadEsCalls(void* (*lookup)(const char* name), std::string& missing) {
    EsCalls calls;
#define UNDERTOW_ES_LOAD(type, name, parameters)                                      \
    calls.name = reinterpret_cast<type(APIENTRY*) parameters>(lookup("gl" #name));    \
    if (!calls.name) {                                                                \
        missing = "gl" #name;                                                         \
        return false;                                                                 \
    }
    UNDERTOW_ES_CALLS(UNDERTOW_ES_LOAD)
#undef UNDERTOW_ES_LOAD
    es = calls;
    return true;
}

}  // namespace gl_layers
