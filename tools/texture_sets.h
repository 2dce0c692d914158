// tools/texture_sets.h — the groups of pictures the generator writes, one function per group.
#pragma once

#include <string>

namespace assets {

// Each writes its files under root (TEKSTURY/...) and returns false when one could not be written.
bool WriteLoadingBar(const std::string& root);
bool WriteSceneOneTextures(const std::string& root);
bool WriteSceneTwoTextures(const std::string& root);
bool WriteSceneThreeTextures(const std::string& root);
bool WriteCreditsPicture(const std::string& root);
bool WriteSceneFourTextures(const std::string& root);
bool WriteCaustics(const std::string& root);
bool WriteHeightmap(const std::string& root);

// The program's icon, root/undertow.png (256 × 256 RGBA), made from the first scene's pictures.
bool WriteIcon(const std::string& root);

}  // namespace assets
