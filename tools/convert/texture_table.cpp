// Texture slots: image files read when first needed, checked by decoding, embedded unchanged.
#include "convert/texture_table.h"

#include <cmath>

#include "files/file_io.h"
#include "level/chunk_ids.h"
#include "level/reader.h"
#include "platform/image.h"

namespace brontal {
namespace {

constexpr std::size_t kMaxTextureSlots = kMaxRecordCount;

std::uint8_t Byte(float component) { return static_cast<std::uint8_t>(std::lround(component * 255.0f)); }

}  // namespace

std::vector<std::uint8_t> SolidColourImage(const std::array<float, 3>& colour) {
    Image image;
    image.width = kSolidColourTextureSize;
    image.height = kSolidColourTextureSize;
    image.rgba.reserve(image.width * image.height * 4);
    for (std::uint32_t texel = 0; texel < image.width * image.height; ++texel) {
        image.rgba.insert(image.rgba.end(), {Byte(colour[0]), Byte(colour[1]), Byte(colour[2]), 255});
    }
    return EncodeBmp(image, 24);
}

bool TextureTable::NewSlot(const std::string& key, std::vector<std::uint8_t> image, std::uint16_t& slot,
                           std::string& error, const std::string& what) {
    const auto known = keySlots_.find(key);
    if (known != keySlots_.end()) {
        slot = known->second;
        return true;
    }
    if (images_.size() >= kMaxTextureSlots) {
        error = what + ": the level already holds 65535 textures, the most it can";
        return false;
    }
    if (image.size() > 0xFFFFFFFFu) {
        error = what + ": is larger than the 4 GiB an embedded image can be";
        return false;
    }
    Image decoded;
    std::string decodeError;
    if (!DecodeImage(image.data(), image.size(), decoded, decodeError)) {
        error = what + ": is not an image the game decodes (BMP, PNG or JPEG): " + decodeError;
        return false;
    }
    slot = static_cast<std::uint16_t>(images_.size());
    keySlots_.emplace(key, slot);
    images_.push_back(std::move(image));
    return true;
}

bool TextureTable::SlotFor(const SourceMaterial* material, std::uint16_t& slot, std::string& error) {
    const auto known = materialSlots_.find(material);
    if (known != materialSlots_.end()) {
        slot = known->second;
        return true;
    }
    bool made = false;
    if (material == nullptr) {
        made = NewSlot("colour:white", SolidColourImage({1.0f, 1.0f, 1.0f}), slot, error, scenePath_ + ": white");
    } else {
        const SourceMaterial& source = *material;
        const std::string what = source.definedIn + ": material \"" + source.name + "\": texture \"" +
                                 source.imageName + "\"";
        if (!source.textured) {
            const std::array<float, 3>& c = source.colour;
            const std::string key = "colour:" + std::to_string(Byte(c[0])) + "," + std::to_string(Byte(c[1])) + "," +
                                    std::to_string(Byte(c[2]));
            made = NewSlot(key, SolidColourImage(c), slot, error, source.definedIn + ": material \"" + source.name + "\"");
        } else if (!source.imagePath.empty()) {
            std::vector<std::uint8_t> bytes;
            std::string readError;
            if (!ReadRegularFile(source.imagePath, kMaxImageFileSize, bytes, readError)) {
                error = what + ": the texture file cannot be read (" + readError + ")";
                return false;
            }
            made = NewSlot("file:" + source.imagePath, std::move(bytes), slot, error, what);
        } else {
            made = NewSlot("embedded:" + source.definedIn + ":" + source.imageName, source.imageData, slot, error, what);
        }
    }
    if (made) materialSlots_.emplace(material, slot);
    return made;
}

bool TextureTable::Add(std::vector<std::uint8_t> image, const std::string& what, std::uint16_t& slot,
                       std::string& error) {
    return NewSlot("extra:" + std::to_string(images_.size()) + ":" + what, std::move(image), slot, error, what);
}

}  // namespace brontal
