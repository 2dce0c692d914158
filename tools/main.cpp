// tools/main.cpp — undertow-assets DIR: writes every texture, mesh, path and the music into DIR.
#include <cstdio>
#include <string>

#include "tools/texture_sets.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: undertow-assets DIR\n");
        return 2;
    }
    const std::string root = argv[1];
    bool ok = assets::WriteLoadingBar(root);
    ok = assets::WriteSceneOneTextures(root) && ok;
    ok = assets::WriteSceneTwoTextures(root) && ok;
    ok = assets::WriteSceneThreeTextures(root) && ok;
    ok = assets::WriteCreditsPicture(root) && ok;
    ok = assets::WriteHeightmap(root) && ok;
    ok = assets::WriteSceneFourTextures(root) && ok;
    ok = assets::WriteCaustics(root) && ok;
    return ok ? 0 : 1;
}
