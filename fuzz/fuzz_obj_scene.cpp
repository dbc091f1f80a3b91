// The OBJ loader on arbitrary text (material libraries it names are not there to read).
#include <cstdint>
#include <string>

#include "fuzz_scene_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brontal;
    SourceScene scene;
    std::string error;
    const std::string path = "fuzz-missing-dir/scene.obj";
    if (!ParseObjScene(path, std::string(reinterpret_cast<const char*>(data), size), scene, error)) {
        // The OBJ file, or a material library it names (which may lie anywhere).
        Require(error.rfind("fuzz-missing-dir/", 0) == 0 ||
                    error.find("(the material library named by " + path + ")") != std::string::npos,
                "message names the file");
        return 0;
    }
    CheckScene(scene);
    return 0;
}
