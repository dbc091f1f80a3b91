#pragma once
// Counts every call of the global operator new in the program (the benchmark replaces it).
#include <cstdint>

namespace brontal::bench {

std::uint64_t HeapAllocations();

}  // namespace brontal::bench
