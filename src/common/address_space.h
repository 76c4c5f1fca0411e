#pragma once
// Room under a limit of the address space (ulimit -v): a large block is
// refused while some room is still left, so that the libraries the program
// calls meanwhile (fonts, pictures), which fail badly rather than with an
// error when memory runs out, never meet the limit themselves.

#include <cstdint>

// The room kept free for the libraries.
constexpr uint64_t kLibraryHeadroom = uint64_t{48} << 20;

// Whether a block of this many bytes fits under the limit with the headroom
// left; always true without a limit.
bool AddressSpaceAllows(uint64_t bytes);
