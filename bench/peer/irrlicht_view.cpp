// The peer of the frame comparison: Irrlicht 1.8 (Debian's libirrlicht-dev, its OpenGL driver)
// drawing the scene the game draws at one view, from the pose brontal-view wrote.
//
//   irrlicht-view LEVEL POSE [--frames N] [--warmup N] [--screenshot FILE.png]
//
// The level is read by the game's own reader. Drawn, as the game draws them: the sky box with
// the sky projection when the current room shows the sky; every surface and every placed model
// of the rooms in the pose's list, in the list's order, from static hardware buffers; the
// figure's parts at their key; the scene's ambient grey and point lights lighting by their
// ambient term with the game's attenuation (the first eight: the fixed-function pipeline has no
// more); textures without mip levels, filtered linearly (the game's anisotropic filter with the
// device's default maximum anisotropy of 1), mirrored addressing; the alpha test on textures
// that have alpha; back faces culled. Prints the median milliseconds per frame (endScene included, which
// swaps) on stdout.
#include <GL/gl.h>
#include <irrlicht/irrlicht.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "level/reader.h"
#include "level/world.h"
#include "math/matrix.h"
#include "math/quaternion.h"
#include "math/vector3.h"
#include "platform/image.h"

namespace {

using namespace irr;

struct Pose {
    std::uint32_t width = 1024, height = 768;
    core::matrix4 view, projection, skyProjection, skyWorld;
    std::vector<std::uint16_t> rooms;
    bool sky = false;
    float skySize = 1.0f;
    float figureX = 0, figureY = 0, figureZ = 0, heading = 0;
    int key = 0;
};

bool ReadMatrix(std::istringstream& in, core::matrix4& m) {
    for (int i = 0; i < 16; ++i) in >> m[i];  // row after row in both
    return !in.fail();
}

bool ReadPose(const std::string& path, Pose& pose) {
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream in(line);
        std::string name;
        in >> name;
        if (name == "size") in >> pose.width >> pose.height;
        else if (name == "view") ReadMatrix(in, pose.view);
        else if (name == "projection") ReadMatrix(in, pose.projection);
        else if (name == "skyProjection") ReadMatrix(in, pose.skyProjection);
        else if (name == "skyWorld") ReadMatrix(in, pose.skyWorld);
        else if (name == "sky") in >> pose.sky >> pose.skySize;
        else if (name == "figure") in >> pose.figureX >> pose.figureY >> pose.figureZ >> pose.heading >> pose.key;
        else if (name == "rooms")
            for (unsigned room; in >> room;) pose.rooms.push_back(static_cast<std::uint16_t>(room));
    }
    return !pose.rooms.empty();
}

core::matrix4 ToIrr(const brontal::Matrix4x4& m) {
    core::matrix4 out;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) out[r * 4 + c] = m.m[r][c];
    return out;
}

struct Batch {
    scene::SMeshBuffer* buffer = nullptr;
    core::matrix4 world;
};

class Scene {
public:
    explicit Scene(video::IVideoDriver* driver) : driver_(driver) {}
    ~Scene() {
        for (Batch& batch : batches_) batch.buffer->drop();
        for (Batch& batch : figure_) batch.buffer->drop();
    }

