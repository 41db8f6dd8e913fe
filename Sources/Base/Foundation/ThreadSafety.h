#pragma once

// Which lock guards which state, stated so that clang checks it at every access (the build
// passes -Wthread-safety to clang). GCC knows no such attributes: there they are empty, and the
// code means the same.
//
// A field names the lock that guards it (`GUARDED_BY`, or `PT_GUARDED_BY` for what a pointer
// reaches); a function names the locks it expects held (`REQUIRES`), takes (`ACQUIRE`, with
// `TRY_ACQUIRE` for an attempt) or lets go (`RELEASE`), or must be called without (`EXCLUDES`).
// `NO_THREAD_SAFETY_ANALYSIS` turns the check off for one function, with the reason beside it.

#if defined(__clang__)
#define KELVO_THREAD_ATTRIBUTE(attribute) __attribute__((attribute))
#else
#define KELVO_THREAD_ATTRIBUTE(attribute)
#endif

#define CAPABILITY(name) KELVO_THREAD_ATTRIBUTE(capability(name))
#define SCOPED_CAPABILITY KELVO_THREAD_ATTRIBUTE(scoped_lockable)
#define GUARDED_BY(lock) KELVO_THREAD_ATTRIBUTE(guarded_by(lock))
#define PT_GUARDED_BY(lock) KELVO_THREAD_ATTRIBUTE(pt_guarded_by(lock))
#define REQUIRES(...) KELVO_THREAD_ATTRIBUTE(requires_capability(__VA_ARGS__))
#define ACQUIRE(...) KELVO_THREAD_ATTRIBUTE(acquire_capability(__VA_ARGS__))
#define TRY_ACQUIRE(...) KELVO_THREAD_ATTRIBUTE(try_acquire_capability(__VA_ARGS__))
#define RELEASE(...) KELVO_THREAD_ATTRIBUTE(release_capability(__VA_ARGS__))
#define EXCLUDES(...) KELVO_THREAD_ATTRIBUTE(locks_excluded(__VA_ARGS__))
#define RETURN_CAPABILITY(lock) KELVO_THREAD_ATTRIBUTE(lock_returned(lock))
#define NO_THREAD_SAFETY_ANALYSIS KELVO_THREAD_ATTRIBUTE(no_thread_safety_analysis)
