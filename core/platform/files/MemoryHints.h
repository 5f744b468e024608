#pragma once

#include <cstddef>

namespace ravik::MemoryHints {

// Asks the kernel to back a large buffer that is about to be filled (a whole file,
// a table of lines) with huge pages. Touching fresh memory one 4 KB page at a time
// dominates loading a large INI file, most of all in virtual machines; with 2 MB
// pages it all but vanishes. Buffers under a few megabytes are left alone; where the
// hint is not supported it does nothing.
void expectLargeFill(void* buffer, std::size_t bytes);

// Sets the allocator's policy for a program that holds whole files in memory: large
// blocks come straight from the system and go straight back when freed, so closing
// or replacing a big document lowers the program's memory again.
void configureAllocator();

// Whether this many bytes can still be had: asked of the allocator and given back at
// once, untouched, so that it costs nothing. Under a limit on the address space it
// fails where a document is still whole, instead of later, where running out cannot
// be recovered from. Throws std::bad_alloc when they cannot.
void ensureAvailable(std::size_t bytes);

} // namespace ravik::MemoryHints
