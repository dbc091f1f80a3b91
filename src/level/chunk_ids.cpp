#include "level/chunk_ids.h"

namespace brontal {

const char* ChunkName(std::uint16_t id) {
    switch (id) {
        case kChunkLevelHeader: return "level header";
        case kChunkRoom: return "room";
        case kChunkRoomSurface: return "room surface";
        case kChunkModel: return "model";
        case kChunkRoomObject: return "room object";
        case kChunkModelSurface: return "model surface";
        case kChunkRoomLight: return "room light";
        case kChunkAnimatedModel: return "animated model";
        case kChunkKeyTrack: return "key track";
        case kChunkAnimatedPart: return "animated part";
        case kChunkTextureBlock: return "texture block";
        default: return "unknown";
    }
}

}  // namespace brontal
