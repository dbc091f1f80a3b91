#include "visibility/room_sight.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

#include "math/vector_ops.h"
#include "visibility/sight_scene.h"

namespace brontal {
namespace {

constexpr std::uint32_t kLeftLevel = 0xFFFFFFFFu;
constexpr float kPi = 3.14159265358979f;

// The chase camera's places around the player (see the camera rig): settled 160 behind and 60
// up, idling 100 behind and 40 up, 150 in front while the front-view key is held.
constexpr float kCameraNearest = 100.0f, kCameraFarthest = 160.0f;
constexpr float kCameraLowest = 40.0f, kCameraHighest = 60.0f;
constexpr float kFrontViewDistance = 150.0f;
// The camera's rays fill a square pyramid of this half-angle tangent (55 degrees) around its
// heading: wider than the frustum of any window shape, with room for the orientation's lag.
constexpr float kCameraConeTan = 1.43f;
// The player's eye, relative to the sphere centre: from near the floor to the camera's height.
constexpr float kEyeLowest = -15.0f, kEyeHighest = 65.0f;

Vector3 Normalised(const Vector3& v) {
    const float length = Length(v);
    return length > 0.0f ? Scale(v, 1.0f / length) : Vector3{0.0f, 0.0f, 1.0f};
}

// splitmix64: small, fast and the same everywhere.
class Generator {
public:
    explicit Generator(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    float Uniform(float low, float high) {
        return low + (high - low) * static_cast<float>(Next() >> 40) / static_cast<float>(1ull << 24);
    }
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }

private:
    std::uint64_t state_;
};

struct Frame {
    Vector3 forward, right, up;
};

// A direction frame turned at random: uniform forward, random roll.
Frame RandomFrame(Generator& generator) {
    const float y = generator.Uniform(-1.0f, 1.0f);
    const float angle = generator.Uniform(0.0f, 2.0f * kPi);
    const float ring = std::sqrt(std::max(0.0f, 1.0f - y * y));
    const Vector3 forward{ring * std::cos(angle), y, ring * std::sin(angle)};
    const Vector3 helper = std::fabs(forward.y) < 0.9f ? Vector3{0, 1, 0} : Vector3{1, 0, 0};
    const Vector3 right = Normalised(Cross(helper, forward));
    return {forward, right, Cross(forward, right)};
}

class RoomSampler {
public:
    RoomSampler(const SightScene& scene, std::uint16_t room, const SightSettings& settings)
        : scene_(scene), room_(room), settings_(settings), generator_(0x42524F4E54414Cull + room),
          nearest_(scene.boxMin.size(), std::numeric_limits<float>::infinity()),
          skyRooms_(scene.boxMin.size(), false) {}

