// The indoor rooms: entrance hall, corridor, library, stair hall and gallery.
#include <utility>

#include "sample/architecture.h"
#include "sample/furniture.h"
#include "sample/layout.h"
#include "sample/textures.h"

namespace brontal::sample {

namespace {

constexpr TexMapping kTileMap{240, 240};
constexpr TexMapping kPlankMap{160, 160};
constexpr TexMapping kPlasterMap{200, 200};
constexpr TexMapping kBrickMap{160, 160};
constexpr TexMapping kCeilingMap{120, 120};
constexpr float kHalfPi = 0.5f * kPi;

// The ramp of the stair hall rises eastwards along the gallery's front, from (x 260, y 0) to a
// landing at the gallery's height in the hall's north-east corner; its bottom end lies in the
// open hall, so the player walks onto it head on.
constexpr float kRampX0 = 260.0f, kRampX1 = 640.0f, kRampZ0 = 680.0f, kRampZ1 = 780.0f, kHallEastX = 760.0f;

float RampHeight(float x) { return kGalleryFloor * (x - kRampX0) / (kRampX1 - kRampX0); }

// The walking face of the ramp.
void RampFace(SurfaceBuilder& top) {
    // Seen from above with north at the top: right runs up the slope, down is south.
    top.GridBySize(V3(kRampX0, 0, kRampZ1), V3(kRampX1 - kRampX0, kGalleryFloor, 0), V3(0, 0, kRampZ0 - kRampZ1),
                   kLightCell, TexMapping{160, 160});
}

// The ramp's open south side, from its walking face down to the floor, and the landing's.
void RampSide(SurfaceBuilder& side) {
    constexpr int kPieces = 8;
    for (int i = 0; i < kPieces; ++i) {
        const float xa = kRampX0 + (kRampX1 - kRampX0) * static_cast<float>(i) / kPieces;
        const float xb = kRampX0 + (kRampX1 - kRampX0) * static_cast<float>(i + 1) / kPieces;
        const float ya = RampHeight(xa), yb = RampHeight(xb);
        const Vertex topA{xa, ya, kRampZ0, xa / 160.0f, 1.0f - ya / 160.0f};
        const Vertex topB{xb, yb, kRampZ0, xb / 160.0f, 1.0f - yb / 160.0f};
        const Vertex footA{xa, 0.0f, kRampZ0, xa / 160.0f, 1.0f};
        const Vertex footB{xb, 0.0f, kRampZ0, xb / 160.0f, 1.0f};
        if (ya <= 0.0f) side.TriangleFacing(topB, footB, footA, V3(0, 0, -1));
        else side.QuadFacing(topA, topB, footB, footA, V3(0, 0, -1));
    }
    Wall(side, V3(kRampX1, 0, kRampZ0), V3(kHallEastX, 0, kRampZ0), 0, kGalleryFloor, V3(0, 0, -1), {},
         TexMapping{160, 160});
}

void Take(Room& room, SurfaceBuilder& b) { AppendSurfaces(room, b.Take()); }

}  // namespace

std::vector<Surface> HallCorridorDoor() {
    return PassageSurfaces(Passage{true, -70, 70, kHallDoorZ0, kHallDoorZ1, kDoorHeight}, kTexStoneTiles, kTileMap,
                           kTexBricks, kBrickMap);
}

std::vector<Surface> LibraryDoor() {
    return PassageSurfaces(Passage{false, kSideDoorZ0, kSideDoorZ1, -120, -80, kDoorHeight}, kTexPlanks, kPlankMap,
                           kTexBricks, kBrickMap);
}

std::vector<Surface> StairHallDoor() {
    return PassageSurfaces(Passage{false, kSideDoorZ0, kSideDoorZ1, 80, 120, kDoorHeight}, kTexStoneTiles, kTileMap,
                           kTexBricks, kBrickMap);
}

std::vector<Surface> RampTop() {
    // Only the landing's top: the sides below it reach down to the hall's floor and would stretch
    // the gallery's box down over the hall.
    SurfaceBuilder top("landing", kTexPlanks);
    Floor(top, kRampX1, kRampZ0, kHallEastX, kRampZ1, kGalleryFloor, kPlankMap);
    return top.Take();
}

Room BuildHall() {
    Room room;
    room.name = "Entrance Hall";
    SurfaceBuilder floor("hall floor", kTexStoneTiles), walls("hall walls", kTexPlaster);
    SurfaceBuilder ceiling("hall ceiling", kTexCeiling), banners("!banner", kTexCurtain);
    Floor(floor, -320, -320, 320, 300, 0, kTileMap);
    Ceiling(ceiling, -320, -320, 320, 300, 320, kCeilingMap);
    Wall(walls, V3(-320, 0, -320), V3(320, 0, -320), 0, 320, V3(0, 0, 1), {}, kPlasterMap);
    Wall(walls, V3(-320, 0, 300), V3(320, 0, 300), 0, 320, V3(0, 0, -1), {{250, 390, kDoorHeight}}, kPlasterMap);
    Wall(walls, V3(-320, 0, -320), V3(-320, 0, 300), 0, 320, V3(1, 0, 0), {}, kPlasterMap);
    Wall(walls, V3(320, 0, -320), V3(320, 0, 300), 0, 320, V3(-1, 0, 0), {}, kPlasterMap);
    // Banners hang from the ceiling on both sides of the way in; the player walks through them.
    for (float x : {-150.0f, 150.0f}) DoubleSidedCard(banners, V3(x, 0, 40), true, 70, 130, 320);
    Take(room, floor);
    Take(room, walls);
    Take(room, ceiling);
    Take(room, banners);
    AppendSurfaces(room, HallCorridorDoor());

    for (float x : {-200.0f, 200.0f})
        for (float z : {-150.0f, 150.0f}) AddObject(room, kModelPillar, V3(x, 0, z));
    AddObject(room, kModelRug, V3(0, 0, -40));
    AddObject(room, kModelChandelier, V3(0, 320, 0));
    AddObject(room, kModelCrate, V3(250, 0, -250), V3(0, 1, 0), 0.3f);
    AddObject(room, kModelCrate, V3(250, 60, -250), V3(0, 1, 0), 0.9f);
    AddObject(room, kModelCrate, V3(180, 0, -265));
    AddObject(room, kModelCrate, V3(-250, 6, -250), V3(1, 0, 1), 0.2f);

    room.lights.push_back(MakeRoomLight(V3(0, 250, 0), V3(0.42f, 0.34f, 0.24f), 540));
    room.lights.push_back(MakeRoomLight(V3(-230, 120, 200), V3(0.1f, 0.18f, 0.42f), 240));
    room.lights.push_back(MakeRoomLight(V3(240, 100, -230), V3(0.42f, 0.14f, 0.06f), 220));
    FinishRoom(room);
    return room;
}

Room BuildCorridor() {
    Room room;
    room.name = "Long Corridor";
    SurfaceBuilder floor("corridor floor", kTexStoneTiles), walls("corridor walls", kTexBricks);
    SurfaceBuilder ceiling("corridor ceiling", kTexCeiling), plants("!hanging plant", kTexFoliage);
    Floor(floor, -80, 340, 80, 1160, 0, kTileMap);
    Ceiling(ceiling, -80, 340, 80, 1160, 240, kCeilingMap);
    Wall(walls, V3(-80, 0, 340), V3(80, 0, 340), 0, 240, V3(0, 0, 1), {{10, 150, kDoorHeight}}, kBrickMap);
    Wall(walls, V3(-80, 0, 1160), V3(80, 0, 1160), 0, 240, V3(0, 0, -1), {{10, 150, kDoorHeight}}, kBrickMap);
    Wall(walls, V3(-80, 0, 340), V3(-80, 0, 1160), 0, 240, V3(1, 0, 0), {{240, 360, kDoorHeight}}, kBrickMap);
    Wall(walls, V3(80, 0, 340), V3(80, 0, 1160), 0, 240, V3(-1, 0, 0), {{240, 360, kDoorHeight}}, kBrickMap);
    for (float z : {460.0f, 840.0f, 1040.0f}) CrossedCards(plants, V3(0, 0, z), 60, 170, 240);
    Take(room, floor);
    Take(room, walls);
    Take(room, ceiling);
    Take(room, plants);
    AppendSurfaces(room, HallCorridorDoor());
    AppendSurfaces(room, LibraryDoor());
    AppendSurfaces(room, StairHallDoor());
    AppendSurfaces(room, CourtyardDoor());

    AddObject(room, kModelChandelier, V3(0, 240, 640));
    room.lights.push_back(MakeRoomLight(V3(0, 200, 470), V3(0.4f, 0.28f, 0.12f), 270));
    room.lights.push_back(MakeRoomLight(V3(0, 180, 800), V3(0.16f, 0.3f, 0.22f), 260));
    room.lights.push_back(MakeRoomLight(V3(0, 200, 1080), V3(0.4f, 0.3f, 0.2f), 250));
    FinishRoom(room);
    return room;
}

Room BuildLibrary() {
    Room room;
    room.name = "Library";
    SurfaceBuilder floor("library floor", kTexPlanks), walls("library walls", kTexPlaster);
    SurfaceBuilder ceiling("library ceiling", kTexCeiling), curtains("!curtain", kTexCurtain);
    Floor(floor, -760, 380, -120, 900, 0, kPlankMap);
    Ceiling(ceiling, -760, 380, -120, 900, 280, kCeilingMap);
    Wall(walls, V3(-760, 0, 380), V3(-120, 0, 380), 0, 280, V3(0, 0, 1), {}, kPlasterMap);
    Wall(walls, V3(-760, 0, 900), V3(-120, 0, 900), 0, 280, V3(0, 0, -1), {}, kPlasterMap);
    Wall(walls, V3(-760, 0, 380), V3(-760, 0, 900), 0, 280, V3(1, 0, 0), {}, kPlasterMap);
    Wall(walls, V3(-120, 0, 380), V3(-120, 0, 900), 0, 280, V3(-1, 0, 0), {{200, 320, kDoorHeight}}, kPlasterMap);
    // Drapes half across the doorway, just inside the room; the player brushes through them.
    DoubleSidedCard(curtains, V3(-127, 0, 602), false, 44, 8, kDoorHeight, 2.0f);
    DoubleSidedCard(curtains, V3(-127, 0, 678), false, 44, 8, kDoorHeight, 2.0f);
    Take(room, floor);
    Take(room, walls);
    Take(room, ceiling);
    Take(room, curtains);
    AppendSurfaces(room, LibraryDoor());

    for (float z : {460.0f, 640.0f, 820.0f}) AddObject(room, kModelBookshelf, V3(-740, 0, z), V3(0, 1, 0), kHalfPi);
    for (float x : {-620.0f, -440.0f, -260.0f}) AddObject(room, kModelBookshelf, V3(x, 0, 880), V3(0, 1, 0), kPi);
    AddObject(room, kModelRug, V3(-440, 0, 640), V3(0, 1, 0), kHalfPi);
    AddObject(room, kModelTable, V3(-440, 0, 540), V3(0, 1, 0), 0.05f);
    AddObject(room, kModelTable, V3(-440, 0, 740), V3(0, 1, 0), -0.08f);
    AddObject(room, kModelBook, V3(-420, 50, 545), V3(0, 1, 0), 0.4f);
    AddObject(room, kModelBook, V3(-422, 55, 548), V3(0, 1, 0), -0.2f);
    AddObject(room, kModelBook, V3(-470, 52, 740), V3(1, 0, 0.5f), 0.35f);  // propped up on its neighbour
    AddObject(room, kModelBook, V3(-480, 50, 745), V3(0, 1, 0), 1.2f);
    AddObject(room, kModelChandelier, V3(-440, 280, 640));
    // Well clear of the south wall: a gap narrower than the player's sphere would let the
    // crate's push and the wall's push squeeze the player through the wall.
    AddObject(room, kModelCrate, V3(-180, 0, 500), V3(0, 1, 0), 0.2f);
    AddObject(room, kModelCrate, V3(-180, 60, 500), V3(0, 1, 0), -0.35f);

    room.lights.push_back(MakeRoomLight(V3(-440, 230, 640), V3(0.4f, 0.3f, 0.18f), 480));
    room.lights.push_back(MakeRoomLight(V3(-440, 90, 640), V3(0.08f, 0.32f, 0.1f), 190));
    room.lights.push_back(MakeRoomLight(V3(-700, 150, 860), V3(0.26f, 0.1f, 0.36f), 250));
    FinishRoom(room);
    return room;
}

Room BuildStairHall() {
    Room room;
    room.name = "Stair Hall";
    SurfaceBuilder floor("stair hall floor", kTexStoneTiles), walls("stair hall walls", kTexBricks);
    SurfaceBuilder ceiling("stair hall ceiling", kTexCeiling), ramp("ramp", kTexPlanks);
    SurfaceBuilder rampSide("ramp side", kTexBricks);
    Floor(floor, 120, 380, 760, 780, 0, kTileMap);
    Ceiling(ceiling, 120, 380, 760, 780, 400, kCeilingMap);
    Wall(walls, V3(120, 0, 380), V3(760, 0, 380), 0, 400, V3(0, 0, 1), {}, kBrickMap);
    Wall(walls, V3(760, 0, 380), V3(760, 0, 780), 0, 400, V3(-1, 0, 0), {}, kBrickMap);
    Wall(walls, V3(120, 0, 380), V3(120, 0, 780), 0, 400, V3(1, 0, 0), {{200, 320, kDoorHeight}}, kBrickMap);
    // The gallery's front below its floor; above it the hall opens onto the gallery.
    Wall(walls, V3(120, 0, 780), V3(kRampX1, 0, 780), 0, kGalleryFloor, V3(0, 0, -1), {}, kBrickMap);
    RampFace(ramp);
    RampSide(rampSide);
    Take(room, floor);
    Take(room, walls);
    Take(room, ceiling);
    Take(room, ramp);
    Take(room, rampSide);
    AppendSurfaces(room, StairHallDoor());
    AppendSurfaces(room, RampTop());

    AddObject(room, kModelChandelier, V3(380, 400, 580));
    AddObject(room, kModelPedestal, V3(300, 0, 460));
    AddObject(room, kModelBench, V3(480, 0, 420));
    AddObject(room, kModelCrate, V3(170, 0, 735));
    AddObject(room, kModelCrate, V3(715, 0, 430), V3(0, 1, 0), 0.5f);

    room.lights.push_back(MakeRoomLight(V3(400, 330, 580), V3(0.34f, 0.34f, 0.4f), 480));
    room.lights.push_back(MakeRoomLight(V3(300, 80, 640), V3(0.45f, 0.22f, 0.05f), 230));
    FinishRoom(room);
    return room;
}

Room BuildGallery() {
    Room room;
    room.name = "Upper Gallery";
    const float y0 = kGalleryFloor;
    SurfaceBuilder floor("gallery floor", kTexPlanks), walls("gallery walls", kTexPlaster);
    SurfaceBuilder ceiling("gallery ceiling", kTexCeiling), railing("railing", kTexFence);
    SurfaceBuilder paintings("paintings", kTexPainting), plants("!hanging plant", kTexFoliage);
    Floor(floor, 120, 780, 760, 1000, y0, kPlankMap);
    Ceiling(ceiling, 120, 780, 760, 1000, 400, kCeilingMap);
    Wall(walls, V3(120, 0, 1000), V3(760, 0, 1000), y0, 400, V3(0, 0, -1), {}, kPlasterMap);
    Wall(walls, V3(760, 0, 780), V3(760, 0, 1000), y0, 400, V3(-1, 0, 0), {}, kPlasterMap);
    Wall(walls, V3(120, 0, 780), V3(120, 0, 1000), y0, 400, V3(1, 0, 0), {}, kPlasterMap);
    // An iron railing along the gallery's edge, seen from both sides; the ramp comes up beside it.
    const TexMapping rail{100, 65, 0.0f, y0 / 65.0f + 1.0f};
    railing.Grid(V3(120, y0 + 65, 780), V3(kRampX0 - 120, 0, 0), V3(0, -65, 0), 13, 1, rail);
    railing.Grid(V3(kRampX0, y0 + 65, 780), V3(120 - kRampX0, 0, 0), V3(0, -65, 0), 13, 1, rail);
    for (float x : {200.0f, 380.0f, 560.0f})
        paintings.Quad(V3(x, 340, 998), V3(110, 0, 0), V3(0, -100, 0), TexRect{0, 0, 1, 1});
    for (float x : {160.0f, 720.0f}) CrossedCards(plants, V3(x, 0, 965), 60, 300, 400);
    Take(room, floor);
    Take(room, walls);
    Take(room, ceiling);
    Take(room, railing);
    Take(room, paintings);
    Take(room, plants);
    AppendSurfaces(room, RampTop());

    AddObject(room, kModelBench, V3(300, y0, 850));
    AddObject(room, kModelBench, V3(540, y0, 850));
    AddObject(room, kModelRug, V3(420, y0, 920), V3(0, 1, 0), 0.0f);
    AddObject(room, kModelPedestal, V3(700, y0, 950), V3(0, 1, 0), 0.6f);

    room.lights.push_back(MakeRoomLight(V3(440, 350, 890), V3(0.4f, 0.3f, 0.28f), 380));
    room.lights.push_back(MakeRoomLight(V3(200, 260, 960), V3(0.08f, 0.3f, 0.36f), 220));
    room.lights.push_back(MakeRoomLight(V3(690, 260, 960), V3(0.36f, 0.1f, 0.3f), 220));
    FinishRoom(room);
    return room;
}

}  // namespace brontal::sample
