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
        Require(error.rfind("fuzz-missing-dir/", 0) == 0, "message names the file");
        return 0;
    }
    CheckScene(scene);
    return 0;
}
