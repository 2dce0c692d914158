// gl_layers/display_lists.cpp — compiling, replaying and deleting display lists.
#include "gl_layers/display_lists.h"

#include <cstring>
#include <map>
#include <memory>

#include "gl_layers/gles_calls.h"
#include "gl_layers/immediate.h"

namespace gl_layers {

namespace {

// A display list: its primitives in one buffer, and everything in the order it was given.
struct DisplayList {
    GLuint buffer = 0;
    std::vector<PackedPrimitive> primitives;
    std::vector<std::function<void()>> commands;
    unsigned currentSet = 0;         // attributes the list leaves current
    float color[4], normal[3], weight, tex[kUnits][4];
};

struct Lists {
    std::map<GLuint, std::unique_ptr<DisplayList>> lists;
    GLuint nextName = 1;
    std::unique_ptr<DisplayList> compiling;
    GLuint compilingName = 0;
    GLenum compileMode = GL_COMPILE;
    ServerState beforeList;
    int callDepth = 0;
};

Lists lists;

// Puts the list's primitives into one ES buffer and lets their CPU copies go.
void UploadPrimitives(DisplayList& list) {
    std::size_t bytes = 0;
    for (PackedPrimitive& p : list.primitives) {
        p.base = bytes;
        bytes += (p.data.size() * sizeof(float) + 15) & ~static_cast<std::size_t>(15);
    }
    if (bytes == 0) return;
    es.GenBuffers(1, &list.buffer);
    es.BindBuffer(GL_ARRAY_BUFFER, list.buffer);
    es.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), nullptr, GL_STATIC_DRAW);
    for (PackedPrimitive& p : list.primitives) {
        es.BufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(p.base),
                         static_cast<GLsizeiptr>(p.data.size() * sizeof(float)), p.data.data());
        p.data = std::vector<float>();   // the buffer holds them now
    }
}

}  // namespace

bool CompilingList() { return lists.compiling && lists.callDepth == 0; }

bool KeepCall(std::function<void()> call) {
    lists.compiling->commands.push_back(std::move(call));
    return lists.compileMode == GL_COMPILE_AND_EXECUTE;
}

const PackedPrimitive* KeepPrimitive(PackedPrimitive primitive, unsigned varying) {
    DisplayList& list = *lists.compiling;
    list.currentSet |= varying;
    const std::size_t index = list.primitives.size();
    list.primitives.push_back(std::move(primitive));
    list.commands.push_back([&list, index] {
        const PackedPrimitive& p = list.primitives[index];
        DrawPacked(p, list.buffer, p.base);
    });
    return lists.compileMode == GL_COMPILE_AND_EXECUTE ? &list.primitives[index] : nullptr;
}

GLuint APIENTRY GenLists(GLsizei range) {
    if (range <= 0) return 0;
    const GLuint first = lists.nextName;
    lists.nextName += static_cast<GLuint>(range);
    return first;
}

void APIENTRY NewList(GLuint list, GLenum mode) {
    if (list == 0) return SetError(GL_INVALID_VALUE);
    if (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE) return SetError(GL_INVALID_ENUM);
    if (lists.compiling || InsidePrimitive()) return SetError(GL_INVALID_OPERATION);
    lists.compiling = std::make_unique<DisplayList>();
    lists.compilingName = list;
    lists.compileMode = mode;
    lists.beforeList = state.server;
    if (list >= lists.nextName) lists.nextName = list + 1;
}

void APIENTRY EndList() {
    if (!lists.compiling || InsidePrimitive()) return SetError(GL_INVALID_OPERATION);
    std::unique_ptr<DisplayList> list = std::move(lists.compiling);
    ServerState& s = state.server;
    std::memcpy(list->color, s.color, sizeof list->color);
    std::memcpy(list->normal, s.normal, sizeof list->normal);
    list->weight = s.weight;
    std::memcpy(list->tex, s.texCoord, sizeof list->tex);
    if (lists.compileMode == GL_COMPILE) {
        // The current values followed the list's own calls while it was compiled, so that its
        // vertices took them; compiling alone changes none of them.
        std::memcpy(s.color, lists.beforeList.color, sizeof s.color);
        std::memcpy(s.normal, lists.beforeList.normal, sizeof s.normal);
        s.weight = lists.beforeList.weight;
        std::memcpy(s.texCoord, lists.beforeList.texCoord, sizeof s.texCoord);
    }
    UploadPrimitives(*list);
    DeleteLists(lists.compilingName, 1);
    lists.lists[lists.compilingName] = std::move(list);
}

void APIENTRY CallList(GLuint name) {
    if (!RecordCall([name] { CallList(name); })) return;
    auto found = lists.lists.find(name);
    if (found == lists.lists.end() || lists.callDepth >= 64) return;
    const DisplayList& list = *found->second;
    ++lists.callDepth;
    for (const auto& command : list.commands) command();
    --lists.callDepth;
    ServerState& s = state.server;
    const unsigned set = list.currentSet;
    if (set & (1u << kColor)) std::memcpy(s.color, list.color, sizeof s.color);
    if (set & (1u << kNormal)) std::memcpy(s.normal, list.normal, sizeof s.normal);
    if (set & (1u << kWeight)) s.weight = list.weight;
    for (int u = 0; u < kUnits; ++u)
        if (set & (1u << (kTexCoord0 + u))) std::memcpy(s.texCoord[u], list.tex[u], sizeof s.texCoord[u]);
}

void APIENTRY DeleteLists(GLuint first, GLsizei range) {
    if (range < 0) return SetError(GL_INVALID_VALUE);
    for (GLsizei i = 0; i < range; ++i) {
        auto found = lists.lists.find(first + static_cast<GLuint>(i));
        if (found == lists.lists.end()) continue;
        if (found->second->buffer) es.DeleteBuffers(1, &found->second->buffer);
        lists.lists.erase(found);
    }
}

GLboolean APIENTRY IsList(GLuint name) { return lists.lists.count(name) ? GL_TRUE : GL_FALSE; }

void ReleaseLists() {
    for (auto& entry : lists.lists)
        if (entry.second->buffer && es.DeleteBuffers) es.DeleteBuffers(1, &entry.second->buffer);
    lists = Lists();
}

}  // namespace gl_layers
