#pragma once
// The sky a manifest names ("sky": "folder"): six images, one per face of the game's sky box,
// found in the folder by the face's name in any letter case (left, right, front, back, top or up,
// bottom or down) with the extension .bmp, .png, .jpg or .jpeg in any letter case. Each is read
// and decoded; a BMP is kept as it is, a PNG or JPEG becomes a 24-bit BMP, because the game reads
// its sky from SKY/Left.bmp, SKY/Right.bmp, SKY/Top.bmp, SKY/Bottom.bmp, SKY/Front.bmp and
// SKY/Back.bmp in its data directory.
#include <cstdint>
#include <string>
#include <vector>

#include "convert/manifest.h"

namespace brontal {

struct SkyImage {
    std::string dataPath;  // where the game reads it, relative to the data directory ("SKY/Left.bmp")
    std::string source;    // the image found in the folder
    std::vector<std::uint8_t> bmp;
    bool copied = false;  // the source is a BMP, kept byte for byte
};

// The six images in the game's loading order. A folder that cannot be read, a face with no image
// or with two, and an image that cannot be read or decoded are refused: "FILE: where: problem".
bool GatherSkyImages(const Manifest& manifest, std::vector<SkyImage>& out, std::string& error);

}  // namespace brontal
