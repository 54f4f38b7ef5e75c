// What the processor offers beyond the DLL's i686 baseline.
#include "frame/cpu_kernel.h"

#if VNK_HAVE_SSE2_PATH
#include <cpuid.h>
#include <emmintrin.h>
#endif

namespace vnk {

namespace {

bool ProcessorHasSse2() {
#if VNK_HAVE_SSE2_PATH
  static const bool has = [] {
    unsigned a = 0, b = 0, c = 0, d = 0;
    return __get_cpuid(1, &a, &b, &c, &d) != 0 && (d & bit_SSE2) != 0;
  }();
  return has;
#else
  return false;
#endif
}

// Constant-initialised, so that it holds before any other initialiser could ask.
VectorLevel g_wanted = VectorLevel::Sse2;

}  // namespace

bool HasSse2() { return g_wanted == VectorLevel::Sse2 && ProcessorHasSse2(); }

void SetVectorLevel(VectorLevel level) { g_wanted = level; }

VectorLevel CurrentVectorLevel() { return HasSse2() ? VectorLevel::Sse2 : VectorLevel::Plain; }

#if VNK_HAVE_SSE2_PATH
VNK_SSE2 void PrefetchLine(const void* p) { _mm_prefetch(static_cast<const char*>(p), _MM_HINT_T0); }
#else
void PrefetchLine(const void*) {}
#endif

}  // namespace vnk
