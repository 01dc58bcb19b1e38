// Uninitialised storage for the decoder's large planes.
//
// A fresh plane of several megabytes costs a page fault per 4 KiB page when first written, which on a
// one-shot decode is as expensive as a decoding stage. Large blocks are therefore aligned to 2 MiB and
// offered to the kernel for transparent huge pages (where the system allows it), so that one fault
// maps 2 MiB. The contents start undefined, exactly as with new T[count].
#pragma once

#include <cstddef>
#include <memory>
#include <new>

void* AllocatePlaneMemory(std::size_t bytes);  // throws std::bad_alloc
void ReleasePlaneMemory(void* memory);

// Offers the 2 MiB-aligned whole huge pages inside [memory, memory + bytes) for transparent huge pages,
// for a block allocated elsewhere (the caller's pixel buffer) and not yet written. Only advice.
void OfferHugePages(void* memory, std::size_t bytes);

struct PlaneMemoryRelease {
  void operator()(void* memory) const { ReleasePlaneMemory(memory); }
};

// T is a trivial type (double, int32): the storage holds count of them with no constructor run.
template <class T>
using PlaneArray = std::unique_ptr<T[], PlaneMemoryRelease>;

template <class T>
PlaneArray<T> MakePlaneArray(std::size_t count) {
  if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
  return PlaneArray<T>(static_cast<T*>(AllocatePlaneMemory(count * sizeof(T))));
}
