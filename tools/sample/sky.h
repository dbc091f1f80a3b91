#pragma once
// The sample sky: six BMP faces of one procedural sky (a gradient from the horizon to the
// zenith, clouds, a sun). Every texel is painted from the direction it is seen in, using the
// sky box's own face layout (vertex 0 of a face is the image's top left, vertex 1 its bottom
// left, vertex 2 its top right), so the faces join at their edges whichever way they turn.
#include <array>
#include <cstdint>

#include "math/types.h"
#include "platform/image.h"

namespace brontal::sample {

enum class SkyFace { Left, Right, Top, Bottom, Front, Back };

inline constexpr std::array<SkyFace, 6> kSkyFaces = {SkyFace::Left, SkyFace::Right, SkyFace::Top,
                                                     SkyFace::Bottom, SkyFace::Front, SkyFace::Back};
inline constexpr std::uint32_t kSkyFaceSize = 256;

// "Left.bmp" and so on.
const char* SkyFaceFileName(SkyFace face);

// The point of the unit sky box (half size 1) seen at texture coordinates (u, v) of a face. The
// box draws its faces with coordinates inset by 1/1024 from each border; this undoes the inset.
Vector3 SkyFacePoint(SkyFace face, float u, float v);

// The sky's colour (r, g, b in 0..1) in a direction (need not be unit length).
Vector3 SkyColour(const Vector3& direction);

Image MakeSkyFace(SkyFace face, std::uint32_t size = kSkyFaceSize);

}  // namespace brontal::sample
