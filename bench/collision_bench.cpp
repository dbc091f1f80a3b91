// CollideSphere per triangle: triangles the plane test rejects, and triangles whose plane the
// sphere straddles so that the inside and edge tests run (and find no contact, so the position
// stays put from one iteration to the next). Each on the level's arrays and on the prepared
// triangles the frame update uses, where the straddled ones lie to the side and skip the
// touch test.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "geometry/collision.h"
#include "geometry/collision_triangles.h"
#include "geometry/queries.h"

namespace brontal {
namespace {

struct Soup {
    std::vector<Vector3> corners;
    std::vector<std::uint16_t> indices;
    std::size_t Triangles() const { return indices.size() / 3; }
};

constexpr int kTriangles = 1500;

// Random triangles up to 200 across anywhere within 2000 of the origin, none of whose planes
// comes within 30 of the origin.
Soup FarTriangles() {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> place(-2000.0f, 2000.0f);
    std::uniform_real_distribution<float> size(-100.0f, 100.0f);
    Soup soup;
    while (soup.Triangles() < kTriangles) {
        const Vector3 a{place(random), place(random), place(random)};
        const Vector3 b{a.x + size(random), a.y + size(random), a.z + size(random)};
        const Vector3 c{a.x + size(random), a.y + size(random), a.z + size(random)};
        float distance = 0.0f;
        ClassifySphere({0, 0, 0}, TriangleNormal(a, b, c), a, 30.0f, &distance);
        if (distance > -30.0f && distance < 30.0f) continue;
        const auto first = static_cast<std::uint16_t>(soup.corners.size());
        soup.corners.insert(soup.corners.end(), {a, b, c});
        soup.indices.insert(soup.indices.end(), {first, static_cast<std::uint16_t>(first + 1),
                                                 static_cast<std::uint16_t>(first + 2)});
    }
    return soup;
}

// Floor triangles in y = 0, 40 across, on a grid that keeps every one at least 100 from the
// point under the origin: the sphere at y = 10 straddles each plane and touches none.
Soup StraddledTriangles() {
    Soup soup;
    for (int i = 0; soup.Triangles() < kTriangles; ++i) {
        const float x = 200.0f + 60.0f * static_cast<float>(i % 50);
        const float z = -1000.0f + 60.0f * static_cast<float>(i / 50);
        const auto first = static_cast<std::uint16_t>(soup.corners.size());
        soup.corners.insert(soup.corners.end(), {{x, 0, z}, {x, 0, z + 40}, {x + 40, 0, z}});
        soup.indices.insert(soup.indices.end(), {first, static_cast<std::uint16_t>(first + 1),
                                                 static_cast<std::uint16_t>(first + 2)});
    }
    return soup;
}

template <typename Collide>
void RunSoup(benchmark::State& state, const Soup& soup, Vector3 start, Collide collide) {
    Vector3 position = start;
    for (auto _ : state) {
        collide(position);
        benchmark::DoNotOptimize(position);
    }
    if (position.x != start.x || position.y != start.y || position.z != start.z) state.SkipWithError("position moved");
    state.counters["per_triangle"] = benchmark::Counter(static_cast<double>(soup.Triangles()),
                                                        benchmark::Counter::kIsIterationInvariantRate |
                                                            benchmark::Counter::kInvert);
}

void RunOnArrays(benchmark::State& state, const Soup& soup, Vector3 start) {
    const PositionView view = ViewOfPositions(soup.corners.data(), soup.corners.size());
    RunSoup(state, soup, start,
            [&](Vector3& position) { CollideSphere(position, view, soup.indices.data(), soup.Triangles()); });
}

void RunPrepared(benchmark::State& state, const Soup& soup, Vector3 start) {
    CollisionTriangles prepared;
    AppendCollisionTriangles(prepared, ViewOfPositions(soup.corners.data(), soup.corners.size()), soup.indices.data(),
                             soup.Triangles());
    RunSoup(state, soup, start, [&](Vector3& position) { CollideSphere(position, prepared); });
}

const Soup& Far() {
    static const Soup soup = FarTriangles();
    return soup;
}

const Soup& Straddled() {
    static const Soup soup = StraddledTriangles();
    return soup;
}

void BM_CollidePlaneRejected(benchmark::State& state) { RunOnArrays(state, Far(), {0, 0, 0}); }
BENCHMARK(BM_CollidePlaneRejected);

void BM_CollideInsideTest(benchmark::State& state) { RunOnArrays(state, Straddled(), {0, 10, 0}); }
BENCHMARK(BM_CollideInsideTest);

void BM_PreparedPlaneRejected(benchmark::State& state) { RunPrepared(state, Far(), {0, 0, 0}); }
BENCHMARK(BM_PreparedPlaneRejected);

void BM_PreparedStraddledToTheSide(benchmark::State& state) { RunPrepared(state, Straddled(), {0, 10, 0}); }
BENCHMARK(BM_PreparedStraddledToTheSide);

}  // namespace
}  // namespace brontal

BENCHMARK_MAIN();
