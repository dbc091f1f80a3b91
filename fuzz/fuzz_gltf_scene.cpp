// The glTF loader on arbitrary bytes: a .glb when they start with the binary container's magic,
// else a .gltf (files it names are not there to read).
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_scene_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brontal;
    SourceScene scene;
    std::string error;
    const bool binary = size >= 4 && std::memcmp(data, "glTF", 4) == 0;
    const std::string path = binary ? "fuzz-missing-dir/scene.glb" : "fuzz-missing-dir/scene.gltf";
    if (!ParseGltfScene(path, std::vector<std::uint8_t>(data, data + size), scene, error)) {
        Require(error.rfind("fuzz-missing-dir/", 0) == 0, "message names the file");
        return 0;
    }
    CheckScene(scene);
    return 0;
}
