#pragma once
// Memory for a large load, made ready in one go. Reading a big level fills tens of megabytes of
// fresh lists; the kernel would hand them out a 4 KiB page at a time, one fault each, and those
// faults cost several times the read itself. ReserveHeap grows the heap by about `bytes` at once,
// asks for transparent huge pages there (2 MiB a fault, where the system allows them), touches
// it and gives it back to the allocator, which keeps it for the allocations that follow.
#include <cstddef>

namespace brontal {

// Does nothing below a few megabytes, where faults cost little.
void ReserveHeap(std::size_t bytes);

}  // namespace brontal
