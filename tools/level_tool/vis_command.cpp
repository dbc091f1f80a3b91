// vis: every room's visible list against what the visibility computation finds; with -o, the
// level again with the computed lists. check reports the rooms lists miss as warnings.
#include <cstdio>
#include <string>

#include "level/chunk_ids.h"
#include "level_commands.h"
#include "platform/image.h"
#include "visibility/room_sight.h"

namespace brontal {
namespace {

// The room chunk up to its visible-room count: name length, name, then three 16-bit counts.
constexpr std::size_t kRoomCountsBytes = 6;

std::string RoomLabel(const Level& level, std::uint16_t room) {
    return "room " + std::to_string(room) + " \"" + level.rooms[room].name + "\"";
}

std::string RoomNames(const Level& level, const std::vector<std::uint16_t>& rooms) {
    std::string text;
    for (std::uint16_t r : rooms) text += (text.empty() ? "" : ", ") + RoomLabel(level, r);
    return text;
}

// Room chunks with the computed lists; every other byte as it was.
std::vector<std::uint8_t> WithComputedLists(std::span<const std::uint8_t> bytes, const LevelReadDetails& details,
                                            const std::vector<RoomSight>& sights) {
    std::vector<std::uint8_t> out;
    out.reserve(bytes.size());
    std::size_t copied = 0, room = 0;
    for (const ChunkRecord& chunk : details.chunks) {
        if (chunk.id != kChunkRoom || room >= sights.size()) continue;
        const std::size_t nameStart = chunk.offset + 2;
        const std::size_t countAt = nameStart + 1 + bytes[nameStart] + kRoomCountsBytes;
        const std::size_t oldCount = bytes[countAt] | (bytes[countAt + 1] << 8);
        const std::uint8_t sky = bytes[countAt + 2];
        out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(copied),
                   bytes.begin() + static_cast<std::ptrdiff_t>(countAt));
        const std::vector<std::uint16_t>& list = sights[room].visible;
        out.push_back(static_cast<std::uint8_t>(list.size() & 0xFF));
        out.push_back(static_cast<std::uint8_t>(list.size() >> 8));
        out.push_back(sky);
        for (std::uint16_t r : list) {
            out.push_back(static_cast<std::uint8_t>(r & 0xFF));
            out.push_back(static_cast<std::uint8_t>(r >> 8));
        }
        copied = countAt + 3 + 2 * oldCount;
        ++room;
    }
    out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(copied), bytes.end());
    return out;
}

}  // namespace

std::vector<RoomSight> LevelSight(std::span<const std::uint8_t> bytes, const Level& level,
                                  const LevelReadDetails& details) {
    std::vector<bool> cutOut;
    for (const ImageSpan& span : details.textureImages) {
        Image image;
        std::string error;
        // An image that will not decode is drawn as the opaque placeholder.
        cutOut.push_back(DecodeImage(bytes.data() + span.offset, span.size, image, error) &&
                         HasCutOutTexels(image.rgba));
    }
    return ComputeRoomSight(level, cutOut);
}

void WarnMissingRooms(const std::string& path, const Level& level, const std::vector<RoomSight>& sights) {
    for (std::uint16_t r = 0; r < sights.size(); ++r) {
        const ListFindings findings = CompareVisibleList(r, level.rooms[r].visibleRooms, sights[r]);
        for (std::uint16_t missing : findings.missing) {
            std::fprintf(stderr, "warning: %s: %s can see %s, which its visible list leaves out\n", path.c_str(),
                         RoomLabel(level, r).c_str(), RoomLabel(level, missing).c_str());
        }
    }
}

int VisCommand(int argc, char** argv) {
    std::string path, output;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "-o" && i + 1 < argc) {
            output = argv[++i];
        } else if (path.empty() && !argument.empty() && argument[0] != '-') {
            path = argument;
        } else {
            path.clear();
            break;
        }
    }
    if (path.empty()) {
        std::fprintf(stderr, "usage: brontal-level vis FILE [-o OUT]\n");
        return 2;
    }
    MappedFile bytes;
    Level level;
    LevelReadDetails details;
    if (!ReadLevelForTool(path, bytes, level, details)) return 1;
    const std::vector<RoomSight> sights = LevelSight({bytes.data(), bytes.size()}, level, details);
    for (std::uint16_t r = 0; r < sights.size(); ++r) {
        const Room& room = level.rooms[r];
        const ListFindings findings = CompareVisibleList(r, room.visibleRooms, sights[r]);
        std::string computed;
        for (std::uint16_t v : sights[r].visible) computed += (computed.empty() ? "" : " ") + std::to_string(v);
        std::printf("%s: computed [%s]\n", RoomLabel(level, r).c_str(), computed.c_str());
        if (findings.missesItself) std::printf("  the list leaves out the room itself\n");
        if (!findings.missing.empty()) std::printf("  misses %s\n", RoomNames(level, findings.missing).c_str());
        if (!findings.unseen.empty()) {
            std::printf("  holds %s, which cannot be seen\n", RoomNames(level, findings.unseen).c_str());
        }
        if (sights[r].seesSky && !room.showsSky) {
            std::printf("  open sky can be seen, but the room does not show the sky\n");
        }
    }
    if (!output.empty()) {
        std::string error;
        if (!WriteWholeFile(output, WithComputedLists({bytes.data(), bytes.size()}, details, sights), error)) {
            std::fprintf(stderr, "brontal-level vis: %s: %s\n", output.c_str(), error.c_str());
            return 1;
        }
        std::printf("wrote %s\n", output.c_str());
    }
    return 0;
}

}  // namespace brontal
