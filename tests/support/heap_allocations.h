#pragma once
// Counts every call of the global operator new in the program: linking this library replaces
// it. For the tests and benchmarks that check a frame allocates nothing.
#include <cstdint>

namespace brontal::test {

std::uint64_t HeapAllocations();

}  // namespace brontal::test
