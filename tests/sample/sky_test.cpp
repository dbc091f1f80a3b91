// The sample sky: six BMP faces that the sky box shows joined at their edges.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "platform/image.h"
#include "sample/sky.h"
#include "sample_fixture.h"

namespace brontal::test {
namespace {

using sample::SkyFace;

constexpr float kInset = 1.0f / 1024.0f;

TEST(SampleSky, FaceCornersAreTheSkyBoxCorners) {
    // Vertex 0 of a face (texture coordinates e, e) is its image's top left; vertex 3 (1 - e,
    // 1 - e) its bottom right. Half size 1.
    struct Case {
        SkyFace face;
        Vector3 topLeft, bottomRight;
    };
    const Case cases[] = {
        {SkyFace::Front, {-1, 1, 1}, {-1, -1, -1}}, {SkyFace::Back, {1, 1, -1}, {1, -1, 1}},
        {SkyFace::Top, {-1, 1, 1}, {1, 1, -1}},     {SkyFace::Right, {-1, 1, -1}, {1, -1, -1}},
        {SkyFace::Left, {1, 1, 1}, {-1, -1, 1}},
    };
    for (const Case& c : cases) {
        const Vector3 tl = sample::SkyFacePoint(c.face, kInset, kInset);
        const Vector3 br = sample::SkyFacePoint(c.face, 1.0f - kInset, 1.0f - kInset);
        EXPECT_NEAR(tl.x, c.topLeft.x, 1e-5f);
        EXPECT_NEAR(tl.y, c.topLeft.y, 1e-5f);
        EXPECT_NEAR(tl.z, c.topLeft.z, 1e-5f);
        EXPECT_NEAR(br.x, c.bottomRight.x, 1e-5f);
        EXPECT_NEAR(br.y, c.bottomRight.y, 1e-5f);
        EXPECT_NEAR(br.z, c.bottomRight.z, 1e-5f);
    }
}

TEST(SampleSky, FilesDecodeAndTheDrawnFacesJoinAtTheirEdges) {
    std::map<std::string, Image> images;
    for (const auto& [name, bytes] : Sample().files.skyFiles) {
        Image image;
        std::string error;
        ASSERT_TRUE(DecodeImage(bytes.data(), bytes.size(), image, error)) << name << ": " << error;
        EXPECT_EQ(image.width, sample::kSkyFaceSize);
        EXPECT_EQ(image.height, sample::kSkyFaceSize);
        images[name] = std::move(image);
    }
    ASSERT_EQ(images.size(), 6u);
    // Every border texel of a drawn face, with the direction it is seen in.
    struct Texel {
        Vector3 direction;
        const std::uint8_t* rgb;
        int face;
    };
    const SkyFace drawn[] = {SkyFace::Front, SkyFace::Back, SkyFace::Top, SkyFace::Right, SkyFace::Left};
    std::vector<Texel> border;
    const std::uint32_t n = sample::kSkyFaceSize;
    for (int f = 0; f < 5; ++f) {
        const Image& image = images.at(sample::SkyFaceFileName(drawn[f]));
        for (std::uint32_t y = 0; y < n; ++y)
            for (std::uint32_t x = 0; x < n; ++x) {
                if (x != 0 && y != 0 && x != n - 1 && y != n - 1) continue;
                const float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(n);
                const float v = (static_cast<float>(y) + 0.5f) / static_cast<float>(n);
                Vector3 d = sample::SkyFacePoint(drawn[f], u, v);
                const float l = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
                d = {d.x / l, d.y / l, d.z / l};
                border.push_back({d, &image.rgba[(std::size_t{y} * n + x) * 4], f});
            }
    }
    // Each border texel next to another drawn face has a texel there seen in nearly the same
    // direction, and nearly the same colour.
    int joined = 0;
    const float nearby = 3.0f * 2.0f / static_cast<float>(n);  // three texels, in radians
    for (const Texel& a : border) {
        const Texel* best = nullptr;
        float bestAngle = 10.0f;
        for (const Texel& b : border) {
            if (b.face == a.face) continue;
            const float dot = a.direction.x * b.direction.x + a.direction.y * b.direction.y + a.direction.z * b.direction.z;
            const float angle = std::acos(std::min(1.0f, dot));
            if (angle < bestAngle) {
                bestAngle = angle;
                best = &b;
            }
        }
        if (best == nullptr || bestAngle > nearby) continue;
        ++joined;
        for (int c = 0; c < 3; ++c) ASSERT_LE(std::abs(a.rgb[c] - best->rgb[c]), 24) << "face " << a.face;
    }
    // Four faces meet the top along all four of its edges, and the sides meet each other: most
    // border texels have a partner.
    EXPECT_GT(joined, static_cast<int>(border.size()) * 2 / 3);
}

TEST(SampleSky, HasAGradientCloudsAndASun) {
    const Vector3 up = sample::SkyColour({0, 1, 0.01f});
    const Vector3 horizon = sample::SkyColour({1, 0.02f, 0.3f});
    EXPECT_LT(up.x, horizon.x);  // deeper blue overhead, paler at the horizon
    // The sun is the brightest thing in the sky.
    float brightest = 0.0f;
    int cloudy = 0, clear = 0;
    for (int i = 0; i < 400; ++i) {
        const float a = static_cast<float>(i) * 0.157f, e = 0.1f + 0.8f * static_cast<float>(i % 20) / 20.0f;
        const Vector3 c = sample::SkyColour({std::cos(a), e, std::sin(a)});
        brightest = std::max(brightest, c.x + c.y + c.z);
        // Clouds are grey-white (red close to blue); clear sky is blue.
        (c.z - c.x < 0.12f ? cloudy : clear)++;
    }
    EXPECT_GT(cloudy, 20);
    EXPECT_GT(clear, 20);
    const Vector3 sun = sample::SkyColour({-0.35f, 0.42f, 0.84f});
    EXPECT_GT(sun.x + sun.y + sun.z, 2.8f);
}

}  // namespace
}  // namespace brontal::test
