// On x86-64 machines with AVX-512, loading a time zone through Qt leaves the upper halves of the
// vector registers marked in use (something in the libraries that read the zone does not clear
// them), and every SSE instruction after it pays for that: a year of the sun's crossings ran eight
// times slower. Whoever loads a zone clears them afterwards; no value of ours is held there.
#pragma once

namespace orvalin {

inline void ClearUpperVectorRegisters() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  if (__builtin_cpu_supports("avx")) asm volatile("vzeroupper" ::: "memory");
#endif
}

}  // namespace orvalin
