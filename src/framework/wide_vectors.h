// Where the processor has them, wider vectors take four, eight or sixteen values a step:
// a function marked WIDE_VECTORS is built once for each kind of processor, and the loader
// picks the one this processor runs (GCC's target clones; other compilers build it once).
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define WIDE_VECTORS __attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#else
#define WIDE_VECTORS
#endif
