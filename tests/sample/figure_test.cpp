// The player figure as the frame render draws it: each part turned by its key's rotation about
// its pivot and moved so the pivot lands on the key's position.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "math/matrix.h"
#include "math/quaternion.h"
#include "math/vector3.h"
#include "sample/figure.h"
#include "sample_fixture.h"

namespace brontal::test {
namespace {

using sample::kFigureKeyCount;
using sample::kFigurePartCount;

const AnimatedModel& Figure() { return Sample().level.animatedModels.at(0); }

// The part's transform at a key with the frame render's formula (blend factor 0: key k itself).
Matrix4x4 PartMatrix(const AnimatedPart& part, const KeyTrack& track, int key) {
    const Vector3 pos = track.positions[static_cast<std::size_t>(key)];
    Vector3 offset;
    Vec3Subtract(&offset, &pos, &part.pivot);
    const Quaternion q = track.rotations[static_cast<std::size_t>(key)];
    const Vector3 centre{0, 0, 0}, one{1, 1, 1};
    Matrix4x4 m;
    MatrixTransformation(&m, &centre, &q, &one, &part.pivot, &q, &offset);
    return m;
}

Vector3 Transform(const Vector3& p, const Matrix4x4& m) {
    Vector3 out;
    Vec3TransformCoord(&out, &p, &m);
    return out;
}

float Distance(const Vector3& a, const Vector3& b) { return Vec3Distance(a.x, a.y, a.z, b.x, b.y, b.z); }

// How far apart two keys put the figure's vertices, at most.
float PoseDifference(int keyA, int keyB) {
    const AnimatedModel& f = Figure();
    float worst = 0.0f;
    for (std::size_t p = 0; p < f.parts.size(); ++p) {
        const Matrix4x4 a = PartMatrix(f.parts[p], f.tracks[p], keyA);
        const Matrix4x4 b = PartMatrix(f.parts[p], f.tracks[p], keyB);
        for (const Vertex& v : f.parts[p].vertices)
            worst = std::max(worst, Distance(Transform(PositionOf(v), a), Transform(PositionOf(v), b)));
    }
    return worst;
}

TEST(SampleFigure, HasTenOrMorePartsWithATrackOfEveryKeyEach) {
    const AnimatedModel& f = Figure();
    ASSERT_GE(f.partCount, 10);
    ASSERT_LE(f.partCount, 127);  // the frame render counts parts in a signed byte
    ASSERT_EQ(f.trackCount, f.partCount);
    for (const KeyTrack& t : f.tracks) {
        // The animation reaches key 230 and blends towards key 231.
        EXPECT_GE(t.keyCount, 232);
        EXPECT_EQ(t.positions.size(), t.keyCount);
        EXPECT_EQ(t.rotations.size(), t.keyCount);
    }
    for (const AnimatedPart& part : f.parts) {
        EXPECT_GT(part.triangleCount, 0);
        EXPECT_EQ(part.textureIndex, Figure().parts[0].textureIndex);
    }
}

TEST(SampleFigure, StandsOnItsOriginAndIsAboutSixtyFiveTall) {
    const AnimatedModel& f = Figure();
    float low = 1e9f, high = -1e9f;
    for (std::size_t p = 0; p < f.parts.size(); ++p) {
        const Matrix4x4 m = PartMatrix(f.parts[p], f.tracks[p], 0);
        for (const Vertex& v : f.parts[p].vertices) {
            const float y = Transform(PositionOf(v), m).y;
            low = std::min(low, y);
            high = std::max(high, y);
        }
    }
    EXPECT_NEAR(low, 0.0f, 1.0f);
    EXPECT_GE(high - low, 60.0f);
    EXPECT_LE(high - low, 70.0f);
}

TEST(SampleFigure, KeepsItsFeetNearTheGroundInEveryKey) {
    const AnimatedModel& f = Figure();
    for (int key = 0; key < kFigureKeyCount; ++key) {
        float low = 1e9f;
        for (std::size_t p = 0; p < f.parts.size(); ++p) {
            const Matrix4x4 m = PartMatrix(f.parts[p], f.tracks[p], key);
            for (const Vertex& v : f.parts[p].vertices) low = std::min(low, Transform(PositionOf(v), m).y);
        }
        EXPECT_GT(low, -4.0f) << "key " << key;
        EXPECT_LT(low, 4.0f) << "key " << key;
    }
}

TEST(SampleFigure, JointsStayTogetherInEveryKey) {
    // A child's pivot is a point of its parent too: where the parent's key puts it is where the
    // child's key must put its own pivot.
    const AnimatedModel& f = Figure();
    for (int key = 0; key < kFigureKeyCount; ++key)
        for (int p = 0; p < kFigurePartCount; ++p) {
            const int parent = sample::FigureParent(p);
            if (parent < 0) continue;
            const auto pi = static_cast<std::size_t>(p), pa = static_cast<std::size_t>(parent);
            const Vector3 viaParent = Transform(f.parts[pi].pivot, PartMatrix(f.parts[pa], f.tracks[pa], key));
            EXPECT_LT(Distance(viaParent, f.tracks[pi].positions[static_cast<std::size_t>(key)]), 0.01f)
                << "part " << p << " key " << key;
        }
}

TEST(SampleFigure, PivotsSitAtTheJointsOfTheirParts) {
    for (const AnimatedPart& part : Figure().parts) {
        Vector3 mn{1e9f, 1e9f, 1e9f}, mx{-1e9f, -1e9f, -1e9f};
        for (const Vertex& v : part.vertices) {
            mn = {std::min(mn.x, v.x), std::min(mn.y, v.y), std::min(mn.z, v.z)};
            mx = {std::max(mx.x, v.x), std::max(mx.y, v.y), std::max(mx.z, v.z)};
        }
        EXPECT_TRUE(part.pivot.x >= mn.x - 1 && part.pivot.x <= mx.x + 1) << part.name;
        EXPECT_TRUE(part.pivot.z >= mn.z - 1 && part.pivot.z <= mx.z + 1) << part.name;
        // At the top end of the part (or its bottom, for the pelvis that the legs hang from).
        EXPECT_TRUE(std::abs(part.pivot.y - mx.y) < 4.0f || std::abs(part.pivot.y - mn.y) < 6.0f) << part.name;
    }
}

TEST(SampleFigure, LoopsAndActionsJoinWithoutAJump) {
    // Loops: the range's last key is its first again.
    EXPECT_LT(PoseDifference(kStandFirst, kStandLast), 0.5f);
    EXPECT_LT(PoseDifference(kRunFirst, kRunLast), 0.5f);
    EXPECT_LT(PoseDifference(kTurnLeftFirst, kTurnLeftLast), 0.5f);
    EXPECT_LT(PoseDifference(kTurnRightFirst, kTurnRightLast), 0.5f);
    // Actions that end by going back to the stand's first key end in its pose.
    EXPECT_LT(PoseDifference(kLateStopLast, kStandFirst), 0.5f);
    EXPECT_LT(PoseDifference(kEarlyStopLast, kStandFirst), 0.5f);
    EXPECT_LT(PoseDifference(kBackStepLast, kStandFirst), 0.5f);
    EXPECT_LT(PoseDifference(kRunStartFirst, kStandFirst), 0.5f);
    // The run start leads into the run with a step no bigger than the run's own.
    float runStep = 0.0f;
    for (int key = kRunFirst; key < kRunLast; ++key) runStep = std::max(runStep, PoseDifference(key, key + 1));
    EXPECT_LE(PoseDifference(kRunStartLast, kRunFirst), runStep + 0.5f);
    // No key step within a range is a jump.
    for (int key = 1; key + 1 < kFigureKeyCount; ++key) {
        const bool rangeStart = key + 1 == kLateStopFirst || key + 1 == kEarlyStopFirst ||
                                key + 1 == kTurnLeftFirst || key + 1 == kTurnRightFirst ||
                                key + 1 == kBackStepFirst || key + 1 == kRunStartFirst;
        if (!rangeStart) {
            EXPECT_LT(PoseDifference(key, key + 1), 20.0f) << "key " << key;
        }
    }
}

// Where a key puts the toe of a foot (a point of a lower leg's boot).
Vector3 Toe(int lowerLeg, int key) {
    const AnimatedModel& f = Figure();
    const auto p = static_cast<std::size_t>(lowerLeg);
    const Vector3 toe{f.parts[p].pivot.x, 1.0f, 6.0f};
    return Transform(toe, PartMatrix(f.parts[p], f.tracks[p], key));
}

TEST(SampleFigure, ActionsMoveTheLimbsTheyShould) {
    // The run swings the legs; the stand only breathes.
    float runLow = 1e9f, runHigh = -1e9f;
    for (int k = kRunFirst; k <= kRunLast; ++k) {
        runLow = std::min(runLow, Toe(sample::kLowerLegLeft, k).z);
        runHigh = std::max(runHigh, Toe(sample::kLowerLegLeft, k).z);
    }
    EXPECT_GT(runHigh - runLow, 20.0f);
    EXPECT_LT(PoseDifference(kStandFirst, 35), 2.0f);
    // The back-step's feet stay planted until 211, each steps back in turn while the player
    // moves (211 to 223), and stay planted again afterwards.
    for (int leg : {sample::kLowerLegLeft, sample::kLowerLegRight}) {
        float before = 0.0f, during = 0.0f, after = 0.0f;
        for (int k = kBackStepFirst; k < kBackStepLast; ++k) {
            const float moved = Distance(Toe(leg, k), Toe(leg, k + 1));
            float& phase = k < kBackStepMoveFirst ? before : (k < kBackStepMoveLast ? during : after);
            phase = std::max(phase, moved);
        }
        EXPECT_LT(before, 1.5f) << "leg " << leg;
        EXPECT_GT(during, 2.0f) << "leg " << leg;
        EXPECT_LT(after, 1.5f) << "leg " << leg;
    }
}

TEST(SampleFigure, ComposedRotationsMatchTheMatrixProduct) {
    Quaternion a, b;
    const Vector3 axisA{0.3f, 1.0f, -0.2f}, axisB{1.0f, 0.1f, 0.4f};
    QuaternionRotationAxis(&a, &axisA, 0.7f);
    QuaternionRotationAxis(&b, &axisB, -1.1f);
    const Quaternion ab = sample::ComposeRotations(a, b);
    Matrix4x4 ma, mb, product, composed;
    MatrixRotationQuaternion(&ma, &a);
    MatrixRotationQuaternion(&mb, &b);
    MatrixMultiply(&product, &ma, &mb);  // a first, then b
    MatrixRotationQuaternion(&composed, &ab);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(composed.m[r][c], product.m[r][c], 1e-5f) << r << "," << c;
}

}  // namespace
}  // namespace brontal::test
