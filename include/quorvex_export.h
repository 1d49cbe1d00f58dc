/* Marks the functions and classes a shared Quorvex library exports; everything
 * else in it is hidden. Consumers of the static library define QUORVEX_STATIC
 * (the CMake package and quorvex.pc do it for them). Valid C and C++. */
#ifndef QUORVEX_EXPORT_H
#define QUORVEX_EXPORT_H

#if defined(QUORVEX_STATIC)
#define QUORVEX_EXPORT
#elif defined(_WIN32)
#if defined(QUORVEX_BUILDING)
#define QUORVEX_EXPORT __declspec(dllexport)
#else
#define QUORVEX_EXPORT __declspec(dllimport)
#endif
#else
#define QUORVEX_EXPORT __attribute__((visibility("default")))
#endif

#endif
