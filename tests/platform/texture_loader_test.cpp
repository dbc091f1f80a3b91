// The texture loaders on a device over the null backend: the mip chain's sizes and contents,
// the alpha rule, and the single warning on failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "device/device.h"
#include "platform/image.h"
#include "platform/texture_loader.h"
#include "support/present_parameters.h"

namespace brontal {
namespace {

std::unique_ptr<Device> NullDevice() {
    return std::make_unique<Device>(std::make_unique<NullBackend>(), test::TestParameters(64, 64), kDefaultCaps);
}

// Texel (x, y) of a level as B, G, R, A.
const std::uint8_t* Texel(const Texture& texture, std::uint32_t level, std::uint32_t x, std::uint32_t y) {
    return texture.Data(level) + std::size_t{y} * texture.Pitch(level) + std::size_t{x} * 4;
}

Image Gradient(std::uint32_t width, std::uint32_t height) {
    Image image;
    image.width = width;
    image.height = height;
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x)
            image.rgba.insert(image.rgba.end(), {static_cast<std::uint8_t>(x * 10), static_cast<std::uint8_t>(y * 10),
                                                 static_cast<std::uint8_t>(x + y), 255});
    return image;
}

TEST(TextureLoader, FillsAFullBoxFilteredMipChainForANonPowerOfTwoImage) {
    const auto device = NullDevice();
    const std::vector<std::uint8_t> bmp = EncodeBmp(Gradient(6, 3), 24);
    Texture* texture = nullptr;
    ASSERT_EQ(CreateTextureFromImageInMemory(device.get(), bmp.data(), bmp.size(), &texture), D3D_OK);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->Format(), D3DFMT_A8R8G8B8);
    EXPECT_EQ(texture->Pool(), D3DPOOL_MANAGED);
    ASSERT_EQ(texture->LevelCount(), 3u);  // 6x3, 3x1, 1x1
    EXPECT_EQ(texture->Width(1), 3u);
    EXPECT_EQ(texture->Height(1), 1u);
    EXPECT_EQ(texture->Width(2), 1u);
    EXPECT_EQ(texture->Height(2), 1u);

    // Level 0 holds the image as B, G, R, A; 24-bit images are opaque.
    const std::uint8_t* t = Texel(*texture, 0, 4, 2);
    EXPECT_EQ(t[0], 6);
    EXPECT_EQ(t[1], 20);
    EXPECT_EQ(t[2], 40);
    EXPECT_EQ(t[3], 255);
    // Level 1 texel (1, 0) is the mean of (2..3, 0..1): red (20+30+20+30)/4, green 5 rounded, blue 3.
    t = Texel(*texture, 1, 1, 0);
    EXPECT_EQ(t[2], 25);
    EXPECT_EQ(t[1], 5);
    EXPECT_EQ(t[0], 3);
    // Level 2 from level 1's texels (0, 0) and (1, 0): red (5 + 25 + 1) / 2 twice over.
    const std::uint8_t* a = Texel(*texture, 1, 0, 0);
    const std::uint8_t* b = Texel(*texture, 1, 1, 0);
    EXPECT_EQ(Texel(*texture, 2, 0, 0)[2], (2 * a[2] + 2 * b[2] + 2) / 4);
}

TEST(TextureLoader, KeepsTheAlphaOfImagesThatHaveIt) {
    const auto device = NullDevice();
    Image image = Gradient(2, 2);
    image.hasAlpha = true;
    image.rgba[3] = 0;
    image.rgba[7] = 100;
    const std::vector<std::uint8_t> png = EncodePng(image);
    Texture* texture = nullptr;
    ASSERT_EQ(CreateTextureFromImageInMemory(device.get(), png.data(), png.size(), &texture), D3D_OK);
    EXPECT_EQ(Texel(*texture, 0, 0, 0)[3], 0);
    EXPECT_EQ(Texel(*texture, 0, 1, 0)[3], 100);
    EXPECT_EQ(Texel(*texture, 0, 0, 1)[3], 255);
    EXPECT_EQ(Texel(*texture, 1, 0, 0)[3], (0 + 100 + 255 + 255 + 2) / 4);
}

TEST(TextureLoader, FailureGivesANullTextureAndOneWarningNamingTheSource) {
    const auto device = NullDevice();
    const std::uint8_t junk[] = {'B', 'M', 1, 2, 3};
    Texture* texture = CreatePlaceholderTexture(device.get());  // must be overwritten with null
    testing::internal::CaptureStderr();
    EXPECT_NE(CreateTextureFromImageInMemory(device.get(), junk, sizeof junk, &texture, "LEVEL texture 3"), D3D_OK);
    std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(warning.rfind("warning: LEVEL texture 3: BMP: offset", 0), 0u) << warning;
    EXPECT_EQ(std::count(warning.begin(), warning.end(), '\n'), 1);

    texture = CreatePlaceholderTexture(device.get());
    testing::internal::CaptureStderr();
    EXPECT_NE(CreateTextureFromFile(device.get(), "NO_SUCH_DIR\\Top.bmp", &texture), D3D_OK);
    warning = testing::internal::GetCapturedStderr();
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(warning, "warning: NO_SUCH_DIR/Top.bmp: cannot open: No such file or directory\n");
}

TEST(TextureLoader, LoadsAFileNamedWithBackslashes) {
    const auto device = NullDevice();
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("brontal_images_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "SKY");
    std::string error;
    ASSERT_TRUE(WriteWholeFile((dir / "SKY" / "Top.bmp").string(), EncodeBmp(Gradient(4, 4)), error)) << error;
    Texture* texture = nullptr;
    EXPECT_EQ(CreateTextureFromFile(device.get(), dir.string() + "/SKY\\Top.bmp", &texture), D3D_OK);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->LevelCount(), 3u);
    EXPECT_EQ(Texel(*texture, 0, 3, 0)[2], 30);
    std::filesystem::remove_all(dir);
}

TEST(TextureLoader, PlaceholderIsAnOpaqueCheckWithMips) {
    const auto device = NullDevice();
    Texture* texture = CreatePlaceholderTexture(device.get());
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->Width(0), 8u);
    EXPECT_EQ(texture->LevelCount(), 4u);
    const std::uint8_t* grey = Texel(*texture, 0, 0, 0);
    const std::uint8_t* magenta = Texel(*texture, 0, 2, 0);
    EXPECT_NE(grey[1], magenta[1]);
    for (std::uint32_t y = 0; y < 8; ++y)
        for (std::uint32_t x = 0; x < 8; ++x) EXPECT_EQ(Texel(*texture, 0, x, y)[3], 255);
}

}  // namespace
}  // namespace brontal
