// glTF 2.0 scenes (.gltf with its buffers, or .glb) through tinygltf. Every node is a group,
// named or not: its own mesh, in the node's space, with the node's world transform (its parents'
// transforms included). Child nodes are groups of their own. A material's
// texture is its base-colour texture; the image travels into the level as the complete file it
// is (tinygltf is asked not to decode it). Every accessor is bounds-checked here before a byte of
// it is read.
#include <cctype>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <map>

#include <nlohmann/json.hpp>
#include <tiny_gltf.h>

#include "convert/gltf_checks.h"
#include "convert/manifest.h"
#include "convert/source_scene.h"
#include "files/file_io.h"
#include "math/matrix.h"

namespace brontal {
namespace {

// Images embedded as data URIs reach the loader only through the image callback; keep their bytes.
struct CapturedImages {
    std::map<int, std::vector<std::uint8_t>> dataUriImages;
};

bool CaptureImage(tinygltf::Image* image, const int index, std::string*, std::string*, int, int,
                  const unsigned char* bytes, int size, void* user) {
    // Buffer-view images are copied later, once their view has been bounds-checked; external
    // files are read by the builder when a used material needs them.
    if (image->bufferView >= 0 || !image->uri.empty() || bytes == nullptr || size <= 0) return true;
    auto* captured = static_cast<CapturedImages*>(user);
    captured->dataUriImages[index].assign(bytes, bytes + size);
    return true;
}

std::string PercentDecoded(const std::string& uri) {
    std::string out;
    for (std::size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size() && std::isxdigit(static_cast<unsigned char>(uri[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(uri[i + 2]))) {
            out.push_back(static_cast<char>(std::stoi(uri.substr(i + 1, 2), nullptr, 16)));
            i += 2;
        } else {
            out.push_back(uri[i]);
        }
    }
    return out;
}

std::size_t ComponentSize(int componentType) {
    switch (componentType) {
        case TINYGLTF_COMPONENT_TYPE_BYTE:
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE: return 1;
        case TINYGLTF_COMPONENT_TYPE_SHORT:
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: return 2;
        case TINYGLTF_COMPONENT_TYPE_INT:
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT:
        case TINYGLTF_COMPONENT_TYPE_FLOAT: return 4;
        default: return 0;
    }
}

std::size_t ComponentCount(int type) {
    switch (type) {
        case TINYGLTF_TYPE_SCALAR: return 1;
        case TINYGLTF_TYPE_VEC2: return 2;
        case TINYGLTF_TYPE_VEC3: return 3;
        case TINYGLTF_TYPE_VEC4: return 4;
        default: return 0;
    }
}

// A checked window on an accessor's elements.
struct AccessorView {
    const std::uint8_t* first = nullptr;
    std::size_t stride = 0;
    std::size_t count = 0;
    int componentType = 0;
    std::size_t components = 0;
    bool normalized = false;

    // Component c of element i as a float (normalised integers scaled to 0..1).
    float Float(std::size_t i, std::size_t c) const {
        const std::uint8_t* at = first + i * stride + c * ComponentSize(componentType);
        switch (componentType) {
            case TINYGLTF_COMPONENT_TYPE_FLOAT: {
                float value;
                std::memcpy(&value, at, sizeof value);
                return value;
            }
            case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE: return normalized ? at[0] / 255.0f : at[0];
            case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: {
                std::uint16_t value;
                std::memcpy(&value, at, sizeof value);
                return normalized ? value / 65535.0f : value;
            }
            default: return 0.0f;
        }
    }

    std::uint32_t Index(std::size_t i) const {
        const std::uint8_t* at = first + i * stride;
        switch (componentType) {
            case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE: return at[0];
            case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: {
                std::uint16_t value;
                std::memcpy(&value, at, sizeof value);
                return value;
            }
            default: {
                std::uint32_t value;
                std::memcpy(&value, at, sizeof value);
                return value;
            }
        }
    }
};

class GltfReader {
public:
    GltfReader(const std::string& path, const tinygltf::Model& model, const CapturedImages& captured,
               SourceScene& scene)
        : path_(path), model_(model), captured_(captured), scene_(scene) {}

    bool Read() { return Materials() && Groups(); }
    const std::string& Error() const { return error_; }

private:
    bool Fail(const std::string& problem) {
        error_ = path_ + ": " + problem;
        return false;
    }

    bool Materials();
    bool Image(int imageIndex, SourceMaterial& material);
    bool BufferViewBytes(int viewIndex, const std::string& what, const std::uint8_t*& data, std::size_t& size);
    bool Accessor(int accessorIndex, const std::string& what, std::initializer_list<int> types,
                  std::initializer_list<int> componentTypes, AccessorView& view);
    bool Groups();
    bool Mesh(std::size_t n, const tinygltf::Node& node, SourceGroup& group);
    bool Parents(std::vector<int>& parent);
    bool LocalMatrices(std::vector<Matrix4x4>& local);
    bool WorldMatrices(const std::vector<int>& parent, std::vector<Matrix4x4>& world);
    Matrix4x4 LocalMatrix(const tinygltf::Node& node) const;
    bool Primitive(const tinygltf::Primitive& primitive, const std::string& what, SourceGroup& group);

    const std::string& path_;
    const tinygltf::Model& model_;
    const CapturedImages& captured_;
    SourceScene& scene_;
    std::vector<int> texCoordSet_;  // per material: the TEXCOORD_n its base-colour texture uses
    std::string error_;
};

bool GltfReader::BufferViewBytes(int viewIndex, const std::string& what, const std::uint8_t*& data,
                                 std::size_t& size) {
    if (viewIndex < 0 || static_cast<std::size_t>(viewIndex) >= model_.bufferViews.size()) {
        return Fail(what + ": buffer view " + std::to_string(viewIndex) + " does not exist");
    }
    const tinygltf::BufferView& view = model_.bufferViews[static_cast<std::size_t>(viewIndex)];
    if (view.buffer < 0 || static_cast<std::size_t>(view.buffer) >= model_.buffers.size()) {
        return Fail(what + ": buffer view " + std::to_string(viewIndex) + " names buffer " +
                    std::to_string(view.buffer) + ", which does not exist");
    }
    const std::vector<unsigned char>& buffer = model_.buffers[static_cast<std::size_t>(view.buffer)].data;
    if (view.byteOffset > buffer.size() || view.byteLength > buffer.size() - view.byteOffset) {
        return Fail(what + ": buffer view " + std::to_string(viewIndex) + " (bytes " + std::to_string(view.byteOffset) +
                    " to " + std::to_string(view.byteOffset + view.byteLength) + ") runs past its buffer of " +
                    std::to_string(buffer.size()) + " bytes");
    }
    data = buffer.data() + view.byteOffset;
    size = view.byteLength;
    return true;
}

bool GltfReader::Image(int imageIndex, SourceMaterial& material) {
    const std::string what = "material \"" + material.name + "\"";
    if (imageIndex < 0 || static_cast<std::size_t>(imageIndex) >= model_.images.size()) {
        return Fail(what + ": its texture names image " + std::to_string(imageIndex) + ", which does not exist");
    }
    const tinygltf::Image& image = model_.images[static_cast<std::size_t>(imageIndex)];
    material.textured = true;
    material.imageName = "image " + std::to_string(imageIndex) + (image.name.empty() ? "" : " \"" + image.name + "\"");
    if (image.bufferView >= 0) {
        const std::uint8_t* data = nullptr;
        std::size_t size = 0;
        if (!BufferViewBytes(image.bufferView, material.imageName, data, size)) return false;
        material.imageData.assign(data, data + size);
    } else if (!image.uri.empty()) {
        material.imagePath = JoinPath(DirectoryOf(path_), PercentDecoded(image.uri));
        material.imageName = image.uri;
    } else {
        const auto found = captured_.dataUriImages.find(imageIndex);
        if (found == captured_.dataUriImages.end()) return Fail(material.imageName + ": holds no image data");
        material.imageData = found->second;
    }
    return true;
}

bool GltfReader::Materials() {
    for (std::size_t i = 0; i < model_.materials.size(); ++i) {
        const tinygltf::Material& from = model_.materials[i];
        SourceMaterial material;
        material.name = from.name.empty() ? "material " + std::to_string(i) : from.name;
        material.definedIn = path_;
        const std::vector<double>& factor = from.pbrMetallicRoughness.baseColorFactor;
        for (std::size_t c = 0; c < 3 && c < factor.size(); ++c) {
            material.colour[c] = static_cast<float>(std::fmin(std::fmax(factor[c], 0.0), 1.0));
        }
        const tinygltf::TextureInfo& texture = from.pbrMetallicRoughness.baseColorTexture;
        texCoordSet_.push_back(texture.index >= 0 ? texture.texCoord : 0);
        if (texture.index >= 0) {
            if (static_cast<std::size_t>(texture.index) >= model_.textures.size()) {
                return Fail("material \"" + material.name + "\": texture " + std::to_string(texture.index) +
                            " does not exist");
            }
            if (!Image(model_.textures[static_cast<std::size_t>(texture.index)].source, material)) return false;
        }
        scene_.materials.push_back(std::move(material));
    }
    return true;
}

bool GltfReader::Accessor(int accessorIndex, const std::string& what, std::initializer_list<int> types,
                          std::initializer_list<int> componentTypes, AccessorView& view) {
    if (accessorIndex < 0 || static_cast<std::size_t>(accessorIndex) >= model_.accessors.size()) {
        return Fail(what + ": accessor " + std::to_string(accessorIndex) + " does not exist");
    }
    const tinygltf::Accessor& accessor = model_.accessors[static_cast<std::size_t>(accessorIndex)];
    const std::string named = what + " (accessor " + std::to_string(accessorIndex) + ")";
    if (accessor.sparse.isSparse) return Fail(named + ": sparse accessors are not read");
    bool typeFits = false, componentFits = false;
    for (int type : types) typeFits = typeFits || accessor.type == type;
    for (int componentType : componentTypes) componentFits = componentFits || accessor.componentType == componentType;
    if (!typeFits || !componentFits) return Fail(named + ": has a type or component type the converter does not read");
    if (accessor.bufferView < 0) return Fail(named + ": has no buffer view");

    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    if (!BufferViewBytes(accessor.bufferView, named, data, size)) return false;
    const std::size_t elementSize = ComponentSize(accessor.componentType) * ComponentCount(accessor.type);
    const std::size_t stride = model_.bufferViews[static_cast<std::size_t>(accessor.bufferView)].byteStride;
    view.stride = stride == 0 ? elementSize : stride;
    if (view.stride < elementSize) return Fail(named + ": its byte stride is smaller than one element");
    view.count = accessor.count;
    if (view.count > 0) {
        const bool fits = accessor.byteOffset <= size && elementSize <= size - accessor.byteOffset &&
                          (view.count - 1) <= (size - accessor.byteOffset - elementSize) / view.stride;
        if (!fits) return Fail(named + ": its " + std::to_string(view.count) + " elements run past its buffer view");
        view.first = data + accessor.byteOffset;
    }
    view.componentType = accessor.componentType;
    view.components = ComponentCount(accessor.type);
    view.normalized = accessor.normalized;
    return true;
}

bool GltfReader::Primitive(const tinygltf::Primitive& primitive, const std::string& what, SourceGroup& group) {
    if (primitive.mode != -1 && primitive.mode != TINYGLTF_MODE_TRIANGLES) {
        return Fail(what + ": mode " + std::to_string(primitive.mode) + " is not a triangle list");
    }
    const auto position = primitive.attributes.find("POSITION");
    if (position == primitive.attributes.end()) return Fail(what + ": has no POSITION");
    AccessorView positions;
    if (!Accessor(position->second, what + " POSITION", {TINYGLTF_TYPE_VEC3}, {TINYGLTF_COMPONENT_TYPE_FLOAT},
                  positions)) {
        return false;
    }
    std::int32_t material = primitive.material;
    if (material >= 0 && static_cast<std::size_t>(material) >= scene_.materials.size()) {
        return Fail(what + ": material " + std::to_string(material) + " does not exist");
    }
    const int set = material >= 0 ? texCoordSet_[static_cast<std::size_t>(material)] : 0;
    AccessorView coords;
    const auto coord = primitive.attributes.find("TEXCOORD_" + std::to_string(set));
    const bool hasCoords = coord != primitive.attributes.end();
    if (hasCoords) {
        if (!Accessor(coord->second, what + " " + coord->first, {TINYGLTF_TYPE_VEC2},
                      {TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE,
                       TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT},
                      coords)) {
            return false;
        }
        if (coords.count < positions.count) return Fail(what + ": " + coord->first + " has fewer elements than POSITION");
    }
    AccessorView indices;
    const bool indexed = primitive.indices >= 0;
    if (indexed && !Accessor(primitive.indices, what + " indices", {TINYGLTF_TYPE_SCALAR},
                             {TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT,
                              TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT},
                             indices)) {
        return false;
    }
    const std::size_t cornerCount = indexed ? indices.count : positions.count;
    if (cornerCount % 3 != 0) return Fail(what + ": " + std::to_string(cornerCount) + " corners are not whole triangles");

    for (std::size_t t = 0; t < cornerCount; t += 3) {
        SourceTriangle triangle;
        triangle.material = material;
        for (std::size_t c = 0; c < 3; ++c) {
            const std::size_t vertex = indexed ? indices.Index(t + c) : t + c;
            if (vertex >= positions.count) {
                return Fail(what + ": index " + std::to_string(vertex) + " is outside its " +
                            std::to_string(positions.count) + " vertices");
            }
            SourceVertex& corner = triangle.corners[c];
            corner.position = {positions.Float(vertex, 0), positions.Float(vertex, 1), positions.Float(vertex, 2)};
            if (hasCoords) {
                corner.u = coords.Float(vertex, 0);
                corner.v = coords.Float(vertex, 1);
            }
            if (!std::isfinite(corner.position.x) || !std::isfinite(corner.position.y) ||
                !std::isfinite(corner.position.z) || !std::isfinite(corner.u) || !std::isfinite(corner.v)) {
                return Fail(what + ": vertex " + std::to_string(vertex) + " holds a value that is not a finite number");
            }
        }
        group.triangles.push_back(triangle);
    }
    return true;
}

// glTF matrices are column-major for column vectors; read row after row, the same sixteen
// numbers are the matrix for row vectors (its transpose).
Matrix4x4 GltfReader::LocalMatrix(const tinygltf::Node& node) const {
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    if (node.matrix.size() == 16) {
        for (int i = 0; i < 16; ++i) m[i] = node.matrix[static_cast<std::size_t>(i)];
    } else {
        double t[3] = {0, 0, 0}, s[3] = {1, 1, 1}, q[4] = {0, 0, 0, 1};
        for (std::size_t i = 0; i < 3 && node.translation.size() == 3; ++i) t[i] = node.translation[i];
        for (std::size_t i = 0; i < 3 && node.scale.size() == 3; ++i) s[i] = node.scale[i];
        for (std::size_t i = 0; i < 4 && node.rotation.size() == 4; ++i) q[i] = node.rotation[i];
        const double x = q[0], y = q[1], z = q[2], w = q[3];
        const double r[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
                                {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
                                {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}};
        // Column-major T * R * S: element (row, column) sits at column * 4 + row.
        for (int column = 0; column < 3; ++column) {
            for (int row = 0; row < 3; ++row) m[column * 4 + row] = r[row][column] * s[column];
        }
        for (int row = 0; row < 3; ++row) m[12 + row] = t[row];
    }
    Matrix4x4 out{};
    for (int i = 0; i < 16; ++i) out.m[i / 4][i % 4] = static_cast<float>(m[i]);
    return out;
}

bool GltfReader::Parents(std::vector<int>& parent) {
    parent.assign(model_.nodes.size(), -1);
    for (std::size_t n = 0; n < model_.nodes.size(); ++n) {
        for (int child : model_.nodes[n].children) {
            if (child < 0 || static_cast<std::size_t>(child) >= model_.nodes.size()) {
                return Fail("node " + std::to_string(n) + " has child " + std::to_string(child) + ", which does not exist");
            }
            if (static_cast<std::size_t>(child) == n) return Fail("node " + std::to_string(n) + " is its own child");
            if (parent[static_cast<std::size_t>(child)] != -1) {
                return Fail("node " + std::to_string(child) + " has more than one parent (nodes " +
                            std::to_string(parent[static_cast<std::size_t>(child)]) + " and " + std::to_string(n) + ")");
            }
            parent[static_cast<std::size_t>(child)] = static_cast<int>(n);
        }
    }
    return true;
}

// Every node's local transform must be finite and must not flatten space (a zero scale).
bool GltfReader::LocalMatrices(std::vector<Matrix4x4>& local) {
    local.resize(model_.nodes.size());
    for (std::size_t n = 0; n < model_.nodes.size(); ++n) {
        local[n] = LocalMatrix(model_.nodes[n]);
        for (const auto& row : local[n].m)
            for (float value : row)
                if (!std::isfinite(value)) {
                    return Fail("node " + std::to_string(n) + ": its transform holds a value that is not a finite "
                                "32-bit float");
                }
        if (Determinant3x3(local[n]) == 0.0f) {
            return Fail("node " + std::to_string(n) + ": its transform flattens its geometry (a scale of 0)");
        }
    }
    return true;
}

// World transforms, each node's computed once from its parent's: time and memory linear in the
// number of nodes whatever the depth. A chain that comes back to itself is refused.
bool GltfReader::WorldMatrices(const std::vector<int>& parent, std::vector<Matrix4x4>& world) {
    std::vector<Matrix4x4> local;
    if (!LocalMatrices(local)) return false;
    enum class State : std::uint8_t { kTodo, kOnPath, kDone };
    std::vector<State> state(model_.nodes.size(), State::kTodo);
    world.resize(model_.nodes.size());
    std::vector<std::size_t> path;
    for (std::size_t n = 0; n < model_.nodes.size(); ++n) {
        // Climb to the first ancestor already done (or a root), then come back down.
        for (std::size_t at = n; state[at] != State::kDone;) {
            if (state[at] == State::kOnPath) return Fail("node " + std::to_string(at) + " is its own ancestor");
            state[at] = State::kOnPath;
            path.push_back(at);
            if (parent[at] < 0) break;
            at = static_cast<std::size_t>(parent[at]);
        }
        while (!path.empty()) {
            const std::size_t at = path.back();
            path.pop_back();
            if (parent[at] < 0) world[at] = local[at];
            else MatrixMultiply(&world[at], &local[at], &world[static_cast<std::size_t>(parent[at])]);
            state[at] = State::kDone;
        }
    }
    return true;
}

std::string NodeLabel(std::size_t n, const tinygltf::Node& node) {
    return "node " + std::to_string(n) + (node.name.empty() ? "" : " \"" + node.name + "\"");
}

bool GltfReader::Groups() {
    std::vector<int> parent;
    std::vector<Matrix4x4> world;
    if (!Parents(parent) || !WorldMatrices(parent, world)) return false;
    scene_.groups.reserve(model_.nodes.size());
    for (std::size_t n = 0; n < model_.nodes.size(); ++n) {
        const tinygltf::Node& node = model_.nodes[n];
        SourceGroup group;
        group.name = node.name;
        group.node = static_cast<int>(n);
        group.toWorld = world[n];
        if (node.mesh >= 0 && !Mesh(n, node, group)) {
            // Kept as the group's own refusal: a mesh the converter cannot read stops the build
            // only when a room or model uses it.
            group.refusal = error_;
            group.triangles.clear();
            error_.clear();
        }
        scene_.groups.push_back(std::move(group));
    }
    return true;
}

bool GltfReader::Mesh(std::size_t n, const tinygltf::Node& node, SourceGroup& group) {
    if (static_cast<std::size_t>(node.mesh) >= model_.meshes.size()) {
        return Fail(NodeLabel(n, node) + ": mesh " + std::to_string(node.mesh) + " does not exist");
    }
    const tinygltf::Mesh& mesh = model_.meshes[static_cast<std::size_t>(node.mesh)];
    for (std::size_t p = 0; p < mesh.primitives.size(); ++p) {
        const std::string what = NodeLabel(n, node) + " mesh " + std::to_string(node.mesh) + " primitive " +
                                 std::to_string(p);
        if (!Primitive(mesh.primitives[p], what, group)) return false;
    }
    return true;
}

bool EndsWithGlb(const std::string& path) {
    if (path.size() < 4) return false;
    std::string tail = path.substr(path.size() - 4);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".glb";
}

// tinygltf's file access: the buffer files read ahead, and for any other file (an image) a
// placeholder byte: the builder reads images itself, only those that faces of the level use.
bool FileAlwaysThere(const std::string&, void*) { return true; }

std::string PathAsGiven(const std::string& path, void*) { return path; }

bool ReadAheadFile(std::vector<unsigned char>* out, std::string*, const std::string& path, void* user) {
    const auto* files = static_cast<const GltfBufferFiles*>(user);
    const auto found = files->find(path);
    if (found != files->end()) *out = found->second;
    else *out = {0};
    return true;
}

std::string Lines(const std::string& text) {
    std::string out = text;
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    for (char& c : out) {
        if (c == '\n') c = ';';
    }
    return out;
}

}  // namespace

bool LoadGltfScene(const std::string& path, SourceScene& scene, std::string& error) {
    scene = SourceScene{};
    scene.path = path;
    std::vector<std::uint8_t> bytes;
    if (!ReadRegularFile(path, kMaxSourceFileSize, bytes, error)) return false;
    return ParseGltfScene(path, bytes, scene, error);
}

bool ParseGltfScene(const std::string& path, const std::vector<std::uint8_t>& bytes, SourceScene& scene,
                    std::string& error) {
    scene = SourceScene{};
    scene.path = path;
    const bool binary = EndsWithGlb(path);
    const std::string baseDir = DirectoryOf(path).empty() ? std::string(".") : DirectoryOf(path);
    nlohmann::json root;
    GltfBufferFiles buffers;
    if (!ReadGltfJson(path, bytes, binary, root, error) || !CheckGltfJson(path, root, error) ||
        !ReadGltfBufferFiles(path, root, baseDir, buffers, error)) {
        return false;
    }
    scene.warnings = DroppedGltfFeatures(path, root);
    root = nullptr;

    tinygltf::TinyGLTF loader;
    CapturedImages captured;
    loader.SetImageLoader(CaptureImage, &captured);
    tinygltf::FsCallbacks files{&FileAlwaysThere, &PathAsGiven, &ReadAheadFile, nullptr, &buffers};
    loader.SetFsCallbacks(files);
    tinygltf::Model model;
    std::string errors, warnings;
    const bool loaded =
        binary ? loader.LoadBinaryFromMemory(&model, &errors, &warnings, bytes.data(),
                                             static_cast<unsigned int>(bytes.size()), baseDir)
               : loader.LoadASCIIFromString(&model, &errors, &warnings, reinterpret_cast<const char*>(bytes.data()),
                                            static_cast<unsigned int>(bytes.size()), baseDir);
    if (!loaded || !errors.empty()) {
        error = path + ": " + (errors.empty() ? std::string("cannot be read as glTF 2.0") : Lines(errors));
        return false;
    }
    if (!warnings.empty()) scene.warnings.push_back(path + ": " + Lines(warnings));
    GltfReader reader(path, model, captured, scene);
    if (!reader.Read()) {
        error = reader.Error();
        return false;
    }
    return true;
}

}  // namespace brontal
