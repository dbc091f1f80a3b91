// The texture step on a device: decoded images become textures, others the placeholder.
#include <gtest/gtest.h>

#include <memory>

#include "device/device.h"
#include "level/level_bytes.h"
#include "platform/image.h"
#include "support/present_parameters.h"

namespace brontal {
namespace {

using namespace test;

std::unique_ptr<Device> NullDevice() {
    return std::make_unique<Device>(std::make_unique<NullBackend>(), test::TestParameters(64, 64), kDefaultCaps);
}

std::vector<std::uint8_t> Bmp(std::uint32_t width, std::uint32_t height) {
    Image image;
    image.width = width;
    image.height = height;
    image.rgba.assign(std::size_t{width} * height * 4, 200);
    return EncodeBmp(image);
}

TEST(LevelTextures, EachSlotGetsItsImageOrThePlaceholder) {
    ChunkWriter w;
    PutHeader(w, 0, 0, 0, 3);
    w.U16(0x22);
    for (const std::vector<std::uint8_t>& image :
         {Bmp(8, 4), std::vector<std::uint8_t>{'n', 'o', 'p', 'e'}, Bmp(2, 16)}) {
        w.U32(static_cast<std::uint32_t>(image.size()));
        w.Bytes(image.data(), image.size());
    }
    const std::unique_ptr<Device> device = NullDevice();
    Level level;
    std::string error;
    ASSERT_TRUE(ReadLevel(w.bytes.data(), w.bytes.size(), "tex.vrm", device.get(), level, error)) << error;
    ASSERT_EQ(level.TextureTable.size(), 3u);
    EXPECT_EQ(level.device, device.get());
    ASSERT_NE(level.TextureTable[0], nullptr);
    EXPECT_EQ(level.TextureTable[0]->Width(), 8u);
    EXPECT_EQ(level.TextureTable[0]->Height(), 4u);
    ASSERT_NE(level.TextureTable[1], nullptr);  // the placeholder: drawing with the slot works
    EXPECT_NE(level.TextureTable[1], level.TextureTable[0]);
    EXPECT_NE(level.TextureTable[1], level.TextureTable[2]);
    EXPECT_EQ(level.TextureTable[2]->Height(), 16u);
}

TEST(LevelTextures, SlotsWithoutATextureBlockGetThePlaceholder) {
    ChunkWriter w;
    PutHeader(w, 0, 0, 0, 2);
    const std::unique_ptr<Device> device = NullDevice();
    Level level;
    std::string error;
    ASSERT_TRUE(ReadLevel(w.bytes.data(), w.bytes.size(), "tex.vrm", device.get(), level, error)) << error;
    ASSERT_EQ(level.TextureTable.size(), 2u);
    EXPECT_NE(level.TextureTable[0], nullptr);
    EXPECT_EQ(level.TextureTable[1], level.TextureTable[0]);
}

TEST(LevelTextures, NoTexturesAreMadeForARefusedFile) {
    ChunkWriter w;
    PutHeader(w, 0, 0, 0, 1);
    w.U16(0x22);
    const std::vector<std::uint8_t> image = Bmp(4, 4);
    w.U32(static_cast<std::uint32_t>(image.size()));
    w.Bytes(image.data(), image.size());
    PutRoom(w, 0, 0, 0);  // beyond the header's room count of 0
    const std::unique_ptr<Device> device = NullDevice();
    MemoryRecorder recorder;
    device->SetRecorder(&recorder);
    Level level;
    std::string error;
    EXPECT_FALSE(ReadLevel(w.bytes.data(), w.bytes.size(), "tex.vrm", device.get(), level, error));
    EXPECT_TRUE(recorder.calls.empty());
}

}  // namespace
}  // namespace brontal
