// portability.h: the one place for compiler extensions. The plug-in builds with GCC and Clang
// here and with MSVC for the simulator; each macro is empty where the compiler lacks the feature.
#ifndef KAVREX_MODEL_PORTABILITY_H
#define KAVREX_MODEL_PORTABILITY_H

// Lets the compiler check a printf-style format against its arguments. MinGW's plain `printf`
// means Microsoft's old runtime; `gnu_printf` checks the C99 formats the simulator's runtime reads.
#if defined(__MINGW32__)
#define KAVREX_PRINTF_FORMAT(formatIndex, firstArg) __attribute__((format(gnu_printf, formatIndex, firstArg)))
#elif defined(__GNUC__) || defined(__clang__)
#define KAVREX_PRINTF_FORMAT(formatIndex, firstArg) __attribute__((format(printf, formatIndex, firstArg)))
#else
#define KAVREX_PRINTF_FORMAT(formatIndex, firstArg)
#endif

// Asks for a small function on a hot path to be inlined where the compiler's own measure would
// keep the call (the prediction's pull, worked out for every body at every half step).
#if defined(__GNUC__) || defined(__clang__)
#define KAVREX_INLINE inline __attribute__((always_inline))
#elif defined(_MSC_VER)
#define KAVREX_INLINE __forceinline
#else
#define KAVREX_INLINE inline
#endif

#endif
