// The glTF features the converter leaves out, each named once per file with the first place
// that uses it, so that nothing a modelling tool exported disappears without a word.
#include <map>

#include <nlohmann/json.hpp>

#include "convert/gltf_checks.h"
#include "convert/manifest.h"

namespace brontal {
namespace {

using Json = nlohmann::json;

class FeatureFinder {
public:
    explicit FeatureFinder(const std::string& path) : path_(path) {}

    // A feature met at a place; only the first place is named, with the count of the others.
    void Met(const std::string& feature, const std::string& where, const std::string& what) {
        auto [found, added] = found_.try_emplace(feature, Finding{where, what, 0});
        if (added) order_.push_back(feature);
        ++found->second.places;
    }

    bool Has(const std::string& feature) const { return found_.count(feature) != 0; }

    std::vector<std::string> Warnings() const {
        std::vector<std::string> out;
        for (const std::string& feature : order_) {
            const Finding& finding = found_.at(feature);
            std::string more;
            if (finding.places == 2) more = " (1 more place uses it)";
            if (finding.places > 2) more = " (" + std::to_string(finding.places - 1) + " more places use it)";
            out.push_back(path_ + ": " + finding.where + ": the converter does not read " + feature + ": " +
                          finding.what + more);
        }
        return out;
    }

private:
    struct Finding {
        std::string where;
        std::string what;
        std::size_t places;
    };
    const std::string& path_;
    std::map<std::string, Finding> found_;
    std::vector<std::string> order_;
};

const Json* Member(const Json& object, const char* key) {
    if (!object.is_object()) return nullptr;
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}


// The texture-coordinate set each material's base-colour texture uses (0 when it has none).
std::vector<long long> BaseColourSets(const Json& root, FeatureFinder& features) {
    std::vector<long long> sets;
    const Json* materials = Member(root, "materials");
    if (materials == nullptr || !materials->is_array()) return sets;
    for (std::size_t m = 0; m < materials->size(); ++m) {
        const Json* pbr = Member((*materials)[m], "pbrMetallicRoughness");
        const Json* texture = pbr ? Member(*pbr, "baseColorTexture") : nullptr;
        const Json* set = texture ? Member(*texture, "texCoord") : nullptr;
        sets.push_back(set && set->is_number_integer() ? set->get<long long>() : 0);
        const Json* extensions = texture ? Member(*texture, "extensions") : nullptr;
        if (extensions && Member(*extensions, "KHR_texture_transform")) {
            features.Met("KHR_texture_transform",
                         Element("materials", m) + ".pbrMetallicRoughness.baseColorTexture.extensions",
                         "the base-colour texture's offset, rotation and scale are left out");
        }
    }
    return sets;
}

void Primitives(const Json& root, const std::vector<long long>& sets, FeatureFinder& features) {
    const Json* meshes = Member(root, "meshes");
    if (meshes == nullptr || !meshes->is_array()) return;
    for (std::size_t m = 0; m < meshes->size(); ++m) {
        const Json* primitives = Member((*meshes)[m], "primitives");
        if (primitives == nullptr || !primitives->is_array()) continue;
        for (std::size_t p = 0; p < primitives->size(); ++p) {
            const Json& primitive = (*primitives)[p];
            const std::string where = Element(Element("meshes", m) + ".primitives", p);
            const Json* material = Member(primitive, "material");
            long long used = 0;
            if (material && material->is_number_unsigned() && material->get<std::size_t>() < sets.size()) {
                used = sets[material->get<std::size_t>()];
            }
            const Json* targets = Member(primitive, "targets");
            if (targets && targets->is_array() && !targets->empty()) {
                features.Met("morph targets", where + ".targets", "meshes keep their base shape");
            }
            const Json* attributes = Member(primitive, "attributes");
            if (attributes == nullptr || !attributes->is_object()) continue;
            for (const auto& [name, accessor] : attributes->items()) {
                const std::string at = where + ".attributes." + name;
                const bool otherSet = name != "TEXCOORD_0" && name != "TEXCOORD_" + std::to_string(used);
                if (name.rfind("TEXCOORD_", 0) == 0 && otherSet) {
                    features.Met(name, at, "only the texture coordinates of the base-colour texture are kept");
                } else if (name.rfind("COLOR_", 0) == 0) {
                    features.Met(name, at, "vertex colours are left out");
                } else if (name.rfind("JOINTS_", 0) == 0 || name.rfind("WEIGHTS_", 0) == 0) {
                    features.Met("skins", at, "skinned meshes keep their bind pose");
                }
            }
        }
    }
}

void NodesAndAnimations(const Json& root, FeatureFinder& features) {
    if (const Json* skins = Member(root, "skins"); skins && skins->is_array() && !skins->empty()) {
        features.Met("skins", "skins", "skinned meshes keep their bind pose");
    }
    if (const Json* nodes = Member(root, "nodes"); nodes && nodes->is_array()) {
        for (std::size_t n = 0; n < nodes->size(); ++n) {
            if (Member((*nodes)[n], "skin")) {
                features.Met("skins", Element("nodes", n) + ".skin", "skinned meshes keep their bind pose");
            }
        }
    }
    const Json* animations = Member(root, "animations");
    if (animations && animations->is_array() && !animations->empty()) {
        features.Met("animations", "animations", "rooms and models keep the pose the nodes give them");
    }
}

// Every extension the file says it uses, other than those named with a place of their own above.
void UsedExtensions(const Json& root, FeatureFinder& features) {
    const Json* used = Member(root, "extensionsUsed");
    if (used == nullptr || !used->is_array()) return;
    for (const Json& name : *used) {
        if (!name.is_string() || features.Has(name.get<std::string>())) continue;
        features.Met(name.get<std::string>(), "extensionsUsed", "what it adds to the file is left out");
    }
}

}  // namespace

std::vector<std::string> DroppedGltfFeatures(const std::string& path, const Json& root) {
    FeatureFinder features(path);
    if (!root.is_object()) return {};
    const std::vector<long long> sets = BaseColourSets(root, features);
    Primitives(root, sets, features);
    NodesAndAnimations(root, features);
    UsedExtensions(root, features);
    return features.Warnings();
}

}  // namespace brontal
