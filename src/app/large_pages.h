// The program's operator new keeps freed big blocks for reuse (see large_pages.cpp).
#pragma once

#include <cstddef>

// Gives every kept block back to the system.
void ReleaseKeptMemory();
// The bytes of the blocks kept for reuse.
std::size_t KeptMemoryBytes();