    void Textures(const brontal::Level& level, const std::vector<std::uint8_t>& file,
                  const std::vector<brontal::ImageSpan>& images) {
        driver_->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, false);
        driver_->setTextureCreationFlag(video::ETCF_ALWAYS_32_BIT, true);
        for (std::size_t slot = 0; slot < images.size() && slot < level.textureCount; ++slot) {
            brontal::Image image;
            std::string error;
            if (!brontal::DecodeImage(file.data() + images[slot].offset, images[slot].size, image, error)) {
                textures_.push_back({nullptr, false});
                continue;
            }
            textures_.push_back({MakeTexture(image, "level" + std::to_string(slot)), image.hasAlpha});
        }
    }

    video::ITexture* MakeTexture(const brontal::Image& image, const std::string& name) {
        // A8R8G8B8 is a 32-bit word per texel: B, G, R, A in memory on this machine.
        std::vector<std::uint8_t> bgra(image.rgba.size());
        for (std::size_t i = 0; i + 3 < image.rgba.size(); i += 4) {
            bgra[i] = image.rgba[i + 2];
            bgra[i + 1] = image.rgba[i + 1];
            bgra[i + 2] = image.rgba[i];
            bgra[i + 3] = image.rgba[i + 3];
        }
        video::IImage* irrImage = driver_->createImageFromData(
            video::ECF_A8R8G8B8, core::dimension2d<u32>(image.width, image.height), bgra.data(), false, false);
        video::ITexture* texture = driver_->addTexture(name.c_str(), irrImage);
        irrImage->drop();
        return texture;
    }

    void Surface(const std::vector<brontal::Vertex>& vertices, const std::vector<std::uint16_t>& indices,
                 std::uint16_t textureIndex, std::size_t triangles, const core::matrix4& world, bool lit,
                 std::vector<Batch>& into) {
        auto* buffer = new scene::SMeshBuffer();
        for (const brontal::Vertex& v : vertices)
            buffer->Vertices.push_back(
                video::S3DVertex(v.x, v.y, v.z, 0, 1, 0, video::SColor(255, 255, 255, 255), v.u, v.v));
        const std::size_t count = std::min(indices.size(), triangles * 3);
        for (std::size_t i = 0; i < count; ++i) buffer->Indices.push_back(indices[i]);
        buffer->recalculateBoundingBox();
        buffer->setHardwareMappingHint(scene::EHM_STATIC);
        video::SMaterial& material = buffer->Material;
        const bool known = textureIndex < textures_.size();
        material.setTexture(0, known ? textures_[textureIndex].texture : nullptr);
        material.MaterialType = known && textures_[textureIndex].alpha ? video::EMT_TRANSPARENT_ALPHA_CHANNEL_REF
                                                                        : video::EMT_SOLID;
        material.Lighting = lit;
        material.BackfaceCulling = true;
        material.AmbientColor = video::SColor(255, 255, 255, 255);
        material.DiffuseColor = video::SColor(255, 0, 0, 0);
        material.TextureLayer[0].TextureWrapU = video::ETC_MIRROR;
        material.TextureLayer[0].TextureWrapV = video::ETC_MIRROR;
        material.TextureLayer[0].BilinearFilter = true;
        material.TextureLayer[0].AnisotropicFilter = 0;  // the device's default maximum anisotropy is 1
        into.push_back({buffer, world});
    }

    void Rooms(const brontal::Level& level, const Pose& pose) {
        for (std::uint16_t r : pose.rooms) {
            if (r >= level.rooms.size()) continue;
            const brontal::Room& room = level.rooms[r];
            for (const brontal::Surface& s : room.surfaces)
                Surface(s.vertices, s.indices, s.textureIndex, s.triangleCount, core::matrix4(), true, batches_);
            for (const brontal::RoomObject& object : room.objects) {
                if (object.modelIndex >= level.models.size()) continue;
                for (const brontal::Surface& s : level.models[object.modelIndex].surfaces)
                    Surface(s.vertices, s.indices, s.textureIndex, s.indexCount / 3, ToIrr(object.world), true,
                            batches_);
            }
            for (const brontal::RoomLight& light : room.lights) {
                if (lights_.size() >= 8) break;
                video::SLight l;
                l.Type = video::ELT_POINT;
                l.Position = core::vector3df(light.light.Position.x, light.light.Position.y, light.light.Position.z);
                l.AmbientColor = video::SColorf(light.light.Ambient.r, light.light.Ambient.g, light.light.Ambient.b);
                l.DiffuseColor = video::SColorf(0, 0, 0);
                l.SpecularColor = video::SColorf(0, 0, 0);
                l.Attenuation = core::vector3df(light.light.Attenuation0, light.light.Attenuation1,
                                                light.light.Attenuation2);
                l.Radius = light.light.Range;
                lights_.push_back(l);
            }
        }
    }

    // The figure's parts at key k, placed as the game places them (lean left out: held still).
    void Figure(const brontal::Level& level, const Pose& pose) {
        if (level.animatedModels.empty()) return;
        const brontal::AnimatedModel& model = level.animatedModels[0];
        for (std::size_t p = 0; p < model.parts.size() && p < model.tracks.size(); ++p) {
            const brontal::AnimatedPart& part = model.parts[p];
            const brontal::KeyTrack& track = model.tracks[p];
            if (track.positions.empty() || track.rotations.empty()) continue;
            const std::size_t k = std::min<std::size_t>(pose.key, std::min(track.positions.size(), track.rotations.size()) - 1);
            brontal::Vector3 offset{};
            brontal::Vec3Subtract(&offset, &track.positions[k], &part.pivot);
            const brontal::Vector3 origin{0, 0, 0}, unit{1, 1, 1};
            brontal::Matrix4x4 world{}, step{};
            brontal::MatrixTransformation(&world, &origin, &track.rotations[k], &unit, &part.pivot,
                                          &track.rotations[k], &offset);
            brontal::MatrixMultiply(&world, &world, brontal::MatrixRotationY(&step, pose.heading));
            brontal::MatrixMultiply(&world, &world,
                                    brontal::MatrixTranslation(&step, pose.figureX, pose.figureY, pose.figureZ));
            Surface(part.vertices, part.indices, part.textureIndex, part.triangleCount, ToIrr(world), true, figure_);
        }
    }

    // The game's sky box: five faces of a cube of edge `size` about the world origin (the
    // bottom is never drawn), each a strip of four corners, unlit, textures clamped inside.
    void Sky(const std::string& dataDir, float size) {
        struct Face {
            const char* file;
            float corner[4][3];
        };
        const Face faces[5] = {{"Front", {{-1, 1, 1}, {-1, -1, 1}, {-1, 1, -1}, {-1, -1, -1}}},
                               {"Back", {{1, 1, -1}, {1, -1, -1}, {1, 1, 1}, {1, -1, 1}}},
                               {"Top", {{-1, 1, 1}, {-1, 1, -1}, {1, 1, 1}, {1, 1, -1}}},
                               {"Right", {{-1, 1, -1}, {-1, -1, -1}, {1, 1, -1}, {1, -1, -1}}},
                               {"Left", {{1, 1, 1}, {1, -1, 1}, {-1, 1, 1}, {-1, -1, 1}}}};
        const float h = size / 2, low = 1.0f / 1024.0f, high = 1.0f - low;
        const float uv[4][2] = {{low, low}, {low, high}, {high, low}, {high, high}};
        for (const Face& face : faces) {
            std::vector<std::uint8_t> bytes;
            std::string error;
            brontal::Image image;
            if (!brontal::ReadWholeFile(dataDir + "/SKY/" + face.file + ".bmp", bytes, error) ||
                !brontal::DecodeImage(bytes.data(), bytes.size(), image, error))
                continue;
            textures_.push_back({MakeTexture(image, std::string("sky") + face.file), false});
            std::vector<brontal::Vertex> strip;
            for (int c = 0; c < 4; ++c)
                strip.push_back({face.corner[c][0] * h, face.corner[c][1] * h, face.corner[c][2] * h, uv[c][0], uv[c][1]});
            Surface(strip, {0, 1, 2, 2, 1, 3}, static_cast<std::uint16_t>(textures_.size() - 1), 2, core::matrix4(),
                    false, sky_);
            sky_.back().buffer->Material.TextureLayer[0].TextureWrapU = video::ETC_CLAMP_TO_EDGE;
            sky_.back().buffer->Material.TextureLayer[0].TextureWrapV = video::ETC_CLAMP_TO_EDGE;
        }
    }

    void Draw(const Pose& pose) {
        driver_->beginScene(true, true, video::SColor(255, 0, 0, 0));
        driver_->setTransform(video::ETS_VIEW, pose.view);
        if (pose.sky) {
            driver_->setTransform(video::ETS_PROJECTION, pose.skyProjection);
            DrawAll(sky_, &pose.skyWorld);
        }
        driver_->setTransform(video::ETS_PROJECTION, pose.projection);
        driver_->setAmbientLight(video::SColorf(0x14 / 255.0f, 0x14 / 255.0f, 0x14 / 255.0f));
        driver_->deleteAllDynamicLights();
        driver_->setTransform(video::ETS_WORLD, core::matrix4());
        for (const video::SLight& light : lights_) driver_->addDynamicLight(light);
        DrawAll(batches_, nullptr);
        DrawAll(figure_, nullptr);
    }

