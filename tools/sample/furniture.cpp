#include "sample/furniture.h"

#include <cmath>
#include <utility>

#include "sample/mesh_builder.h"
#include "sample/textures.h"

namespace brontal::sample {

namespace {

constexpr TexRect kWhole{0.0f, 0.0f, 1.0f, 1.0f};

Model MakeModel(bool solid, std::vector<SurfaceBuilder*> builders) {
    Model model;
    model.solid = solid;
    for (SurfaceBuilder* b : builders)
        for (Surface& s : b->Take()) model.surfaces.push_back(std::move(s));
    model.surfaceCount = static_cast<std::uint16_t>(model.surfaces.size());
    return model;
}

Model Pillar() {
    SurfaceBuilder shaft("pillar shaft", kTexMarble), ends("pillar ends", kTexMarble);
    shaft.Prism(V3(0, 24, 0), 272, 20, 17, 12, TexRect{0, 0, 2, 3}, false);
    const TexMapping map{60, 60};
    ends.Box(V3(-28, 0, -28), V3(28, 24, 28), map);
    ends.Box(V3(-26, 296, -26), V3(26, 320, 26), map);
    return MakeModel(true, {&shaft, &ends});
}

Model Table() {
    SurfaceBuilder wood("table", kTexPlanks);
    const TexMapping map{80, 80};
    wood.Box(V3(-60, 44, -35), V3(60, 50, 35), map);
    for (float x : {-54.0f, 50.0f})
        for (float z : {-29.0f, 25.0f}) wood.Box(V3(x, 0, z), V3(x + 4, 44, z + 4), map);
    return MakeModel(true, {&wood});
}

Model Crate() {
    SurfaceBuilder wood("crate", kTexCrate);
    wood.Box(V3(-30, 0, -30), V3(30, 60, 30), TexMapping{60, 60, 0.5f, 0.0f});
    return MakeModel(true, {&wood});
}

Model Bookshelf() {
    SurfaceBuilder books("books", kTexBooks), wood("shelf", kTexPlanks);
    const TexMapping woodMap{80, 80};
    // The case, open at the front, with the books set back in it.
    wood.Box(V3(-80, 0, -20), V3(80, 220, 20), woodMap, kFaceMinX | kFaceMaxX | kFaceMinZ | kFaceMaxY);
    wood.Box(V3(-80, 0, 20), V3(-74, 220, 22), woodMap);
    wood.Box(V3(74, 0, 20), V3(80, 220, 22), woodMap);
    wood.Box(V3(-74, 212, 20), V3(74, 220, 22), woodMap);
    books.Quad(V3(74, 212, 20), V3(-148, 0, 0), V3(0, -212, 0), TexRect{0, 0, 1.5f, 2.0f});
    return MakeModel(true, {&books, &wood});
}

Model Rug() {
    SurfaceBuilder cloth("rug", kTexRug);
    cloth.Grid(V3(-120, 1, 80), V3(240, 0, 0), V3(0, 0, -160), 6, 4, TexMapping{240, 160, 0.5f, 0.5f});
    return MakeModel(false, {&cloth});
}

Model Chandelier() {
    SurfaceBuilder brass("chandelier", kTexBrass), wax("candles", kTexPlaster);
    brass.Prism(V3(0, -60, 0), 60, 1.5f, 1.5f, 4, kWhole, false);
    brass.Prism(V3(0, -70, 0), 10, 8, 4, 8, kWhole, true);
    brass.Prism(V3(0, -84, 0), 8, 55, 58, 16, TexRect{0, 0, 4, 1}, true);
    for (int i = 0; i < 8; ++i) {
        const float a = static_cast<float>(i) * kPi / 4.0f;
        wax.Prism(V3(56 * std::sin(a), -76, 56 * std::cos(a)), 14, 2.5f, 2.5f, 6, kWhole, true);
    }
    return MakeModel(false, {&brass, &wax});
}

Model Fountain() {
    SurfaceBuilder stone("fountain", kTexMarble), water("water", kTexWater);
    stone.Prism(V3(0, 0, 0), 40, 95, 90, 20, TexRect{0, 0, 6, 0.5f}, false);
    stone.Prism(V3(0, 0, 0), 120, 14, 10, 10, TexRect{0, 0, 1, 2}, false);
    stone.Prism(V3(0, 120, 0), 12, 20, 34, 12, TexRect{0, 0, 2, 0.3f}, true);
    water.Prism(V3(0, 0, 0), 34, 85, 85, 20, TexRect{0, 0, 3, 3}, true);
    return MakeModel(true, {&stone, &water});
}

Model Bench() {
    SurfaceBuilder wood("bench", kTexPlanks);
    const TexMapping map{80, 80};
    wood.Box(V3(-70, 36, -22), V3(70, 42, 22), map);
    wood.Box(V3(-70, 42, -24), V3(70, 80, -19), map);
    for (float x : {-62.0f, 56.0f}) wood.Box(V3(x, 0, -20), V3(x + 6, 36, 20), map);
    return MakeModel(true, {&wood});
}

Model Hedge() {
    SurfaceBuilder core("hedge core", kTexGrass), leaves("hedge leaves", kTexFoliage);
    core.Box(V3(-96, 0, -21), V3(96, 86, 21), TexMapping{100, 100});
    leaves.Box(V3(-100, 0, -25), V3(100, 90, 25), TexMapping{70, 70});
    return MakeModel(true, {&core, &leaves});
}

Model TreeTrunk() {
    SurfaceBuilder bark("trunk", kTexBark);
    bark.Prism(V3(0, 0, 0), 190, 16, 10, 8, TexRect{0, 0, 2, 3}, true);
    return MakeModel(true, {&bark});
}

Model TreeCrown() {
    // Crossed leaf cards, each seen from both sides, around the top of the trunk.
    SurfaceBuilder leaves("crown", kTexFoliage);
    for (int i = 0; i < 4; ++i) {
        const float a = static_cast<float>(i) * kPi / 4.0f;
        const Vector3 right = V3(220 * std::cos(a), 0, -220 * std::sin(a));
        const Vector3 origin = V3(-110 * std::cos(a), 330, 110 * std::sin(a));
        leaves.Quad(origin, right, V3(0, -190, 0), TexRect{0, 0, 2, 2});
        leaves.Quad(Add(origin, right), Scale(right, -1.0f), V3(0, -190, 0), TexRect{0, 0, 2, 2});
    }
    for (float y : {190.0f, 260.0f}) {
        leaves.Quad(V3(-100, y, 100), V3(200, 0, 0), V3(0, 0, -200), TexRect{0, 0, 2, 2});
        leaves.Quad(V3(100, y, 100), V3(-200, 0, 0), V3(0, 0, -200), TexRect{0, 0, 2, 2});
    }
    return MakeModel(false, {&leaves});
}

Model Book() {
    SurfaceBuilder cover("book", kTexRug);
    cover.Box(V3(-10, 0, -14), V3(10, 5, 14), TexMapping{40, 40});
    return MakeModel(false, {&cover});
}

Model Pedestal() {
    SurfaceBuilder stone("pedestal", kTexMarble), urn("urn", kTexBrass);
    stone.Box(V3(-25, 0, -25), V3(25, 90, 25), TexMapping{60, 60});
    urn.Prism(V3(0, 90, 0), 20, 8, 16, 10, kWhole, false);
    urn.Prism(V3(0, 110, 0), 18, 16, 9, 10, kWhole, true);
    return MakeModel(true, {&stone, &urn});
}

}  // namespace

std::vector<Model> BuildModels() {
    std::vector<Model> models(kModelCount);
    models[kModelPillar] = Pillar();
    models[kModelTable] = Table();
    models[kModelCrate] = Crate();
    models[kModelBookshelf] = Bookshelf();
    models[kModelRug] = Rug();
    models[kModelChandelier] = Chandelier();
    models[kModelFountain] = Fountain();
    models[kModelBench] = Bench();
    models[kModelHedge] = Hedge();
    models[kModelTreeTrunk] = TreeTrunk();
    models[kModelTreeCrown] = TreeCrown();
    models[kModelBook] = Book();
    models[kModelPedestal] = Pedestal();
    return models;
}

}  // namespace brontal::sample
