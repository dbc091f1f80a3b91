// Loading a glTF scene whose room sits at the end of a chain of nodes, and one of as many sibling
// groups: the time per node must stay flat as the scene grows (Complexity should say O(N)).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "convert/source_scene.h"

namespace {

// A triangle of three floats per corner, as a data URI (36 bytes, base64).
constexpr const char* kTriangleUri =
    "data:application/octet-stream;base64,AAAAAAAAAAAAAAAAAAAAAAAAAAAAACBBAAAgQQAAAAAAAAAA";

std::vector<std::uint8_t> Scene(int nodes, bool chain) {
    std::string text = R"({"asset": {"version": "2.0"}, "nodes": [)";
    for (int n = 0; n < nodes; ++n) {
        if (n > 0) text += ", ";
        if (chain) {
            text += n + 1 < nodes ? R"({"translation": [1, 0, 0], "children": [)" + std::to_string(n + 1) + "]}"
                                  : std::string(R"({"name": "hall", "mesh": 0})");
        } else {
            text += R"({"name": "group)" + std::to_string(n) + R"(", "mesh": 0, "translation": [1, 0, 0]})";
        }
    }
    text += R"(], "meshes": [{"primitives": [{"attributes": {"POSITION": 0}}]}], "buffers": [{"uri": ")";
    text += kTriangleUri;
    text += R"(", "byteLength": 36}], "bufferViews": [{"buffer": 0, "byteLength": 36}],)"
            R"( "accessors": [{"bufferView": 0, "componentType": 5126, "count": 3, "type": "VEC3"}]})";
    return {text.begin(), text.end()};
}

void LoadScene(benchmark::State& state, bool chain) {
    const std::vector<std::uint8_t> bytes = Scene(static_cast<int>(state.range(0)), chain);
    for (auto _ : state) {
        brontal::SourceScene scene;
        std::string error;
        if (!brontal::ParseGltfScene("bench.gltf", bytes, scene, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(scene);
    }
    state.SetComplexityN(state.range(0));
}

void BM_GltfNodeChain(benchmark::State& state) { LoadScene(state, true); }
void BM_GltfSiblingGroups(benchmark::State& state) { LoadScene(state, false); }

BENCHMARK(BM_GltfNodeChain)->RangeMultiplier(4)->Range(500, 32000)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GltfSiblingGroups)->RangeMultiplier(4)->Range(500, 32000)->Complexity()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
