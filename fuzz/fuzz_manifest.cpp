// The manifest reader on arbitrary text: no exception escapes, a refusal names the manifest, and
// an accepted manifest holds only values a level file can hold.
#include <cmath>
#include <cstdint>
#include <string>

#include "convert/manifest.h"
#include "fuzz_require.h"

namespace {

bool Finite(const brontal::Vector3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brontal;
    Manifest manifest;
    std::string error;
    const std::string path = "fuzz/level.json";
    if (!ParseManifest(std::string(reinterpret_cast<const char*>(data), size), path, manifest, error)) {
        Require(NamesFile(error, path), "message names the manifest");
        return 0;
    }
    Require(!manifest.rooms.empty() && manifest.rooms.size() <= 65535, "room count");
    Require(manifest.levelName.size() <= 127, "level name length");
    Require(std::isfinite(manifest.scale) && manifest.scale > 0.0f, "scale");
    Require(Finite(manifest.start), "start");
    Require(!manifest.geometryPaths.empty() && manifest.geometryPaths.size() == manifest.geometryFiles.size(),
            "geometry files");
    for (const ManifestRoom& room : manifest.rooms)
        Require(!room.groups.empty() && room.group == room.groups[0].name, "room groups");
    for (const ManifestModel& model : manifest.models)
        Require(std::isfinite(model.scale) && model.scale > 0.0f && (model.groups.empty() != model.file.empty()),
                "model scale and source");
    for (const ManifestObject& object : manifest.objects)
        Require(Finite(object.position) && Finite(object.axis) && std::isfinite(object.angle), "object floats");
    for (const ManifestLight& light : manifest.lights)
        Require(Finite(light.position) && Finite(light.colour) && std::isfinite(light.range) && light.range > 0.0f,
                "light floats");
    return 0;
}
