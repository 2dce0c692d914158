// app/extension_groups.h — the six optional extension groups by their short names, as the
// command line spells them, and the driver report of --gl-info.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// The groups in detection order.
enum class ExtensionGroup { Multitexture, VertexWeighting, CompiledArrays, Anisotropic, VertexArrayRange, EnvCombine };

constexpr std::size_t kGroupCount = 6;

// Where a group came from: the driver, one of our layers, or nowhere (missing or turned off).
enum class GroupSource { Off, Driver, Ours };

// "multitexture", "vertex-weighting", ... and "driver", "ours", "off".
const char* GroupName(ExtensionGroup group);
const char* SourceName(GroupSource source);

// The settings switch of a group.
bool& GroupSwitch(ExtensionGroup group);

// Every group as a bit: bit i for the group of index i.
constexpr unsigned kAllGroups = (1u << kGroupCount) - 1;

// A comma-separated list of the short names in `allowed` ("all" standing for all of them) as
// group bits. False, with a message naming the valid names, on any other name.
bool ParseGroupList(const std::string& text, unsigned allowed, unsigned& groups, std::string& error);

// Prints the driver's renderer, vendor and version strings, one line per extension group with
// where it came from (driver, ours or off), and the extensions detection looked for and did not
// find. Needs the context and the detection of a run.
void PrintGLInfo(std::FILE* out);
