// tools/main.cpp — undertow-assets DIR: writes every texture, mesh, path, the music and the icon into DIR.
//
// The groups of files are independent, so a few threads take them in turn, the slowest first.
// Every file is written by exactly one group, which keeps the output the same on every run.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tools/mesh_sets.h"
#include "tools/music.h"
#include "tools/texture_sets.h"

namespace {

using Group = bool (*)(const std::string& root);

const Group kGroups[] = {
    assets::WriteMusic,          assets::WriteCaustics,          assets::WriteSceneTwoTextures,
    assets::WriteSceneFourTextures, assets::WriteSceneOneTextures, assets::WriteSceneThreeTextures,
    assets::WriteCreditsPicture, assets::WriteHeightmap,         assets::WriteLoadingBar,
    assets::WriteSceneOneMeshes, assets::WriteSceneFourMeshes, assets::WriteSceneThreeMeshes, assets::WriteCameraTrack,     assets::WriteIcon,
};
constexpr int kGroupCount = sizeof kGroups / sizeof kGroups[0];

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: undertow-assets DIR\n");
        return 2;
    }
    const std::string root = argv[1];
    std::atomic<int> next{0};
    std::atomic<bool> ok{true};
    auto work = [&] {
        for (int i = next++; i < kGroupCount; i = next++)
            if (!kGroups[i](root)) ok = false;
    };
    const int threads = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 2u, 4u));
    std::vector<std::thread> workers;
    for (int i = 1; i < threads; ++i) workers.emplace_back(work);
    work();
    for (std::thread& worker : workers) worker.join();
    return ok ? 0 : 1;
}
