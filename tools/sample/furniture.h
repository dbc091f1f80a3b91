#pragma once
// The sample level's models: furniture and fittings placed by room objects. Model space has its
// origin at the middle of the model's foot (or, for hanging things, of its top), faces look
// outwards. A solid model stops the player at its whole bounding box, so solid models are kept
// compact (a tree's trunk is solid, its crown a separate model that is not).
#include <cstdint>
#include <vector>

#include "level/world.h"

namespace brontal::sample {

enum ModelSlot : std::uint16_t {
    kModelPillar,      // solid, 320 tall
    kModelTable,       // solid
    kModelCrate,       // solid, 60 cube
    kModelBookshelf,   // solid, front towards +z
    kModelRug,         // walked over
    kModelChandelier,  // hanging, origin at its top
    kModelFountain,    // solid
    kModelBench,       // solid
    kModelHedge,       // solid
    kModelTreeTrunk,   // solid
    kModelTreeCrown,   // walked through, origin at the trunk's foot
    kModelBook,        // on tables
    kModelPedestal,    // solid, with an urn
    kModelCount
};

std::vector<Model> BuildModels();

}  // namespace brontal::sample
