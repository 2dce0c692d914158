// tools/mesh_sets.h — the meshes and paths the generator writes under DANE.
#pragma once

#include <string>
#include <vector>

#include "tools/mesh_writer.h"

namespace assets {

// The chrome knot of the first scene, centred on the origin, in file units.
MeshData ChromeKnot();
// The square frame that lies on the first scene's floor.
MeshData FloorFrame();
// The camera loop of the first scene, in file units.
std::vector<Vec3> CameraTrack();

// The four meshes of the cave file, in file order and file units.
std::vector<MeshData> CaveMeshes();

bool WriteSceneOneMeshes(const std::string& root);   // DANE/data.dat, DANE/ramka.dat
bool WriteSceneFourMeshes(const std::string& root);  // DANE/jaskinia.dat
bool WriteCameraTrack(const std::string& root);      // DANE/track.dat
// The floating island of the island scene and the loop around it, in file units (z up).
MeshData FloatingIsland();
std::vector<Vec3> IslandTrack();
bool WriteSceneThreeMeshes(const std::string& root);   // DANE/otchlan.dat, DANE/track3.dat

}  // namespace assets