    RoomSight Run() {
        // Room tracking never makes a room current whose box holds no point strictly.
        const Vector3& low = scene_.boxMin[room_];
        const Vector3& high = scene_.boxMax[room_];
        if (!(low.x < high.x && low.y < high.y && low.z < high.z)) return Result();
        std::vector<Vector3> standing = scene_.StandingPoints(room_, settings_.standingSpacing);
        if (standing.empty()) standing.push_back(Scale(Add(low, high), 0.5f));
        // Standing places are taken in a shuffled order, round and round, so that every place
        // serves before any serves twice.
        for (std::size_t i = standing.size(); i > 1; --i) std::swap(standing[i - 1], standing[generator_.Below(i)]);
        std::size_t turn = 0;
        const auto nextPlace = [&standing, &turn] { return standing[turn++ % standing.size()]; };
        for (unsigned v = 0; v < settings_.eyeViewpoints; ++v) {
            const Vector3 eye = Add(nextPlace(),
                                    {0.0f, generator_.Uniform(kEyeLowest, kEyeHighest), 0.0f});
            const Frame frame = RandomFrame(generator_);
            const Vector3 axes[3] = {frame.forward, frame.right, frame.up};
            for (int a = 0; a < 3; ++a) {
                const Vector3& f = axes[a];
                const Vector3& r = axes[(a + 1) % 3];
                const Vector3& u = axes[(a + 2) % 3];
                SampleFace(eye, {f, r, u}, 1.0f, settings_.eyeGrid);
                SampleFace(eye, {Scale(f, -1.0f), Scale(r, -1.0f), u}, 1.0f, settings_.eyeGrid);
            }
        }
        eyeNearest_ = nearest_;
        // The camera is placed systematically: around standing places on a coarser grid, at
        // cameraHeadings headings (jittered) each, its kind taking turns: settled behind,
        // idling nearer and lower, in front. Free look is left out: it can take the camera
        // under the floor, from where every room shows through the backs of the floors.
        std::vector<Vector3> cameraPlaces = scene_.StandingPoints(room_, settings_.cameraSpacing);
        if (cameraPlaces.empty()) cameraPlaces.push_back(standing.front());
        for (std::size_t p = 0; p < cameraPlaces.size(); ++p) {
            const Vector3& player = cameraPlaces[p];
            for (unsigned h = 0; h < settings_.cameraHeadings; ++h) {
                const float step = 2.0f * kPi / static_cast<float>(settings_.cameraHeadings);
                const float heading = step * (static_cast<float>(h) + generator_.Uniform(0.0f, 1.0f));
                PlaceCamera(player, heading, static_cast<unsigned>((p + h) % 3));
            }
        }
        return Result();
    }

private:
    void PlaceCamera(const Vector3& player, float heading, unsigned kind) {
        const Vector3 look{std::sin(heading), 0.0f, std::cos(heading)};
        Vector3 camera;
        if (kind == 2) {
            camera = Add(player, {kFrontViewDistance * look.x, kCameraHighest, kFrontViewDistance * look.z});
        } else {
            const float back = kind == 0 ? generator_.Uniform(kCameraNearest, kCameraFarthest) : kCameraNearest;
            const float lift = kind == 0 ? generator_.Uniform(kCameraLowest, kCameraHighest) : kCameraLowest;
            camera = Add(player, {-back * look.x, lift, -back * look.z});
        }
        const float roll = generator_.Uniform(0.0f, 2.0f * kPi);
        const Vector3 side{std::cos(heading), 0.0f, -std::sin(heading)};
        const Vector3 up{0.0f, 1.0f, 0.0f};
        const Vector3 right = Add(Scale(side, std::cos(roll)), Scale(up, std::sin(roll)));
        SampleFace(camera, {look, right, Cross(look, right)}, kCameraConeTan, settings_.cameraGrid);
    }

    std::uint32_t Trace(const Vector3& origin, const Vector3& direction) {
        bool sky = false;
        const int room = scene_.FollowRay(origin, direction, nearest_, sky);
        if (sky) {
            seesSky_ = true;
            const int last = scene_.LastRoomOnRay(origin, direction);
            if (last >= 0) skyRooms_[static_cast<std::size_t>(last)] = true;
        }
        return room < 0 ? kLeftLevel : static_cast<std::uint32_t>(room);
    }

    std::uint32_t Ray(const Vector3& origin, const Frame& face, float halfTan, float s, float t) {
        const Vector3 direction =
            Normalised(Add(face.forward, Add(Scale(face.right, s * halfTan), Scale(face.up, t * halfTan))));
        return Trace(origin, direction);
    }

    // Rays over one face of directions, s and t from -1 to 1, on a grid of cells refined where
    // the corner rays end in different rooms.
    void SampleFace(const Vector3& origin, const Frame& face, float halfTan, unsigned cells) {
        const unsigned points = cells + 1;
        corners_.assign(points * points, 0);
        const auto at = [cells](unsigned i) { return -1.0f + 2.0f * static_cast<float>(i) / static_cast<float>(cells); };
        for (unsigned j = 0; j < points; ++j) {
            for (unsigned i = 0; i < points; ++i) corners_[j * points + i] = Ray(origin, face, halfTan, at(i), at(j));
        }
        for (unsigned j = 0; j < cells; ++j) {
            for (unsigned i = 0; i < cells; ++i) {
                const std::uint32_t c[4] = {corners_[j * points + i], corners_[j * points + i + 1],
                                            corners_[(j + 1) * points + i], corners_[(j + 1) * points + i + 1]};
                Refine(origin, face, halfTan, at(i), at(j), at(i + 1), at(j + 1), c, 1);
            }
        }
    }

