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

#endif
