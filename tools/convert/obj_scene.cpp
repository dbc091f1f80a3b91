// Wavefront OBJ scenes through tinyobjloader. Every "g" group or "o" object is a group (groups of
// one name anywhere in the file merge); faces are triangulated; each face keeps its "usemtl"
// material. Material libraries and texture paths are relative to the file that names them, and a
// backslash in them is taken as a directory separator, as files made on Windows write them.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <sstream>
#include <unordered_map>

#include <tiny_obj_loader.h>

#include "convert/manifest.h"
#include "convert/source_scene.h"
#include "files/file_io.h"

namespace brontal {
namespace {

std::string Slashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// tinyobjloader reads "nan" or "inf" as 0 and a number beyond a float as an infinity, without a
// word; so every number of the lines the converter uses (positions, texture coordinates, normals,
// diffuse colours) is checked first: it must be a finite number within a 32-bit float.
bool CheckNumbers(const std::string& path, const std::string& text, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    for (std::size_t number = 1; std::getline(lines, line); ++number) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string keyword, word;
        if (!(words >> keyword) || (keyword != "v" && keyword != "vt" && keyword != "vn" && keyword != "Kd")) continue;
        for (int field = 1; words >> word; ++field) {
            const std::size_t skip = word[0] == '+' ? 1 : 0;
            double value = 0.0;
            const auto [end, failed] = std::from_chars(word.data() + skip, word.data() + word.size(), value);
            if (failed != std::errc() || end != word.data() + word.size() ||
                !(std::fabs(value) <= std::numeric_limits<float>::max())) {
                error = path + ": line " + std::to_string(number) + ": " + keyword + " value " + std::to_string(field) +
                        " is \"" + word + "\", not a finite number within a 32-bit float";
                return false;
            }
        }
    }
    return true;
}

// Reads "mtllib" files relative to the OBJ file and remembers which file defined each material.
// A library that cannot be read stops the load (tinyobjloader alone would only warn).
class MaterialLibraryReader : public tinyobj::MaterialReader {
public:
    explicit MaterialLibraryReader(std::string objPath) : objPath_(std::move(objPath)) {}

    bool operator()(const std::string& name, std::vector<tinyobj::material_t>* materials,
                    std::map<std::string, int>* names, std::string* warn, std::string* err) override {
        if (Trimmed(name).empty()) {
            if (failure.empty()) failure = objPath_ + ": an mtllib line names no material library";
            return false;
        }
        const std::string path = JoinPath(DirectoryOf(objPath_), Slashes(name));
        std::vector<std::uint8_t> bytes;
        std::string readError;
        std::string text;
        if (!ReadRegularFile(path, kMaxSourceFileSize, bytes, readError) ||
            !CheckNumbers(path, text.assign(bytes.begin(), bytes.end()), readError)) {
            if (failure.empty()) failure = readError + " (the material library named by " + objPath_ + ")";
            return false;
        }
        std::istringstream stream(text);
        tinyobj::LoadMtl(names, materials, &stream, warn, err);
        definedIn.resize(materials->size(), path);  // the materials this library added
        return true;
    }

    std::string failure;
    std::vector<std::string> definedIn;  // per material

private:
    std::string objPath_;
};

// tinyobjloader reports a few faults of the file only as warnings; these stop the build.
bool RefuseFatalWarnings(const std::string& path, const std::string& warnings, SourceScene& scene,
                         std::string& error) {
    std::istringstream lines(warnings);
    std::string line;
    while (std::getline(lines, line)) {
        line = Trimmed(line);
        if (line.empty()) continue;
        const std::size_t open = line.find("material [ ");
        if (open != std::string::npos && line.find("not found in .mtl") != std::string::npos) {
            std::string name = line.substr(open + 11, line.find(" ]") - (open + 11));
            if (name.size() >= 2 && name.front() == '\'' && name.back() == '\'') name = name.substr(1, name.size() - 2);
            error = path + ": usemtl names material \"" + name + "\", which no material library defines";
            return false;
        }
        if (line.find("indices out of bounds") != std::string::npos) {
            error = path + ": " + line;
            return false;
        }
        scene.warnings.push_back(path + ": " + line);
    }
    return true;
}

float Unit(float value) { return std::clamp(value, 0.0f, 1.0f); }

void TakeMaterials(const std::vector<tinyobj::material_t>& materials, const std::vector<std::string>& definedIn,
                   SourceScene& scene) {
    for (std::size_t i = 0; i < materials.size(); ++i) {
        const tinyobj::material_t& from = materials[i];
        SourceMaterial material;
        material.name = from.name;
        material.definedIn = i < definedIn.size() ? definedIn[i] : scene.path;
        material.colour = {Unit(from.diffuse[0]), Unit(from.diffuse[1]), Unit(from.diffuse[2])};
        const std::string texture = Trimmed(from.diffuse_texname);
        if (!texture.empty()) {
            material.textured = true;
            material.imageName = texture;
            material.imagePath = JoinPath(DirectoryOf(material.definedIn), Slashes(texture));
        }
        scene.materials.push_back(std::move(material));
    }
}

// Groups of one name merge; the index keeps finding them linear in the number of shapes.
SourceGroup& GroupNamed(SourceScene& scene, std::unordered_map<std::string, std::size_t>& index,
                        const std::string& name) {
    const auto [found, added] = index.emplace(name, scene.groups.size());
    if (added) {
        SourceGroup group;
        group.name = name;
        scene.groups.push_back(std::move(group));
    }
    return scene.groups[found->second];
}

class FaceReader {
public:
    FaceReader(const std::string& path, const tinyobj::attrib_t& attrib, std::size_t materialCount)
        : path_(path), attrib_(attrib), materialCount_(materialCount) {}

