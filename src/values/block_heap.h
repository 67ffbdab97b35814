// The block heap: every value of the program (text, byte set, holder) is one block from here.
//
// Blocks come from the process heap (malloc/free). Asking for a block never returns nothing:
// when memory runs out, the program ends through the fatal stop with a message that names
// the number of bytes asked for.
#pragma once

#include <cstddef>

namespace quorvel {

// A new block of `byteCount` bytes, never nullptr. The caller gives it back with `releaseBlock`.
void* allocateBlock(std::size_t byteCount);

// Gives a block back to the heap; nullptr (a missing value) does nothing.
void releaseBlock(void* block) noexcept;

}  // namespace quorvel