    // c: the rooms of the rays at (s0, t0), (s1, t0), (s0, t1), (s1, t1).
    void Refine(const Vector3& origin, const Frame& face, float halfTan, float s0, float t0, float s1, float t1,
                const std::uint32_t c[4], unsigned level) {
        if (level > settings_.refineLevels || (c[0] == c[1] && c[0] == c[2] && c[0] == c[3])) return;
        const float sm = 0.5f * (s0 + s1), tm = 0.5f * (t0 + t1);
        const std::uint32_t bottom = Ray(origin, face, halfTan, sm, t0), top = Ray(origin, face, halfTan, sm, t1);
        const std::uint32_t left = Ray(origin, face, halfTan, s0, tm), right = Ray(origin, face, halfTan, s1, tm);
        const std::uint32_t middle = Ray(origin, face, halfTan, sm, tm);
        const std::uint32_t q0[4] = {c[0], bottom, left, middle}, q1[4] = {bottom, c[1], middle, right};
        const std::uint32_t q2[4] = {left, middle, c[2], top}, q3[4] = {middle, right, top, c[3]};
        Refine(origin, face, halfTan, s0, t0, sm, tm, q0, level + 1);
        Refine(origin, face, halfTan, sm, t0, s1, tm, q1, level + 1);
        Refine(origin, face, halfTan, s0, tm, sm, t1, q2, level + 1);
        Refine(origin, face, halfTan, sm, tm, s1, t1, q3, level + 1);
    }

    RoomSight Result() const {
        RoomSight sight;
        sight.seesSky = seesSky_;
        for (std::size_t r = 0; r < skyRooms_.size(); ++r) {
            if (skyRooms_[r]) sight.skyRooms.push_back(static_cast<std::uint16_t>(r));
        }
        std::vector<std::uint16_t> others;
        for (std::size_t r = 0; r < nearest_.size(); ++r) {
            if (r != room_ && std::isfinite(nearest_[r])) others.push_back(static_cast<std::uint16_t>(r));
        }
        std::stable_sort(others.begin(), others.end(), [this](std::uint16_t a, std::uint16_t b) {
            return eyeNearest_[a] != eyeNearest_[b] ? eyeNearest_[a] < eyeNearest_[b] : nearest_[a] < nearest_[b];
        });
        sight.visible.push_back(room_);
        sight.visible.insert(sight.visible.end(), others.begin(), others.end());
        return sight;
    }

    const SightScene& scene_;
    std::uint16_t room_;
    const SightSettings& settings_;
    Generator generator_;
    std::vector<float> nearest_;     // per room, the nearest distance a ray met it at
    std::vector<float> eyeNearest_;  // the same from the player's eye only
    std::vector<std::uint32_t> corners_;
    bool seesSky_ = false;
    std::vector<bool> skyRooms_;  // per room: a ray went out to the open sky through its box last
};

}  // namespace

std::vector<RoomSight> ComputeRoomSight(const Level& level, const std::vector<bool>& cutOutTextures,
                                        const SightSettings& settings) {
    const SightScene scene(level, cutOutTextures);
    std::vector<RoomSight> sights(level.rooms.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t r = next++; r < sights.size(); r = next++) {
            sights[r] = RoomSampler(scene, static_cast<std::uint16_t>(r), settings).Run();
        }
    };
    const unsigned helpers = std::max(1u, settings.threads) - 1;
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < helpers; ++t) threads.emplace_back(work);
    work();
    for (std::thread& thread : threads) thread.join();
    return sights;
}

ListFindings CompareVisibleList(std::uint16_t room, const std::vector<std::uint16_t>& written, const RoomSight& sight) {
    ListFindings findings;
    const auto holds = [](const std::vector<std::uint16_t>& list, std::uint16_t r) {
        return std::find(list.begin(), list.end(), r) != list.end();
    };
    findings.missesItself = !holds(written, room);
    for (std::uint16_t r : sight.visible) {
        if (r != room && !holds(written, r)) findings.missing.push_back(r);
    }
    for (std::uint16_t r : written) {
        if (r != room && !holds(sight.visible, r) && !holds(findings.unseen, r)) findings.unseen.push_back(r);
    }
    return findings;
}

}  // namespace brontal