    bool Corner(const tinyobj::index_t& index, const std::string& group, SourceVertex& out, std::string& error) const {
        const std::size_t positions = attrib_.vertices.size() / 3;
        if (index.vertex_index < 0 || static_cast<std::size_t>(index.vertex_index) >= positions) {
            error = path_ + ": group \"" + group + "\": a face uses vertex " + std::to_string(index.vertex_index + 1) +
                    " of " + std::to_string(positions);
            return false;
        }
        const std::size_t p = static_cast<std::size_t>(index.vertex_index) * 3;
        out.position = {attrib_.vertices[p], attrib_.vertices[p + 1], attrib_.vertices[p + 2]};
        out.u = 0.0f;
        out.v = 0.0f;
        if (index.texcoord_index >= 0) {
            const std::size_t coords = attrib_.texcoords.size() / 2;
            if (static_cast<std::size_t>(index.texcoord_index) >= coords) {
                error = path_ + ": group \"" + group + "\": a face uses texture coordinate " +
                        std::to_string(index.texcoord_index + 1) + " of " + std::to_string(coords);
                return false;
            }
            const std::size_t t = static_cast<std::size_t>(index.texcoord_index) * 2;
            out.u = attrib_.texcoords[t];
            out.v = 1.0f - attrib_.texcoords[t + 1];  // OBJ's v grows upward the image
        }
        if (!std::isfinite(out.position.x) || !std::isfinite(out.position.y) || !std::isfinite(out.position.z) ||
            !std::isfinite(out.u) || !std::isfinite(out.v)) {
            error = path_ + ": group \"" + group + "\": vertex " + std::to_string(index.vertex_index + 1) +
                    " holds a value that is not a finite number";
            return false;
        }
        return true;
    }

    bool Shape(const tinyobj::shape_t& shape, SourceScene& scene, std::string& error) {
        const std::string name = Trimmed(shape.name);
        const tinyobj::mesh_t& mesh = shape.mesh;
        SourceGroup& group = GroupNamed(scene, groupIndex_, name);
        std::size_t first = 0;
        for (std::size_t f = 0; f < mesh.num_face_vertices.size(); ++f) {
            const std::size_t corners = mesh.num_face_vertices[f];
            if (first + corners > mesh.indices.size()) {
                error = path_ + ": group \"" + name + "\": a face runs past the face list";
                return false;
            }
            std::int32_t material = f < mesh.material_ids.size() ? mesh.material_ids[f] : -1;
            if (material < 0 || static_cast<std::size_t>(material) >= materialCount_) material = -1;
            SourceVertex fan0, previous, next;
            // Triangulated faces have three corners; anything larger is cut into a fan.
            for (std::size_t c = 0; c < corners; ++c) {
                if (!Corner(mesh.indices[first + c], name, c == 0 ? fan0 : next, error)) return false;
                if (c >= 2) {
                    SourceTriangle triangle;
                    triangle.corners = {fan0, previous, next};
                    triangle.material = material;
                    group.triangles.push_back(triangle);
                }
                if (c >= 1) previous = next;
            }
            first += corners;
        }
        return true;
    }

private:
    const std::string& path_;
    const tinyobj::attrib_t& attrib_;
    std::size_t materialCount_;
    std::unordered_map<std::string, std::size_t> groupIndex_;
};

}  // namespace

bool LoadObjScene(const std::string& path, SourceScene& scene, std::string& error) {
    scene = SourceScene{};
    scene.path = path;
    std::vector<std::uint8_t> bytes;
    if (!ReadRegularFile(path, kMaxSourceFileSize, bytes, error)) return false;
    return ParseObjScene(path, std::string(bytes.begin(), bytes.end()), scene, error);
}

bool ParseObjScene(const std::string& path, const std::string& text, SourceScene& scene, std::string& error) {
    scene = SourceScene{};
    scene.path = path;
    if (!CheckNumbers(path, text, error)) return false;
    std::istringstream stream(text);

    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warnings, errors;
    MaterialLibraryReader libraries(path);
    const bool loaded = tinyobj::LoadObj(&attrib, &shapes, &materials, &warnings, &errors, &stream, &libraries,
                                         /*triangulate=*/true, /*default_vcols_fallback=*/false);
    if (!libraries.failure.empty()) {
        error = libraries.failure;
        return false;
    }
    if (!loaded || !Trimmed(errors).empty()) {
        error = path + ": " + (Trimmed(errors).empty() ? std::string("cannot be read as Wavefront OBJ") : Trimmed(errors));
        return false;
    }
    if (!RefuseFatalWarnings(path, warnings, scene, error)) return false;

    TakeMaterials(materials, libraries.definedIn, scene);
    FaceReader faces(path, attrib, scene.materials.size());
    for (const tinyobj::shape_t& shape : shapes) {
        if (!faces.Shape(shape, scene, error)) return false;
    }
    return true;
}

}  // namespace brontal
