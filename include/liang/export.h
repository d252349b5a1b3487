/* liang: which declarations the shared library exports.
 *
 * The library is compiled with hidden visibility: only what the public
 * headers declare is exported from libliang.so, never the library's own
 * internals (namespace liang::internal). Two tools mark the public part:
 *
 *  - LIANG_EXPORT before each function of the C interface (liang.h);
 *  - LIANG_PUBLIC_BEGIN and LIANG_PUBLIC_END around the declarations of each
 *    public C++ header. They switch the default visibility back on for the
 *    declarations between them, classes and free functions alike, so that a
 *    declaration added to a public header is exported without another mark.
 *    The forward declarations of internal classes stay outside them: a class
 *    takes its visibility from its first declaration.
 *
 * With a static library, and with compilers that know no visibility, every
 * mark is empty. On Windows a shared build exports the C interface through
 * LIANG_EXPORT and the C++ one through CMake's WINDOWS_EXPORT_ALL_SYMBOLS;
 * LIANG_SHARED (set by the CMake target for a shared build) tells a user's
 * compiler to import. Plain C, so that liang.h can include it. */
#ifndef LIANG_EXPORT_H_
#define LIANG_EXPORT_H_

#if defined(_WIN32) || defined(__CYGWIN__)
#if defined(LIANG_BUILDING_SHARED)
#define LIANG_EXPORT __declspec(dllexport)
#elif defined(LIANG_SHARED)
#define LIANG_EXPORT __declspec(dllimport)
#else
#define LIANG_EXPORT
#endif
#define LIANG_PUBLIC_BEGIN
#define LIANG_PUBLIC_END
#elif defined(__GNUC__) || defined(__clang__)
#define LIANG_EXPORT __attribute__((visibility("default")))
#define LIANG_PUBLIC_BEGIN _Pragma("GCC visibility push(default)")
#define LIANG_PUBLIC_END _Pragma("GCC visibility pop")
#else
#define LIANG_EXPORT
#define LIANG_PUBLIC_BEGIN
#define LIANG_PUBLIC_END
#endif

#endif /* LIANG_EXPORT_H_ */
