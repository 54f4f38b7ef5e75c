// What the processor offers beyond the DLL's i686 baseline. The byte kernels keep a
// plain loop for any processor and take 16 bytes at a time where SSE2 is there; both
// give the same answer for every input.
#pragma once

namespace vnk {

// True when the byte kernels take their SSE2 paths: the processor runs SSE2 (every
// x86-64 processor does) and nobody asked for the plain loops.
bool HasSse2();

// How far the byte kernels may go beyond the baseline. The library itself always runs at
// the best level the processor has; the native tests, the fuzzers and the benchmarks set
// Plain to run the loops an older processor runs, on the same inputs. Asking for Sse2
// where the processor lacks it still gives the plain loops.
enum class VectorLevel { Plain, Sse2 };
void SetVectorLevel(VectorLevel level);
VectorLevel CurrentVectorLevel();

// Asks for the cache line at p ahead of its use (p need not be valid memory). Call it
// only when HasSse2() says so; it does nothing to results, it only hides the wait for
// memory when a loop jumps around a large block.
void PrefetchLine(const void* p);

}  // namespace vnk

#if defined(__i386__) || defined(__x86_64__)
#define VNK_HAVE_SSE2_PATH 1
// A function compiled for SSE2 whatever the build's baseline; call it only when
// HasSse2() says so.
#define VNK_SSE2 __attribute__((target("sse2")))
#else
#define VNK_HAVE_SSE2_PATH 0
#endif
