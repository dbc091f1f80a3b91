#pragma once
// The subcommands of brontal-level. Each takes the arguments after its own name and returns the
// process exit code: 0 good, 1 a refused file, 2 a usage error.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "files/mapped_file.h"
#include "level/reader.h"
#include "visibility/room_sight.h"

namespace brontal {

int InfoCommand(int argc, char** argv);
int CheckCommand(int argc, char** argv);
int ChunksCommand(int argc, char** argv);
int VisCommand(int argc, char** argv);

// Reads the file named by FILE and walks it without a device. On refusal prints the reader's
// message on stderr and returns false.
bool ReadLevelForTool(const std::string& path, MappedFile& bytes, Level& level, LevelReadDetails& details,
                      SurfaceLists lists = SurfaceLists::kKept);

// What can be seen from each room of a level the reader took (textures with cut-out texels
// decoded from the file's images).
std::vector<RoomSight> LevelSight(std::span<const std::uint8_t> bytes, const Level& level,
                                  const LevelReadDetails& details);

// One warning on stderr for each room a room can see and its visible list leaves out.
void WarnMissingRooms(const std::string& path, const Level& level, const std::vector<RoomSight>& sights);

// "BMP", "PNG", "JPEG" or "unknown", from the image file's first bytes.
const char* ImageFormatName(const std::uint8_t* data, std::size_t size);

}  // namespace brontal
