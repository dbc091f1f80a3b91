// The figure's actions as joint-angle poses per key. Angle signs (row vectors, left-handed, y
// up, the figure facing +z): a positive pitch tips an upright part forwards and swings a hanging
// limb backwards; a positive yaw turns towards the figure's right (+x); a positive roll swings a
// hanging left arm in towards the body and a right arm out.
#include <cmath>

#include "sample/figure.h"

namespace brontal::sample {

namespace {

constexpr float kTwoPi = 2.0f * kPi;

float Ease(float t) {
    t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
    return t * t * (3.0f - 2.0f * t);
}

FigurePose Blend(const FigurePose& a, const FigurePose& b, float t) {
    FigurePose out;
    for (std::size_t p = 0; p < out.angles.size(); ++p) {
        out.angles[p] = {a.angles[p].x + (b.angles[p].x - a.angles[p].x) * t,
                         a.angles[p].y + (b.angles[p].y - a.angles[p].y) * t,
                         a.angles[p].z + (b.angles[p].z - a.angles[p].z) * t};
    }
    out.rootOffset = {a.rootOffset.x + (b.rootOffset.x - a.rootOffset.x) * t,
                      a.rootOffset.y + (b.rootOffset.y - a.rootOffset.y) * t,
                      a.rootOffset.z + (b.rootOffset.z - a.rootOffset.z) * t};
    return out;
}

// Standing and breathing; one breath is the whole stand range (68 frames at 20 per second).
FigurePose Stand(float frame) {
    const float b = std::sin(kTwoPi * (frame - static_cast<float>(kStandFirst)) /
                             static_cast<float>(kStandLast - kStandFirst));
    FigurePose pose;
    pose.angles[kTorso] = {0.02f + 0.03f * b, 0.0f, 0.0f};
    pose.angles[kHead] = {-0.02f - 0.025f * b, 0.0f, 0.0f};
    pose.angles[kUpperArmLeft] = {0.03f, 0.0f, -0.08f - 0.025f * b};
    pose.angles[kUpperArmRight] = {0.03f, 0.0f, 0.08f + 0.025f * b};
    pose.angles[kLowerArmLeft] = {-0.14f - 0.02f * b, 0.0f, 0.0f};
    pose.angles[kLowerArmRight] = {-0.14f - 0.02f * b, 0.0f, 0.0f};
    pose.angles[kUpperLegLeft] = {-0.02f, 0.0f, -0.02f};
    pose.angles[kUpperLegRight] = {-0.02f, 0.0f, 0.02f};
    pose.angles[kLowerLegLeft] = {0.03f, 0.0f, 0.0f};
    pose.angles[kLowerLegRight] = {0.03f, 0.0f, 0.0f};
    pose.rootOffset = {0.0f, 0.12f * b, 0.0f};
    return pose;
}

// The run cycle at a phase: two strides per turn of the phase. The left leg is forward at a
// quarter turn, the right at three quarters; the arms swing against the legs.
FigurePose Run(float phase, float strength = 1.0f) {
    const float s = std::sin(phase), c = std::cos(phase);
    auto kneeFor = [](float swing) { return 0.25f + 1.1f * std::pow(swing > 0.0f ? swing : 0.0f, 1.5f); };
    FigurePose pose;
    pose.angles[kPelvis] = {0.0f, 0.1f * s * strength, 0.0f};
    pose.angles[kTorso] = {0.2f * strength, -0.22f * s * strength, 0.0f};
    pose.angles[kHead] = {-0.12f * strength, 0.1f * s * strength, 0.0f};
    pose.angles[kUpperLegLeft] = {-0.75f * s * strength, 0.0f, -0.02f};
    pose.angles[kUpperLegRight] = {0.75f * s * strength, 0.0f, 0.02f};
    pose.angles[kLowerLegLeft] = {kneeFor(c) * strength, 0.0f, 0.0f};
    pose.angles[kLowerLegRight] = {kneeFor(-c) * strength, 0.0f, 0.0f};
    pose.angles[kUpperArmLeft] = {0.65f * s * strength, 0.0f, -0.12f};
    pose.angles[kUpperArmRight] = {-0.65f * s * strength, 0.0f, 0.12f};
    pose.angles[kLowerArmLeft] = {(-1.25f - 0.25f * s) * strength, 0.0f, 0.0f};
    pose.angles[kLowerArmRight] = {(-1.25f + 0.25f * s) * strength, 0.0f, 0.0f};
    pose.rootOffset = {0.0f, (-1.2f + 1.0f * std::cos(2.0f * phase)) * strength, 0.0f};
    return pose;
}

float RunPhase(float frame) {
    return kTwoPi * (frame - static_cast<float>(kRunFirst)) / static_cast<float>(kRunLast - kRunFirst);
}

// From the stand into the run: the cycle fades in and meets the run range at its first frame.
FigurePose RunStart(float frame) {
    const float t = (frame - static_cast<float>(kRunStartFirst)) / static_cast<float>(kRunFirst - kRunStartFirst);
    return Blend(Stand(static_cast<float>(kStandFirst)), Run(RunPhase(frame)), Ease(t));
}

// A stop: the cycle goes on from where the run was released, slowing down and fading into the
// stand's first frame, which the stand range starts from when the stop ends.
FigurePose Stop(float frame, int first, int last, float releasedFrame) {
    const float t = (frame - static_cast<float>(first)) / static_cast<float>(last - first);
    const float slowed = (frame - static_cast<float>(first)) * (1.0f - 0.5f * t);
    const FigurePose run = Run(RunPhase(releasedFrame + slowed), 1.0f - 0.6f * t);
    return Blend(run, Stand(static_cast<float>(kStandFirst)), Ease(t));
}

// Turning on the spot: the feet step in turn, the body leads with the head into the turn. One
// turn of the phase is the whole range, so the range loops while the key is held.
FigurePose Turn(float frame, int first, int last, float side) {
    const float phase = kTwoPi * (frame - static_cast<float>(first)) / static_cast<float>(last - first);
    const float lead = 0.5f * (1.0f - std::cos(phase));
    const float stepA = std::sin(phase) > 0.0f ? std::sin(phase) : 0.0f;
    const float stepB = std::sin(phase) < 0.0f ? -std::sin(phase) : 0.0f;
    // The foot on the side of the turn steps first.
    const float stepLeft = side < 0.0f ? stepA : stepB;
    const float stepRight = side < 0.0f ? stepB : stepA;
    FigurePose pose = Stand(static_cast<float>(kStandFirst));
    pose.angles[kPelvis].y = side * 0.08f * lead;
    pose.angles[kTorso].y = side * 0.1f * lead;
    pose.angles[kHead].y = side * 0.18f * lead;
    pose.angles[kUpperLegLeft].x = -0.4f * stepLeft;
    pose.angles[kLowerLegLeft].x = 0.03f + 0.8f * stepLeft;
    pose.angles[kUpperLegRight].x = -0.4f * stepRight;
    pose.angles[kLowerLegRight].x = 0.03f + 0.8f * stepRight;
    pose.angles[kUpperArmLeft].x = 0.15f * stepLeft - 0.1f * stepRight;
    pose.angles[kUpperArmRight].x = 0.15f * stepRight - 0.1f * stepLeft;
    pose.rootOffset.y = -0.6f * (stepLeft + stepRight);
    return pose;
}

// Stepping back: a lean back, then (while the player moves, between 211 and 223) the right foot
// and then the left step backwards, then a settle into the stand.
FigurePose BackStep(float frame) {
    const FigurePose stand = Stand(static_cast<float>(kStandFirst));
    FigurePose lean = stand;
    lean.angles[kTorso].x = -0.1f;
    lean.angles[kHead].x = 0.05f;
    lean.angles[kUpperArmLeft].x = -0.15f;
    lean.angles[kUpperArmRight].x = -0.15f;
    lean.angles[kLowerArmLeft].x = -0.4f;
    lean.angles[kLowerArmRight].x = -0.4f;
    lean.rootOffset.y = -0.8f;
    if (frame <= static_cast<float>(kBackStepMoveFirst)) {
        const float t = (frame - static_cast<float>(kBackStepFirst)) /
                        static_cast<float>(kBackStepMoveFirst - kBackStepFirst);
        return Blend(stand, lean, Ease(t));
    }
    if (frame >= static_cast<float>(kBackStepMoveLast)) {
        const float t = (frame - static_cast<float>(kBackStepMoveLast)) /
                        static_cast<float>(kBackStepLast - kBackStepMoveLast);
        return Blend(lean, stand, Ease(t));
    }
    const float t = (frame - static_cast<float>(kBackStepMoveFirst)) /
                    static_cast<float>(kBackStepMoveLast - kBackStepMoveFirst);
    const float right = t < 0.5f ? std::sin(t * 2.0f * kPi) : 0.0f;
    const float left = t >= 0.5f ? std::sin((t - 0.5f) * 2.0f * kPi) : 0.0f;
    FigurePose pose = lean;
    pose.angles[kUpperLegRight].x = 0.45f * right;
    pose.angles[kLowerLegRight].x = 0.03f + 0.7f * right;
    pose.angles[kUpperLegLeft].x = 0.45f * left;
    pose.angles[kLowerLegLeft].x = 0.03f + 0.7f * left;
    pose.angles[kUpperArmLeft].x = -0.15f + 0.2f * right - 0.2f * left;
    pose.angles[kUpperArmRight].x = -0.15f - 0.2f * right + 0.2f * left;
    pose.angles[kPelvis].y = 0.06f * (right - left);
    pose.rootOffset.y = -0.8f - 0.8f * (right + left);
    return pose;
}

}  // namespace

FigurePose FigurePoseAt(int key) {
    const auto f = static_cast<float>(key);
    if (key < kStandFirst || key > kBackStepLast) return Stand(static_cast<float>(kStandFirst));
    if (key <= kStandLast) return Stand(f);
    if (key < kRunFirst) return RunStart(f);
    if (key <= kRunLast) return Run(RunPhase(f));
    if (key <= kLateStopLast) return Stop(f, kLateStopFirst, kLateStopLast, 103.0f);
    if (key <= kEarlyStopLast) return Stop(f, kEarlyStopFirst, kEarlyStopLast, 92.0f);
    if (key <= kTurnLeftLast) return Turn(f, kTurnLeftFirst, kTurnLeftLast, -1.0f);
    if (key <= kTurnRightLast) return Turn(f, kTurnRightFirst, kTurnRightLast, 1.0f);
    return BackStep(f);
}

}  // namespace brontal::sample
