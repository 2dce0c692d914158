// Mesh files: consecutive meshes, re-reading, and headers that lie about the data.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "geometry/mesh.h"
#include "platform/asset_path.h"
#include "support/bmp_files.h"

namespace {

// The bytes of one mesh: a zero header with the two counts, then the records.
std::string MeshBytes(std::int32_t triangles, std::int32_t vertexCount, const std::vector<MeshVertex>& vertices,
                      const std::vector<std::uint16_t>& indices) {
    std::string bytes(kMeshHeaderBytes, '\0');
    std::memcpy(&bytes[100], &triangles, 4);
    std::memcpy(&bytes[104], &vertexCount, 4);
    bytes.append(reinterpret_cast<const char*>(vertices.data()), vertices.size() * sizeof(MeshVertex));
    bytes.append(reinterpret_cast<const char*>(indices.data()), indices.size() * 2);
    return bytes;
}

std::string MeshBytes(const std::vector<MeshVertex>& vertices, const std::vector<std::uint16_t>& indices) {
    return MeshBytes(static_cast<std::int32_t>(indices.size() / 3), static_cast<std::int32_t>(vertices.size()),
                     vertices, indices);
}

MeshVertex Vertex(float base) { return {base, base + 1, base + 2, 0, 0, 1, base / 10, base / 20}; }

// A stream that cannot seek, so the reader cannot learn the length in advance.
class UnseekableBuffer : public std::streambuf {
public:
    explicit UnseekableBuffer(std::string data) : data_(std::move(data)) {
        setg(data_.data(), data_.data(), data_.data() + data_.size());
    }

private:
    std::string data_;
};

void ExpectEmpty(const Mesh& mesh) {
    EXPECT_EQ(mesh.triangleCount, 0);
    EXPECT_EQ(mesh.vertexCount, 0);
    EXPECT_EQ(mesh.vertices, nullptr);
    EXPECT_EQ(mesh.indices, nullptr);
}

}  // namespace

TEST(Mesh, ConsecutiveMeshesFromOneStreamReplaceWhatTheMeshHeld) {
    const std::string first = MeshBytes({Vertex(1), Vertex(2), Vertex(3)}, {0, 1, 2});
    const std::string empty = MeshBytes({}, {});
    const std::string third = MeshBytes({Vertex(10), Vertex(20), Vertex(30), Vertex(40)}, {3, 2, 1, 0, 1, 3});
    const std::string fourth = MeshBytes({Vertex(7)}, {0, 0, 0});
    std::istringstream stream(first + empty + third + fourth);

    Mesh mesh;
    ASSERT_TRUE(ReadMesh(stream, mesh));
    EXPECT_EQ(mesh.triangleCount, 1);
    EXPECT_EQ(mesh.vertexCount, 3);
    EXPECT_FLOAT_EQ(mesh.vertices[2].x, 3.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[2].t, 0.15f);
    EXPECT_EQ(stream.tellg(), static_cast<std::streamoff>(first.size()));

    // T = V = 0 reads the header only.
    ASSERT_TRUE(ReadMesh(stream, mesh));
    ExpectEmpty(mesh);
    EXPECT_EQ(stream.tellg(), static_cast<std::streamoff>(first.size() + kMeshHeaderBytes));

    ASSERT_TRUE(ReadMesh(stream, mesh));
    EXPECT_EQ(mesh.triangleCount, 2);
    EXPECT_EQ(mesh.vertexCount, 4);
    EXPECT_FLOAT_EQ(mesh.vertices[3].nz, 1.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[3].s, 4.0f);
    const std::uint16_t expected[6] = {3, 2, 1, 0, 1, 3};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(mesh.indices[i], expected[i]) << i;

    // The fourth mesh starts where the three before it end.
    EXPECT_EQ(stream.tellg(), static_cast<std::streamoff>(first.size() + empty.size() + third.size()));
    Mesh other;
    ASSERT_TRUE(ReadMesh(stream, other));
    EXPECT_EQ(other.vertexCount, 1);
    EXPECT_FLOAT_EQ(other.vertices[0].y, 8.0f);
    EXPECT_EQ(mesh.vertexCount, 4);   // the other mesh is untouched

    mesh.Release();
    ExpectEmpty(mesh);
    mesh.Release();   // a second release finds nothing to free
    ExpectEmpty(mesh);
}

