// Bounding boxes of point sets: strides, the empty set and missing pointers.
#include "math_test_support.h"

namespace brontal {
namespace {

using test::ExpectVectorNear;

TEST(ComputeBoundingBox, BoxOfBarePoints) {
    const Vector3 points[] = {{1.0f, 5.0f, 0.0f}, {-2.0f, 0.0f, 3.0f}, {0.0f, 9.0f, -1.0f}};
    Vector3 low, high;
    ASSERT_EQ(ComputeBoundingBox(points, 3, sizeof(Vector3), &low, &high), kResultOk);
    ExpectVectorNear(low, Vector3{-2.0f, 0.0f, -1.0f}, 0.0f);
    ExpectVectorNear(high, Vector3{1.0f, 9.0f, 3.0f}, 0.0f);

    ASSERT_EQ(ComputeBoundingBox(&points[1], 1, sizeof(Vector3), &low, &high), kResultOk);
    ExpectVectorNear(low, points[1], 0.0f);
    ExpectVectorNear(high, points[1], 0.0f);
}

TEST(ComputeBoundingBox, StepsByTheStride) {
    // Position plus texture pair, 20 bytes a vertex. The texture values are far outside the
    // positions' range, so reading them as positions would show.
    struct TexturedVertex {
        float x, y, z, u, v;
    };
    static_assert(sizeof(TexturedVertex) == 20);
    const TexturedVertex vertices[] = {{1.0f, 2.0f, 3.0f, 100.0f, -100.0f},
                                       {-1.0f, 4.0f, 0.0f, 100.0f, -100.0f},
                                       {0.5f, -3.0f, 7.0f, 100.0f, -100.0f}};
    Vector3 low, high;
    ASSERT_EQ(ComputeBoundingBox(reinterpret_cast<const Vector3*>(vertices), 3,
                                 sizeof(TexturedVertex), &low, &high),
              kResultOk);
    ExpectVectorNear(low, Vector3{-1.0f, -3.0f, 0.0f}, 0.0f);
    ExpectVectorNear(high, Vector3{1.0f, 4.0f, 7.0f}, 0.0f);
}

TEST(ComputeBoundingBox, EmptySetIsTheZeroBox) {
    const Vector3 point{4.0f, 5.0f, 6.0f};
    Vector3 low{9.0f, 9.0f, 9.0f}, high{9.0f, 9.0f, 9.0f};
    ASSERT_EQ(ComputeBoundingBox(&point, 0, sizeof(Vector3), &low, &high), kResultOk);
    ExpectVectorNear(low, Vector3{0.0f, 0.0f, 0.0f}, 0.0f);
    ExpectVectorNear(high, Vector3{0.0f, 0.0f, 0.0f}, 0.0f);
}

TEST(ComputeBoundingBox, MissingPointerIsAnInvalidCallAndWritesNothing) {
    const Vector3 point{4.0f, 5.0f, 6.0f};
    const Vector3 untouched{9.0f, 9.0f, 9.0f};
    Vector3 low = untouched, high = untouched;
    EXPECT_EQ(ComputeBoundingBox(nullptr, 1, sizeof(Vector3), &low, &high), kResultInvalidCall);
    EXPECT_EQ(ComputeBoundingBox(&point, 1, sizeof(Vector3), nullptr, &high), kResultInvalidCall);
    EXPECT_EQ(ComputeBoundingBox(&point, 1, sizeof(Vector3), &low, nullptr), kResultInvalidCall);
    EXPECT_EQ(ComputeBoundingBox(nullptr, 0, sizeof(Vector3), &low, &high), kResultInvalidCall);
    ExpectVectorNear(low, untouched, 0.0f);
    ExpectVectorNear(high, untouched, 0.0f);
    EXPECT_EQ(kResultInvalidCall, static_cast<ResultCode>(0x8876086Cu));
}

}  // namespace
}  // namespace brontal
