#pragma once
// What the converter checks in a glTF file's JSON itself, before tinygltf reads it, so that every
// problem is named in the converter's "file: where: what" form:
// - numbers tinygltf would take without a word (negative offsets and counts, numbers beyond a
//   32-bit float);
// - extensions the file requires that the converter cannot read, refused by name;
// - the external buffer files, read here (a missing or short one is named with its buffer);
// - features the converter leaves out (texture transforms, a second texture-coordinate set,
//   vertex colours, skins, morph targets, animations, any other extension the file uses), each
//   named once per file as a warning.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace brontal {

// The file's JSON: the whole .gltf, or the JSON chunk of a .glb. A .glb whose container is too
// broken to find the chunk gives true with a null root and is left to tinygltf.
bool ReadGltfJson(const std::string& path, const std::vector<std::uint8_t>& bytes, bool binary,
                  nlohmann::json& root, std::string& error);

// Numbers and required extensions (both refusals).
bool CheckGltfJson(const std::string& path, const nlohmann::json& root, std::string& error);

// The external buffer files, keyed by the path tinygltf asks for (its base directory joined to
// the percent-decoded URI). baseDir is the directory handed to tinygltf.
using GltfBufferFiles = std::map<std::string, std::vector<std::uint8_t>>;
bool ReadGltfBufferFiles(const std::string& path, const nlohmann::json& root, const std::string& baseDir,
                         GltfBufferFiles& files, std::string& error);

// One warning per feature the converter leaves out, naming the first place that uses it.
std::vector<std::string> DroppedGltfFeatures(const std::string& path, const nlohmann::json& root);

}  // namespace brontal
