// Per-call cost of the math operations on the collision and animation paths.
#include <benchmark/benchmark.h>

#include <vector>

#include "math/math.h"

namespace brontal {
namespace {

void BM_MatrixMultiplyInPlace(benchmark::State& state) {
    Matrix4x4 m, r;
    MatrixRotationY(&m, 0.3f);
    MatrixRotationX(&r, 1e-3f);
    for (auto _ : state) {
        MatrixMultiply(&m, &m, &r);
        benchmark::DoNotOptimize(m);
    }
}
BENCHMARK(BM_MatrixMultiplyInPlace);

void BM_MatrixInverse(benchmark::State& state) {
    Matrix4x4 m, inverse;
    MatrixRotationZ(&m, 0.7f);
    m.m[3][0] = 12.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MatrixInverse(&inverse, nullptr, &m));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MatrixInverse);

void BM_Vec3Normalize(benchmark::State& state) {
    Vector3 v{3.0f, 1.0f, 4.0f}, out;
    for (auto _ : state) {
        benchmark::DoNotOptimize(v);
        Vec3Normalize(&out, &v);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_Vec3Normalize);

void BM_QuaternionSlerp(benchmark::State& state) {
    const Vector3 axis{0.0f, 1.0f, 0.0f};
    Quaternion a, b, out;
    QuaternionRotationAxis(&a, &axis, 0.2f);
    QuaternionRotationAxis(&b, &axis, 1.4f);
    float t = 0.0f;
    for (auto _ : state) {
        QuaternionSlerp(&out, &a, &b, t);
        benchmark::DoNotOptimize(out);
        t = t > 1.0f ? 0.0f : t + 0.01f;
    }
}
BENCHMARK(BM_QuaternionSlerp);

void BM_ComputeBoundingBox(benchmark::State& state) {
    std::vector<Vector3> points(static_cast<std::size_t>(state.range(0)));
    for (std::size_t i = 0; i < points.size(); ++i) {
        const float f = static_cast<float>(i);
        points[i] = Vector3{f * 0.37f - 50.0f, f * -1.3f, (f * 7.0f) - 20.0f};
    }
    Vector3 low, high;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeBoundingBox(points.data(), static_cast<unsigned>(points.size()),
                                                    sizeof(Vector3), &low, &high));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ComputeBoundingBox)->Arg(8)->Arg(1024);

}  // namespace
}  // namespace brontal

BENCHMARK_MAIN();
