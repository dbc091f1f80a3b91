#pragma once
// Small levels built in memory for the simulation tests, and a fixture that runs frames with a
// fixed frame time, scripted keys and a device on the null backend that records its calls.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "device/device.h"
#include "geometry/camera.h"
#include "level/world.h"
#include "math/matrix.h"
#include "player/animation.h"
#include "player/frame_update.h"
#include "player/player.h"
#include "shell/counter.h"
#include "shell/frame_timer.h"
#include "shell/keys.h"

namespace brontal::test {

// Two triangles a-b-c and a-c-d.
inline Surface Quad(const std::string& name, Vector3 a, Vector3 b, Vector3 c, Vector3 d) {
    Surface s;
    s.name = name;
    for (const Vector3& p : {a, b, c, d}) s.vertices.push_back({p.x, p.y, p.z, 0.0f, 0.0f});
    s.indices = {0, 1, 2, 0, 2, 3};
    s.vertexCount = 4;
    s.indexCount = 6;
    s.triangleCount = 2;
    return s;
}

// A closed box room: floor, ceiling and four walls, one surface each, named after the side.
inline Room BoxRoom(const std::string& name, Vector3 lo, Vector3 hi) {
    Room room;
    room.name = name;
    room.surfaces.push_back(Quad("floor", {lo.x, lo.y, lo.z}, {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, lo.y, lo.z}));
    room.surfaces.push_back(Quad("ceiling", {lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}));
    room.surfaces.push_back(Quad("wall -x", {lo.x, lo.y, lo.z}, {lo.x, hi.y, lo.z}, {lo.x, hi.y, hi.z}, {lo.x, lo.y, hi.z}));
    room.surfaces.push_back(Quad("wall +x", {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {hi.x, hi.y, lo.z}));
    room.surfaces.push_back(Quad("wall -z", {lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z}));
    room.surfaces.push_back(Quad("wall +z", {lo.x, lo.y, hi.z}, {lo.x, hi.y, hi.z}, {hi.x, hi.y, hi.z}, {hi.x, lo.y, hi.z}));
    room.surfaceCount = static_cast<std::uint16_t>(room.surfaces.size());
    return room;
}

inline void SetVisibleRooms(Room& room, std::vector<std::uint16_t> rooms) {
    room.visibleRooms = std::move(rooms);
    room.visibleRoomCount = static_cast<std::uint16_t>(room.visibleRooms.size());
}

// A model whose surface spans lo..hi, so its box is lo..hi.
inline std::uint16_t AddBoxModel(Level& level, Vector3 lo, Vector3 hi, bool solid) {
    Model model;
    model.surfaces.push_back(Quad("top", {lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}, {lo.x, lo.y, hi.z}));
    model.surfaceCount = 1;
    model.solid = solid;
    level.models.push_back(model);
    level.modelCount = static_cast<std::uint16_t>(level.models.size());
    return static_cast<std::uint16_t>(level.models.size() - 1);
}

// Placed at position without rotation.
inline void PlaceObject(Room& room, std::uint16_t modelIndex, Vector3 position) {
    RoomObject object;
    object.modelIndex = modelIndex;
    object.position = position;
    object.rotationAxis = {0.0f, 1.0f, 0.0f};
    Matrix4x4 rotation;
    Matrix4x4 translation;
    MatrixRotationAxis(&rotation, &object.rotationAxis, 0.0f);
    MatrixTranslation(&translation, position.x, position.y, position.z);
    MatrixMultiply(&object.world, &rotation, &translation);
    room.objects.push_back(object);
    room.objectCount = static_cast<std::uint16_t>(room.objects.size());
}

inline void AddRoom(Level& level, Room room) {
    level.rooms.push_back(std::move(room));
    level.roomCount = static_cast<std::uint16_t>(level.rooms.size());
}

// Makes the level the game's, with its derived boxes and corners.
inline void InstallLevel(Level level) {
    g_level = std::move(level);
    deriveAfterLoad(g_level);
}

inline D3DPRESENT_PARAMETERS SimParameters() {
    D3DPRESENT_PARAMETERS p{};
    p.BackBufferWidth = 640;
    p.BackBufferHeight = 480;
    p.Windowed = 1;
    return p;
}

// Frames of 1/100 s from the first on, no key held, the simulation as before start-up.
class Simulation : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSimulation();
        g_level = Level{};
        timer.Start(100.0f);
        g_frameTimer = &timer;
        g_keyStateSource = &keys;
        device = std::make_unique<Device>(std::make_unique<NullBackend>(), SimParameters(), kDefaultCaps);
        g_device = device.get();
    }
    void TearDown() override {
        g_device = nullptr;
        g_keyStateSource = nullptr;
        g_frameTimer = nullptr;
        g_level = Level{};
        ResetSimulation();
    }
    void StartAt(Vector3 position) {
        g_level.startPosition = position;
        InitPlayer(position, 0.0f);
        g_chaseCamera.followPoint = position;
    }
    void Hold(int key, bool held = true) { keys.Set(key, held); }
    void Frames(int count) {
        for (int i = 0; i < count; ++i) UpdateFrame();
    }

    static constexpr float kDt = 0.01f;
    ManualKeys keys;
    SimulatedCounter counter{kDt};
    FrameTimer timer{counter};
    std::unique_ptr<Device> device;
};

}  // namespace brontal::test
