// The glTF file's JSON read by the converter itself: numbers tinygltf would let through, and
// the extensions a file requires.
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include <nlohmann/json.hpp>

#include "convert/gltf_checks.h"
#include "convert/manifest.h"

namespace brontal {
namespace {

// What a required extension the converter cannot read does to the file, for the message.
const char* ExtensionPurpose(const std::string& name) {
    static const std::pair<const char*, const char*> kKnown[] = {
        {"KHR_draco_mesh_compression", "Draco-compressed meshes"},
        {"EXT_meshopt_compression", "meshopt-compressed buffers"},
        {"KHR_mesh_quantization", "quantized vertex attributes"},
        {"KHR_texture_basisu", "KTX2 textures"},
        {"EXT_texture_webp", "WebP textures"},
        {"KHR_texture_transform", "texture offsets, rotations and scales"},
    };
    for (const auto& [known, purpose] : kKnown) {
        if (name == known) return purpose;
    }
    return nullptr;
}

bool RequiredExtensions(const std::string& path, const nlohmann::json& root, std::string& error) {
    const auto required = root.find("extensionsRequired");
    if (required == root.end() || !required->is_array() || required->empty()) return true;
    std::string names;
    for (const nlohmann::json& name : *required) {
        const std::string text = name.is_string() ? name.get<std::string>() : name.dump();
        const char* purpose = ExtensionPurpose(text);
        names += (names.empty() ? "" : ", ") + text + (purpose ? std::string(" (") + purpose + ")" : "");
    }
    error = path + ": extensionsRequired: the file needs " + names +
            ", which the converter cannot read; export it without " +
            (required->size() == 1 ? "that extension" : "those extensions");
    return false;
}

// Offsets, lengths, strides and counts that are not whole numbers of 0 or more (tinygltf takes
// them as absent), and numbers beyond a 32-bit float (they would become infinities). Extras and
// extensions are the author's own and are not looked at.
bool Numbers(const std::string& path, const nlohmann::json& root, std::string& error) {
    std::vector<std::pair<const nlohmann::json*, std::string>> pending{{&root, ""}};
    while (!pending.empty()) {
        const auto [value, where] = pending.back();
        pending.pop_back();
        if (value->is_object()) {
            for (const auto& [key, member] : value->items()) {
                if (key == "extras" || key == "extensions") continue;
                const std::string at = where.empty() ? key : where + "." + key;
                const bool whole = key == "byteOffset" || key == "byteLength" || key == "byteStride" || key == "count";
                if (whole && member.is_number() && !member.is_number_unsigned()) {
                    error = path + ": " + at + " is " + member.dump() + "; it must be a whole number of 0 or more";
                    return false;
                }
                pending.emplace_back(&member, at);
            }
        } else if (value->is_array()) {
            for (std::size_t i = 0; i < value->size(); ++i)
                pending.emplace_back(&(*value)[i], Element(where, i));
        } else if (value->is_number_float()) {
            const double number = value->get<double>();
            if (!(std::fabs(number) <= std::numeric_limits<float>::max())) {
                error = path + ": " + where + " is " + value->dump() + ", beyond the range of a 32-bit float";
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool ReadGltfJson(const std::string& path, const std::vector<std::uint8_t>& bytes, bool binary, nlohmann::json& root,
                  std::string& error) {
    root = nullptr;
    const char* text = reinterpret_cast<const char*>(bytes.data());
    std::size_t size = bytes.size();
    if (binary) {
        // A .glb holds its JSON as the first chunk after the 12-byte header; tinygltf checks the rest.
        constexpr std::uint32_t kJsonChunk = 0x4E4F534A;  // "JSON"
        std::uint32_t length = 0, type = 0;
        if (size < 20) return true;
        std::memcpy(&length, bytes.data() + 12, 4);
        std::memcpy(&type, bytes.data() + 16, 4);
        if (type != kJsonChunk || length > size - 20) return true;
        text += 20;
        size = length;
    }
    try {
        root = nlohmann::json::parse(text, text + size);
    } catch (const nlohmann::json::exception& e) {
        error = path + ": not valid JSON (" + LibraryMessage(e.what()) + ")";
        return false;
    }
    return true;
}

bool CheckGltfJson(const std::string& path, const nlohmann::json& root, std::string& error) {
    // The required extensions first: a file the converter cannot read at all says so before anything else.
    return (!root.is_object() || RequiredExtensions(path, root, error)) && Numbers(path, root, error);
}

}  // namespace brontal
