#pragma once
// The level's texture table as the converter fills it. A slot is made the first time a face
// that is kept in the level uses a material, so images of unused materials are never read. Each
// slot holds a complete image file, embedded unchanged; it must be BMP, PNG or JPEG, which the
// game decodes, and it is decoded once here to prove it. A material without a texture gets a
// small BMP of its diffuse colour; faces without a material a white one. Materials that share
// one image file share one slot.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "convert/source_scene.h"

namespace brontal {

inline constexpr std::uint32_t kSolidColourTextureSize = 4;  // texels along each side

class TextureTable {
public:
    // scenePath names the level's geometry in messages about faces without a material.
    explicit TextureTable(std::string scenePath) : scenePath_(std::move(scenePath)) {}

    // The slot for faces of this material (nullptr for none). On failure says why: the file that
    // names the image, the material and the problem.
    bool SlotFor(const SourceMaterial* material, std::uint16_t& slot, std::string& error);
    // A slot for an image that comes from elsewhere (the figure's textures); what names it.
    bool Add(std::vector<std::uint8_t> image, const std::string& what, std::uint16_t& slot, std::string& error);

    std::size_t size() const { return images_.size(); }
    std::vector<std::vector<std::uint8_t>> TakeImages() { return std::move(images_); }

private:
    bool NewSlot(const std::string& key, std::vector<std::uint8_t> image, std::uint16_t& slot, std::string& error,
                 const std::string& what);

    std::string scenePath_;
    std::map<const SourceMaterial*, std::uint16_t> materialSlots_;
    std::map<std::string, std::uint16_t> keySlots_;
    std::vector<std::vector<std::uint8_t>> images_;
};

// A small 24-bit BMP filled with one colour (components 0 to 1).
std::vector<std::uint8_t> SolidColourImage(const std::array<float, 3>& colour);

}  // namespace brontal
