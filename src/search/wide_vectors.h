// SPDX-License-Identifier: MIT
// The search's loops over rows of places run on every x86-64 processor, and on more places
// an instruction where the processor has AVX2 and FMA, or AVX-512: a function marked
// PELMORA_WIDE_VECTORS is compiled three times (x86-64-v4, x86-64-v3 and the baseline), and
// the version that fits the processor is chosen when the program starts. GCC on x86-64 ELF
// platforms (Linux) can choose so; elsewhere the mark does nothing and the baseline version
// alone is built.
#pragma once

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__)
#define PELMORA_WIDE_VECTORS __attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#else
#define PELMORA_WIDE_VECTORS
#endif
