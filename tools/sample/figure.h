#pragma once
// The player figure: a humanoid of eleven parts, each with its pivot at its joint, textured from
// one atlas, origin at the feet (the game draws it 25 below the player's position), 68 units
// tall, facing +z with its left side towards -x.
//
// The game draws each part on its own: a part turns by its key's rotation about its pivot and is
// then moved so that the pivot lands on the key's position. There is no hierarchy in the file, so
// the keys hold world (model-space) rotations and pivot positions worked out here from a skeleton
// of joint angles.
#include <array>
#include <cstdint>

#include "level/world.h"
#include "math/types.h"
#include "player/animation.h"

namespace brontal::sample {

enum FigurePart : int {
    kPelvis,
    kTorso,
    kHead,
    kUpperArmLeft,
    kLowerArmLeft,
    kUpperArmRight,
    kLowerArmRight,
    kUpperLegLeft,
    kLowerLegLeft,
    kUpperLegRight,
    kLowerLegRight,
    kFigurePartCount
};

// The figure's actions play the game's key ranges (player/animation.h); every track holds keys
// 0 to 231.
inline constexpr int kFigureKeyCount = 232;

inline constexpr float kFigureHeight = 68.0f;

// Joint angles of one pose: per part (pitch about x, yaw about y, roll about z) relative to its
// parent, radians; plus the pelvis's offset from its rest place.
struct FigurePose {
    std::array<Vector3, kFigurePartCount> angles{};
    Vector3 rootOffset{};
};

int FigureParent(int part);          // -1 for the pelvis
Vector3 FigureRestPivot(int part);  // the joint, model space

// The animated model: parts with geometry and pivots, and one key track per part.
AnimatedModel BuildFigure(std::uint16_t textureIndex);

// The pose the animation plays at a key index (0 to 231).
FigurePose FigurePoseAt(int key);

// Model-space rotation and pivot position of every part for a pose.
void SolveFigurePose(const FigurePose& pose, std::array<Quaternion, kFigurePartCount>& rotations,
                     std::array<Vector3, kFigurePartCount>& pivots);

// Rotation a followed by rotation b, as one quaternion.
Quaternion ComposeRotations(const Quaternion& a, const Quaternion& b);

}  // namespace brontal::sample
