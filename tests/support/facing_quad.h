#pragma once
// A quad appended to a surface as two triangles whose front face looks along `facing` (the
// corners in order round the quad, either way): the box rooms of the visibility tests and
// benchmark are built of these.
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "level/world.h"

namespace brontal::test {

inline Surface& FacingQuad(Surface& s, Vector3 a, Vector3 b, Vector3 c, Vector3 d, const Vector3& facing) {
    const Vector3 e1{b.x - a.x, b.y - a.y, b.z - a.z}, e2{c.x - a.x, c.y - a.y, c.z - a.z};
    const Vector3 n{e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
    if (n.x * facing.x + n.y * facing.y + n.z * facing.z < 0.0f) std::swap(b, d);
    const auto base = static_cast<std::uint16_t>(s.vertices.size());
    for (const Vector3& p : {a, b, c, d}) s.vertices.push_back({p.x, p.y, p.z, 0.0f, 0.0f});
    s.indices.insert(s.indices.end(), {base, std::uint16_t(base + 1), std::uint16_t(base + 2), base,
                                       std::uint16_t(base + 2), std::uint16_t(base + 3)});
    s.vertexCount = static_cast<std::uint16_t>(s.vertices.size());
    s.indexCount = static_cast<std::uint16_t>(s.indices.size());
    s.triangleCount = static_cast<std::uint8_t>(s.indexCount / 3);
    return s;
}

}  // namespace brontal::test