private:
    void DrawAll(const std::vector<Batch>& batches, const core::matrix4* world) {
        for (const Batch& batch : batches) {
            driver_->setTransform(video::ETS_WORLD, world ? *world : batch.world);
            driver_->setMaterial(batch.buffer->Material);
            driver_->drawMeshBuffer(batch.buffer);
        }
    }

    struct Slot {
        video::ITexture* texture;
        bool alpha;
    };
    video::IVideoDriver* driver_;
    std::vector<Slot> textures_;
    std::vector<Batch> batches_, figure_, sky_;
    std::vector<video::SLight> lights_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: irrlicht-view LEVEL POSE [--frames N] [--warmup N] [--screenshot FILE.png]\n");
        return 2;
    }
    int frames = 200, warmup = 30;
    std::string screenshot;
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--frames") frames = std::max(1, std::atoi(argv[i + 1]));
        else if (arg == "--warmup") warmup = std::max(0, std::atoi(argv[i + 1]));
        else if (arg == "--screenshot") screenshot = argv[i + 1];
    }
    Pose pose;
    if (!ReadPose(argv[2], pose)) {
        std::fprintf(stderr, "irrlicht-view: %s: no pose\n", argv[2]);
        return 1;
    }
    std::vector<std::uint8_t> file;
    std::string error;
    brontal::Level level;
    brontal::LevelReadDetails details;
    if (!brontal::ReadWholeFile(argv[1], file, error) ||
        !brontal::ReadLevel(file.data(), file.size(), argv[1], nullptr, level, error, &details)) {
        std::fprintf(stderr, "irrlicht-view: %s\n", error.c_str());
        return 1;
    }

    SIrrlichtCreationParameters parameters;
    parameters.DriverType = video::EDT_OPENGL;
    parameters.WindowSize = core::dimension2d<u32>(pose.width, pose.height);
    parameters.Bits = 24;
    parameters.ZBufferBits = 24;
    parameters.Vsync = false;
    parameters.Doublebuffer = true;
    IrrlichtDevice* device = createDeviceEx(parameters);
    if (!device) {
        std::fprintf(stderr, "irrlicht-view: no OpenGL device\n");
        return 1;
    }
    device->getLogger()->setLogLevel(ELL_NONE);
    video::IVideoDriver* driver = device->getVideoDriver();
    std::string dataDir = argv[1];
    dataDir = dataDir.substr(0, dataDir.rfind('/'));
    dataDir = dataDir.substr(0, dataDir.rfind('/'));
    {
        Scene scene(driver);
        scene.Textures(level, file, details.textureImages);
        scene.Sky(dataDir, pose.skySize);
        scene.Rooms(level, pose);
        scene.Figure(level, pose);
        std::vector<double> ms;
        for (int i = 0; i < warmup + frames && device->run(); ++i) {
            const auto begin = std::chrono::steady_clock::now();
            scene.Draw(pose);
            driver->endScene();
            const auto end = std::chrono::steady_clock::now();
            if (i >= warmup) ms.push_back(std::chrono::duration<double, std::milli>(end - begin).count());
        }
        if (!screenshot.empty()) {
            scene.Draw(pose);  // read from the back buffer, before the swap
            brontal::Image image;
            image.width = pose.width;
            image.height = pose.height;
            std::vector<std::uint8_t> bottomUp(std::size_t{pose.width} * pose.height * 4);
            glReadBuffer(GL_BACK);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glReadPixels(0, 0, static_cast<GLsizei>(pose.width), static_cast<GLsizei>(pose.height), GL_RGBA,
                         GL_UNSIGNED_BYTE, bottomUp.data());
            const std::size_t row = std::size_t{pose.width} * 4;
            for (std::uint32_t y = 0; y < pose.height; ++y)
                image.rgba.insert(image.rgba.end(), bottomUp.begin() + static_cast<std::ptrdiff_t>((pose.height - 1 - y) * row),
                                  bottomUp.begin() + static_cast<std::ptrdiff_t>((pose.height - y) * row));
            if (!brontal::WriteWholeFile(screenshot, brontal::EncodePng(image), error))
                std::fprintf(stderr, "irrlicht-view: %s\n", error.c_str());
            driver->endScene();
        }
        std::sort(ms.begin(), ms.end());
        if (!ms.empty()) std::printf("%.3f\n", ms[ms.size() / 2]);
    }
    device->drop();
    return 0;
}
