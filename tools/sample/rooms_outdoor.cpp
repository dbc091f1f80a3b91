// The rooms open to the sky: the courtyard and the walled garden behind its iron fence.
#include <utility>

#include "sample/architecture.h"
#include "sample/furniture.h"
#include "sample/layout.h"
#include "sample/textures.h"

namespace brontal::sample {

namespace {

constexpr TexMapping kCobbleMap{200, 200};
constexpr TexMapping kGrassMap{150, 150};
constexpr TexMapping kBrickMap{160, 160};
constexpr TexMapping kStoneMap{80, 80};
constexpr float kOpenCell = 50.0f;
constexpr float kWallTop = 300.0f;
constexpr float kFenceTop = 170.0f;

void Take(Room& room, SurfaceBuilder& b) { AppendSurfaces(room, b.Take()); }

// Ivy hanging down a wall, a hand's width in front of it.
void Ivy(SurfaceBuilder& b, const Vector3& start, const Vector3& end, const Vector3& facing, float y0, float y1) {
    const Vector3 off = Scale(facing, 2.0f);
    Wall(b, Add(start, off), Add(end, off), y0, y1, facing, {}, TexMapping{70, 70}, kOpenCell);
}

}  // namespace

std::vector<Surface> CourtyardDoor() {
    return PassageSurfaces(Passage{true, -70, 70, kNorthDoorZ0, kNorthDoorZ1, kDoorHeight}, kTexCobbles, kCobbleMap,
                           kTexBricks, kBrickMap);
}

std::vector<Surface> FenceAndGate() {
    SurfaceBuilder footing("fence footing", kTexCobbles), fence("fence", kTexFence);
    SurfaceBuilder posts("gate posts", kTexMarble), ends("fence ends", kTexBricks);
    Floor(footing, -400, kFenceZ0, 400, kFenceZ1, 0, kCobbleMap, kOpenCell);
    // The fence is two cut-out planes, one looking into each room, with the footing between.
    const TexMapping bars{100, kFenceTop, 0.0f, 1.0f};
    for (float sign : {-1.0f, 1.0f}) {
        const float inner = sign * 76.0f, outer = sign * 400.0f;
        Wall(fence, V3(inner, 0, kFenceZ0), V3(outer, 0, kFenceZ0), 0, kFenceTop, V3(0, 0, -1), {}, bars, kOpenCell);
        Wall(fence, V3(inner, 0, kFenceZ1), V3(outer, 0, kFenceZ1), 0, kFenceTop, V3(0, 0, 1), {}, bars, kOpenCell);
        const float x0 = sign < 0.0f ? -76.0f : kGateHalfWidth;
        posts.Box(V3(x0, 0, kFenceZ0 - 4), V3(x0 + 76.0f - kGateHalfWidth, 220, kFenceZ1 + 4), kStoneMap,
                  0x3Fu & ~kFaceMinY);
        Wall(ends, V3(outer, 0, kFenceZ0), V3(outer, 0, kFenceZ1), 0, kWallTop, V3(-sign, 0, 0), {}, kBrickMap,
             kOpenCell);
    }
    std::vector<Surface> out = footing.Take();
    for (SurfaceBuilder* b : {&fence, &posts, &ends})
        for (Surface& s : b->Take()) out.push_back(std::move(s));
    return out;
}

Room BuildCourtyard() {
    Room room;
    room.name = "Courtyard";
    room.showsSky = true;
    SurfaceBuilder floor("courtyard floor", kTexCobbles), walls("courtyard walls", kTexBricks);
    SurfaceBuilder ivy("!ivy", kTexFoliage);
    Floor(floor, -400, 1200, 400, 1800, 0, kCobbleMap, kOpenCell);
    Wall(walls, V3(-400, 0, 1200), V3(400, 0, 1200), 0, kWallTop, V3(0, 0, 1), {{330, 470, kDoorHeight}}, kBrickMap,
         kOpenCell);
    Wall(walls, V3(400, 0, 1200), V3(400, 0, 1800), 0, kWallTop, V3(-1, 0, 0), {}, kBrickMap, kOpenCell);
    Wall(walls, V3(-400, 0, 1200), V3(-400, 0, 1800), 0, kWallTop, V3(1, 0, 0), {}, kBrickMap, kOpenCell);
    Ivy(ivy, V3(400, 0, 1320), V3(400, 0, 1520), V3(-1, 0, 0), 90, kWallTop);
    Ivy(ivy, V3(-400, 0, 1560), V3(-400, 0, 1760), V3(1, 0, 0), 140, kWallTop);
    Ivy(ivy, V3(120, 0, 1200), V3(320, 0, 1200), V3(0, 0, 1), 120, kWallTop);
    Take(room, floor);
    Take(room, walls);
    Take(room, ivy);
    AppendSurfaces(room, CourtyardDoor());
    AppendSurfaces(room, FenceAndGate());

    AddObject(room, kModelFountain, V3(0, 0, 1500));
    for (float x : {-300.0f, 300.0f})
        for (float z : {1300.0f, 1700.0f}) AddObject(room, kModelPillar, V3(x, 0, z));
    AddObject(room, kModelCrate, V3(350, 0, 1240), V3(0, 1, 0), 0.15f);
    AddObject(room, kModelCrate, V3(350, 60, 1242), V3(0, 1, 0), 0.7f);
    AddObject(room, kModelCrate, V3(250, 0, 1235), V3(0, 1, 0), -0.2f);
    AddObject(room, kModelCrate, V3(-340, 6, 1400), V3(1, 0, 1), 0.2f);  // tipped on an edge
    AddObject(room, kModelBench, V3(-180, 0, 1500), V3(0, 1, 0), -0.5f * kPi);
    AddObject(room, kModelBench, V3(180, 0, 1500), V3(0, 1, 0), 0.5f * kPi);
    AddObject(room, kModelTreeTrunk, V3(-300, 0, 1500));
    AddObject(room, kModelTreeCrown, V3(-300, 0, 1500), V3(0, 1, 0), 0.4f);

    room.lights.push_back(MakeRoomLight(V3(0, 600, 1500), V3(0.45f, 0.43f, 0.36f), 900));
    room.lights.push_back(MakeRoomLight(V3(-330, 120, 1260), V3(0.42f, 0.24f, 0.08f), 230));
    room.lights.push_back(MakeRoomLight(V3(0, 60, 1500), V3(0.04f, 0.16f, 0.32f), 210));
    FinishRoom(room);
    return room;
}

Room BuildGarden() {
    Room room;
    room.name = "Walled Garden";
    room.showsSky = true;
    SurfaceBuilder floor("garden lawn", kTexGrass), walls("garden walls", kTexBricks);
    SurfaceBuilder ivy("!ivy", kTexFoliage), tufts("!tall grass", kTexFoliage);
    Floor(floor, -400, kFenceZ1, 400, 2440, 0, kGrassMap, kOpenCell);
    Wall(walls, V3(-400, 0, 2440), V3(400, 0, 2440), 0, kWallTop, V3(0, 0, -1), {}, kBrickMap, kOpenCell);
    Wall(walls, V3(400, 0, kFenceZ1), V3(400, 0, 2440), 0, kWallTop, V3(-1, 0, 0), {}, kBrickMap, kOpenCell);
    Wall(walls, V3(-400, 0, kFenceZ1), V3(-400, 0, 2440), 0, kWallTop, V3(1, 0, 0), {}, kBrickMap, kOpenCell);
    Ivy(ivy, V3(-300, 0, 2440), V3(300, 0, 2440), V3(0, 0, -1), 60, kWallTop);
    Ivy(ivy, V3(400, 0, 2000), V3(400, 0, 2300), V3(-1, 0, 0), 100, kWallTop);
    for (const Vector3& p : {V3(-120, 0, 1950), V3(140, 0, 2080), V3(-60, 0, 2250), V3(90, 0, 2360),
                             V3(-340, 0, 2400), V3(330, 0, 1900), V3(-200, 0, 2150), V3(200, 0, 2230)})
        CrossedCards(tufts, p, 50, 0, 45);
    Take(room, floor);
    Take(room, walls);
    Take(room, ivy);
    Take(room, tufts);
    AppendSurfaces(room, FenceAndGate());

    for (float x : {-250.0f, 250.0f})
        for (float z : {2000.0f, 2300.0f}) AddObject(room, kModelHedge, V3(x, 0, z));
    for (float x : {-330.0f, 330.0f}) {
        AddObject(room, kModelTreeTrunk, V3(x, 0, 2150));
        AddObject(room, kModelTreeCrown, V3(x, 0, 2150), V3(0, 1, 0), x * 0.01f);
    }
    AddObject(room, kModelPedestal, V3(0, 0, 2150), V3(0, 1, 0), 0.3f);
    AddObject(room, kModelBench, V3(0, 0, 2400), V3(0, 1, 0), kPi);
    AddObject(room, kModelCrate, V3(-360, 0, 1890), V3(0.4f, 1, 0.2f), 0.15f);  // settled askew in the soil

    room.lights.push_back(MakeRoomLight(V3(0, 600, 2140), V3(0.42f, 0.45f, 0.34f), 900));
    room.lights.push_back(MakeRoomLight(V3(-250, 100, 2300), V3(0.4f, 0.36f, 0.08f), 220));
    room.lights.push_back(MakeRoomLight(V3(250, 100, 2000), V3(0.3f, 0.08f, 0.22f), 220));
    FinishRoom(room);
    return room;
}

}  // namespace brontal::sample
