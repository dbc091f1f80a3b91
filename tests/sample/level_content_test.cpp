// The generated sample level as the game reads it: accepted by the reader, rooms that hold their
// surfaces and the player, valid visible-room lists, lights that make pools, faces wound the way
// the device shows them, textures in all three formats.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

#include "math/vector_ops.h"
#include "sample/textures.h"
#include "sample_fixture.h"

namespace brontal::test {
namespace {

Vector3 Unit(const Vector3& v) {
    const float l = std::sqrt(Dot(v, v));
    return {v.x / l, v.y / l, v.z / l};
}

struct Tri {
    Vector3 a, b, c;
    Vector3 Front() const { return Unit(Cross(Sub(b, a), Sub(c, a))); }  // the side the device shows
    Vector3 Centre() const { return {(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3}; }
};

template <typename Fn>
void ForEachTriangle(const Surface& s, Fn fn) {
    for (std::size_t i = 0; i + 2 < s.indices.size(); i += 3)
        fn(Tri{PositionOf(s.vertices[s.indices[i]]), PositionOf(s.vertices[s.indices[i + 1]]),
               PositionOf(s.vertices[s.indices[i + 2]])});
}

bool InsideLoose(const Room& room, const Vector3& p, float slack) {
    return room.boxMin.x - slack <= p.x && p.x <= room.boxMax.x + slack && room.boxMin.y - slack <= p.y &&
           p.y <= room.boxMax.y + slack && room.boxMin.z - slack <= p.z && p.z <= room.boxMax.z + slack;
}

// Height of the highest up-facing triangle of a room under a point, or -1e9 when there is none.
float FloorBelow(const Room& room, float x, float z, float below) {
    float best = -1e9f;
    for (const Surface& s : room.surfaces) {
        if (!s.name.empty() && s.name[0] == '!') continue;
        ForEachTriangle(s, [&](const Tri& t) {
            const Vector3 n = Cross(Sub(t.b, t.a), Sub(t.c, t.a));
            if (std::abs(n.y) < 1e-3f) return;
            // Barycentric test in the x-z plane.
            const float d = (t.b.z - t.c.z) * (t.a.x - t.c.x) + (t.c.x - t.b.x) * (t.a.z - t.c.z);
            const float w0 = ((t.b.z - t.c.z) * (x - t.c.x) + (t.c.x - t.b.x) * (z - t.c.z)) / d;
            const float w1 = ((t.c.z - t.a.z) * (x - t.c.x) + (t.a.x - t.c.x) * (z - t.c.z)) / d;
            const float w2 = 1 - w0 - w1;
            if (w0 < -1e-4f || w1 < -1e-4f || w2 < -1e-4f) return;
            const float y = w0 * t.a.y + w1 * t.b.y + w2 * t.c.y;
            if (y <= below) best = std::max(best, y);
        });
    }
    return best;
}

TEST(SampleLevelFile, IsAcceptedByTheReaderWithEveryTextureDecoded) {
    const LoadedSample& s = Sample();
    ASSERT_TRUE(s.accepted) << s.error;
    const Level& level = s.level;
    EXPECT_GE(level.roomCount, 6);
    EXPECT_EQ(level.textureCount, sample::kTextureCount);
    ASSERT_EQ(level.TextureTable.size(), level.textureCount);
    for (std::uint16_t slot = 0; slot < level.textureCount; ++slot) {
        ASSERT_NE(level.TextureTable[slot], nullptr) << "slot " << slot;
        // A placeholder is 8 x 8; a decoded texture has the size it was painted at.
        EXPECT_EQ(level.TextureTable[slot]->Width(), sample::TextureInfoOf(static_cast<sample::TextureSlot>(slot)).size)
            << "slot " << slot;
    }
    ASSERT_GE(level.animatedModelCount, 1);
}

TEST(SampleLevelFile, IsTheSameOnEveryRun) {
    EXPECT_EQ(sample::MakeSampleFiles().levelFile, Sample().files.levelFile);
}

TEST(SampleTextures, ComeInAllThreeFormatsWithCutOutsWhereWanted) {
    const std::vector<std::vector<std::uint8_t>> images = sample::MakeTextureImages();
    int bmp = 0, png = 0, jpeg = 0;
    for (const auto& image : images) {
        ASSERT_GE(image.size(), 4u);
        if (image[0] == 'B' && image[1] == 'M') ++bmp;
        if (image[1] == 'P' && image[2] == 'N' && image[3] == 'G') ++png;
        if (image[0] == 0xFF && image[1] == 0xD8) ++jpeg;
    }
    EXPECT_GT(bmp, 0);
    EXPECT_GT(png, 0);
    EXPECT_GT(jpeg, 0);
    EXPECT_EQ(bmp + png + jpeg, static_cast<int>(images.size()));
    for (std::uint16_t slot = 0; slot < sample::kTextureCount; ++slot) {
        const auto id = static_cast<sample::TextureSlot>(slot);
        const Image image = sample::MakeTexture(id);
        EXPECT_GE(image.width, 64u);
        EXPECT_LE(image.width, 256u);
        int cut = 0, kept = 0;
        for (std::size_t i = 3; i < image.rgba.size(); i += 4) (image.rgba[i] < 144 ? cut : kept)++;
        const bool cutOut = id == sample::kTexFence || id == sample::kTexFoliage;
        EXPECT_EQ(cut > 0, cutOut) << sample::TextureInfoOf(id).name;
        EXPECT_GT(kept, 0) << sample::TextureInfoOf(id).name;
    }
}

TEST(SampleRooms, HaveDistinctNamesThatFitTheHud) {
    const Level& level = Sample().level;
    std::set<std::string> names;
    for (const Room& room : level.rooms) {
        EXPECT_FALSE(room.name.empty());
        // The HUD line buffer leaves 46 characters for the name, the rate and the count.
        EXPECT_LE(room.name.size(), 20u) << room.name;
        names.insert(room.name);
    }
    EXPECT_EQ(names.size(), level.rooms.size());
}

TEST(SampleRooms, SurfacesFitTheEightBitTriangleCountAndLieInTheBox) {
    for (const Room& room : Sample().level.rooms) {
        for (const Surface& s : room.surfaces) {
            EXPECT_LE(s.indexCount / 3, 255) << room.name << " / " << s.name;
            EXPECT_EQ(s.triangleCount, s.indexCount / 3) << room.name << " / " << s.name;
            for (const Vertex& v : s.vertices) ASSERT_TRUE(InsideLoose(room, PositionOf(v), 0.0f)) << room.name;
        }
    }
}

TEST(SampleRooms, ShowEveryFloorToTheRoomTracking) {
    // A player standing on any floor of a room (centre 25 above it) is inside that room's box.
    for (const Room& room : Sample().level.rooms) {
        int floors = 0;
        for (const Surface& s : room.surfaces) {
            if (!s.name.empty() && s.name[0] == '!') continue;
            ForEachTriangle(s, [&](const Tri& t) {
                if (t.Front().y < 0.9f) return;
                ++floors;
                const Vector3 c = t.Centre();
                EXPECT_TRUE(StrictlyInside(room, Vector3{c.x, c.y + 25.0f, c.z}))
                    << room.name << " / " << s.name << " at " << c.x << ", " << c.y << ", " << c.z;
            });
        }
        EXPECT_GT(floors, 0) << room.name;
    }
}

TEST(SampleRooms, FacesLookIntoTheirRoom) {
    // The device shows the side a triangle's corners run clockwise for: Cross(b - a, c - a).
    // A room's faces must show towards where the player can be: just in front of every face is
    // inside the room's box, or (for the gate and doorways both rooms hold) inside the box of a
    // room it sees. Faces on the box's walls looking out would fail this.
    const Level& level = Sample().level;
    for (const Room& room : level.rooms) {
        for (const Surface& s : room.surfaces) {
            ForEachTriangle(s, [&](const Tri& t) {
                const Vector3 c = t.Centre(), n = t.Front();
                const Vector3 ahead{c.x + n.x, c.y + n.y, c.z + n.z};
                bool seen = InsideLoose(room, ahead, 0.01f);
                for (std::uint16_t v : room.visibleRooms) seen = seen || InsideLoose(level.rooms[v], ahead, 0.01f);
                EXPECT_TRUE(seen) << room.name << " / " << s.name;
            });
        }
    }
}

TEST(SampleRooms, SolidModelsAreClosedAndFaceOutwards) {
    // For a closed mesh whose faces show outwards, the divergence sum is its (positive) volume.
    for (const Model& model : Sample().level.models) {
        if (!model.solid) continue;
        double volume = 0.0;
        for (const Surface& s : model.surfaces)
            ForEachTriangle(s, [&](const Tri& t) { volume += Dot(t.a, Cross(t.b, t.c)) / 6.0; });
        const Vector3 size = Sub(model.boxMax, model.boxMin);
        EXPECT_GT(volume, 0.05 * size.x * size.y * size.z) << "model with box height " << size.y;
    }
}

TEST(SampleRooms, StartPositionIsInRoomZeroAboutThirtyAboveItsFloor) {
    const Level& level = Sample().level;
    const Vector3 p = level.startPosition;
    EXPECT_TRUE(StrictlyInside(level.rooms[0], p));
    for (std::size_t r = 1; r < level.rooms.size(); ++r) EXPECT_FALSE(StrictlyInside(level.rooms[r], p)) << r;
    const float floor = FloorBelow(level.rooms[0], p.x, p.z, p.y);
    EXPECT_GE(p.y - floor, 25.0f);
    EXPECT_LE(p.y - floor, 35.0f);
}

TEST(SampleRooms, VisibleListsAreValidAndSeeThroughEveryDoorway) {
    const Level& level = Sample().level;
    ASSERT_GE(level.rooms.size(), 2u);
    for (std::uint16_t r = 0; r < level.roomCount; ++r) {
        const Room& room = level.rooms[r];
        ASSERT_FALSE(room.visibleRooms.empty()) << room.name;
        EXPECT_EQ(room.visibleRooms.front(), r) << room.name << " draws itself first";
        std::set<std::uint16_t> seen;
        for (std::uint16_t v : room.visibleRooms) {
            EXPECT_LT(v, level.roomCount) << room.name;
            EXPECT_TRUE(seen.insert(v).second) << room.name << " lists room " << v << " twice";
        }
        // Rooms whose boxes overlap share a doorway: each sees the other.
        for (std::uint16_t o = 0; o < level.roomCount; ++o) {
            const Room& other = level.rooms[o];
            const bool overlap = room.boxMin.x < other.boxMax.x && other.boxMin.x < room.boxMax.x &&
                                 room.boxMin.y < other.boxMax.y && other.boxMin.y < room.boxMax.y &&
                                 room.boxMin.z < other.boxMax.z && other.boxMin.z < room.boxMax.z;
            if (o != r && overlap) {
                EXPECT_TRUE(seen.count(o)) << room.name << " does not see " << other.name;
            }
        }
    }
}

TEST(SampleRooms, SkyShowsOverTheOpenRoomsAndWhereverTheyAreSeen) {
    // A room under a ceiling shows the sky only when it sees a room open to it.
    const Level& level = Sample().level;
    int open = 0;
    for (const Room& room : level.rooms) {
        bool hasCeiling = false;
        for (const Surface& s : room.surfaces)
            ForEachTriangle(s, [&](const Tri& t) {
                if (t.Front().y < -0.9f && t.Centre().y >= room.boxMax.y - 1.0f) hasCeiling = true;
            });
        if (!hasCeiling) {
            EXPECT_TRUE(room.showsSky) << room.name;
            ++open;
        } else if (room.showsSky) {
            bool seesOpenRoom = false;
            for (std::uint16_t v : room.visibleRooms) seesOpenRoom = seesOpenRoom || level.rooms[v].showsSky;
            EXPECT_TRUE(seesOpenRoom) << room.name;
        }
    }
    EXPECT_GE(open, 1);
}

TEST(SampleRooms, HaveWalkThroughDecorAndBothKindsOfObjects) {
    const Level& level = Sample().level;
    int decor = 0, solid = 0, loose = 0, tilted = 0;
    for (const Room& room : level.rooms) {
        for (const Surface& s : room.surfaces) decor += (!s.name.empty() && s.name[0] == '!') ? 1 : 0;
        for (const RoomObject& o : room.objects) {
            ASSERT_LT(o.modelIndex, level.modelCount);
            (o.solid ? solid : loose)++;
            const float len = std::sqrt(Dot(o.rotationAxis, o.rotationAxis));
            if (o.rotationAngle != 0.0f && std::abs(o.rotationAxis.y) < 0.95f * len) ++tilted;
        }
    }
    EXPECT_GT(decor, 0);
    EXPECT_GT(solid, 0);
    EXPECT_GT(loose, 0);
    EXPECT_GT(tilted, 0);
}

// What the device's ambient lighting gives a vertex: the dark grey ambient plus, for every light
// in range, colour x 255 / (150 + 0.1 x distance); one channel, the brightest.
float LitLevel(const Level& level, const Vector3& p) {
    float r = 20.0f / 255.0f, g = r, b = r;
    for (const Room& room : level.rooms)
        for (const RoomLight& l : room.lights) {
            const Vector3 d = Sub(p, Vector3{l.light.Position.x, l.light.Position.y, l.light.Position.z});
            const float dist = std::sqrt(Dot(d, d));
            if (dist > l.light.Range) continue;
            const float att = 1.0f / (l.light.Attenuation0 + l.light.Attenuation1 * dist);
            r += l.light.Ambient.r * att;
            g += l.light.Ambient.g * att;
            b += l.light.Ambient.b * att;
        }
    return std::max(r, std::max(g, b));
}

TEST(SampleLights, MakeVisiblePoolsInEveryRoomWithinTheDevicesLightCount) {
    const Level& level = Sample().level;
    std::size_t total = 0;
    for (const Room& room : level.rooms) {
        ASSERT_GE(room.lights.size(), 2u) << room.name;
        total += room.lights.size();
        for (const RoomLight& l : room.lights) {
            EXPECT_EQ(l.light.Type, D3DLIGHT_POINT);
            EXPECT_TRUE(InsideLoose(room, Vector3{l.light.Position.x, l.light.Position.y, l.light.Position.z}, 400.0f))
                << room.name;
        }
        float darkest = 10.0f, brightest = 0.0f;
        for (const Surface& s : room.surfaces)
            for (const Vertex& v : s.vertices) {
                const float lit = LitLevel(level, PositionOf(v));
                darkest = std::min(darkest, lit);
                brightest = std::max(brightest, lit);
            }
        EXPECT_GT(brightest, 0.5f) << room.name;               // a pool bright enough to see
        EXPECT_GT(brightest - darkest, 0.25f) << room.name;  // and its edge
    }
    // The device's shader takes 32 lights at once.
    EXPECT_LE(total, 32u);
}

}  // namespace
}  // namespace brontal::test