TEST(Mesh, HostileOrShortDataLeavesAnEmptyMesh) {
    const std::vector<MeshVertex> three = {Vertex(1), Vertex(2), Vertex(3)};
    const std::string good = MeshBytes(three, {0, 1, 2});
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty stream", ""},
        {"truncated header", good.substr(0, 60)},
        {"negative triangle count", MeshBytes(-1, 3, three, {0, 1, 2})},
        {"negative vertex count", MeshBytes(1, -5, three, {0, 1, 2})},
        {"huge vertex count", MeshBytes(1, std::numeric_limits<std::int32_t>::max(), three, {0, 1, 2})},
        {"huge triangle count", MeshBytes(std::numeric_limits<std::int32_t>::max(), 3, three, {0, 1, 2})},
        {"one index short", good.substr(0, good.size() - 1)},
        {"vertices cut off", good.substr(0, kMeshHeaderBytes + 40)},
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        // A full mesh beforehand: a failed read must not leave its old arrays or counts behind.
        std::istringstream goodStream(good);
        Mesh mesh;
        ASSERT_TRUE(ReadMesh(goodStream, mesh));

        std::istringstream seekable(bytes);
        EXPECT_FALSE(ReadMesh(seekable, mesh, what));
        ExpectEmpty(mesh);

        UnseekableBuffer buffer(bytes);
        std::istream unseekable(&buffer);
        EXPECT_FALSE(ReadMesh(unseekable, mesh, what));
        ExpectEmpty(mesh);
    }

    // The same good bytes through a stream that cannot seek still read.
    UnseekableBuffer buffer(good);
    std::istream unseekable(&buffer);
    Mesh mesh;
    ASSERT_TRUE(ReadMesh(unseekable, mesh));
    EXPECT_EQ(mesh.vertexCount, 3);
    EXPECT_EQ(mesh.indices[2], 2);
}

TEST(Mesh, TrianglesNamingMissingVerticesAreNotDrawable) {
    std::istringstream stream(MeshBytes({Vertex(1), Vertex(2), Vertex(3)}, {0, 1, 2, 0, 3, 1, 2, 2, 65535}));
    Mesh mesh;
    ASSERT_TRUE(ReadMesh(stream, mesh));
    ASSERT_EQ(mesh.triangleCount, 3);
    EXPECT_TRUE(mesh.IsDrawable(0));
    EXPECT_FALSE(mesh.IsDrawable(1));
    EXPECT_FALSE(mesh.IsDrawable(2));
    EXPECT_FALSE(mesh.IsDrawable(3));
    EXPECT_FALSE(mesh.IsDrawable(-1));
}

// Mesh files by asset name: a folder or a missing file is named with its reason and leaves the
// mesh empty; a whole file is read.
TEST(Mesh, FilesThatCannotBeOpenedAreNamedWithTheReason) {
    const std::string root = testing_support::MakeTempFolder("meshfiles");
    ::mkdir((root + "/DANE").c_str(), 0755);
    ::mkdir((root + "/DANE/data.dat").c_str(), 0755);
    const std::string bytes = MeshBytes({Vertex(1), Vertex(2), Vertex(3)}, {0, 1, 2});
    testing_support::WriteFile(root + "/DANE/ramka.dat", std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    const std::string oldRoot = platform::AssetRoot();
    platform::SetAssetRoot(root);

    Mesh mesh;
    ASSERT_TRUE(LoadMesh("DANE\\ramka.dat", mesh));
    EXPECT_EQ(mesh.vertexCount, 3);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadMesh("DANE\\data.dat", mesh));
    ExpectEmpty(mesh);
    std::ifstream file;
    EXPECT_FALSE(OpenMeshFile("DANE\\jaskinia.dat", file));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "meshes: cannot open DANE\\data.dat (a folder, not a file)\n"
              "meshes: cannot open DANE\\jaskinia.dat (no such file)\n");
    platform::SetAssetRoot(oldRoot);
}
