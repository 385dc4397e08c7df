// SPDX-License-Identifier: GPL-3.0-or-later
// Interposes the C library functions a processing thread must not call and counts the calls the
// armed thread makes. Everything passes straight through to the next definition. Written in C:
// the C library's own declarations of these functions are what it replaces.
#define _GNU_SOURCE
#include "tools/rtcheck/RtCheck.h"

#include <dlfcn.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <semaphore.h>
#include <stdarg.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>
#include <sys/epoll.h>
#include <sys/mman.h>
#include <sys/select.h>
#include <time.h>
#include <unistd.h>

enum Kind { kAllocation, kLock, kWait, kFile, kSystemCall, kKinds };

// Initial-exec TLS: reading it never calls into the dynamic loader (which may allocate).
static __thread int armed __attribute__((tls_model("initial-exec")));
static unsigned counts[kKinds];
static const char* firstCall;

static inline void note(enum Kind kind, const char* name) {
    if (!armed) return;
    __atomic_fetch_add(&counts[kind], 1, __ATOMIC_RELAXED);
    const char* none = NULL;
    __atomic_compare_exchange_n(&firstCall, &none, name, 0, __ATOMIC_RELAXED, __ATOMIC_RELAXED);
}

// dlsym may allocate while the allocator itself is being looked up: such early requests are
// served from a static arena and never freed.
static _Alignas(max_align_t) char arena[64 * 1024];
static size_t arenaUsed;
static int resolving;

static void* arenaAllocate(size_t size) {
    const size_t step = (size + _Alignof(max_align_t) - 1) & ~(_Alignof(max_align_t) - 1);
    if (arenaUsed + step > sizeof arena) return NULL;
    void* block = arena + arenaUsed;
    arenaUsed += step;
    return block;
}

static int inArena(const void* block) {
    return (const char*)block >= arena && (const char*)block < arena + sizeof arena;
}

static void* resolve(void** cache, const char* name) {
    if (!*cache) {
        resolving = 1;
        *cache = dlsym(RTLD_NEXT, name);
        resolving = 0;
    }
    return *cache;
}

#define NEXT(type, name) ((type)resolve((void**)&real, name))

void orvane_rtcheck_begin(void) {
    for (int kind = 0; kind < kKinds; ++kind)
        __atomic_store_n(&counts[kind], 0, __ATOMIC_RELAXED);
    __atomic_store_n(&firstCall, NULL, __ATOMIC_RELAXED);
    armed = 1;
}

void orvane_rtcheck_end(struct OrvaneRtCounts* out) {
    armed = 0;
    out->allocations = __atomic_load_n(&counts[kAllocation], __ATOMIC_RELAXED);
    out->locks = __atomic_load_n(&counts[kLock], __ATOMIC_RELAXED);
    out->waits = __atomic_load_n(&counts[kWait], __ATOMIC_RELAXED);
    out->files = __atomic_load_n(&counts[kFile], __ATOMIC_RELAXED);
    out->systemCalls = __atomic_load_n(&counts[kSystemCall], __ATOMIC_RELAXED);
    const char* first = __atomic_load_n(&firstCall, __ATOMIC_RELAXED);
    snprintf(out->first, sizeof out->first, "%s", first ? first : "");
}

// The allocator. Looked up once at load, before a second thread can race the arena.

typedef void* (*MallocFn)(size_t);
typedef void* (*CallocFn)(size_t, size_t);
typedef void* (*ReallocFn)(void*, size_t);
typedef void (*FreeFn)(void*);
static void* realMalloc;
static void* realCalloc;
static void* realRealloc;
static void* realFree;

__attribute__((constructor)) static void resolveAllocator(void) {
    resolve(&realMalloc, "malloc");
    resolve(&realCalloc, "calloc");
    resolve(&realRealloc, "realloc");
    resolve(&realFree, "free");
}

void* malloc(size_t size) {
    if (resolving) return arenaAllocate(size);
    note(kAllocation, "malloc");
    return ((MallocFn)resolve(&realMalloc, "malloc"))(size);
}

void* calloc(size_t count, size_t size) {
    if (resolving) return arenaAllocate(count * size); // the arena is zeroed static storage
    note(kAllocation, "calloc");
    return ((CallocFn)resolve(&realCalloc, "calloc"))(count, size);
}

void* realloc(void* block, size_t size) {
    note(kAllocation, "realloc");
    const ReallocFn real = (ReallocFn)resolve(&realRealloc, "realloc");
    if (inArena(block)) {
        void* moved = real(NULL, size);
        const size_t available = (size_t)(arena + sizeof arena - (char*)block);
        if (moved) memcpy(moved, block, size < available ? size : available);
        return moved;
    }
    return real(block, size);
}

void free(void* block) {
    if (!block || inArena(block)) return;
    note(kAllocation, "free");
    ((FreeFn)resolve(&realFree, "free"))(block);
}

// Functions with a fixed argument list that only need counting.
#define COUNTED(kind, ret, name, params, args)                                                     \
    ret name params {                                                                              \
        typedef ret(*Fn) params;                                                                   \
        static Fn real;                                                                            \
        note(kind, #name);                                                                         \
        return NEXT(Fn, #name) args;                                                               \
    }

COUNTED(kAllocation, int, posix_memalign, (void** out, size_t alignment, size_t size),
        (out, alignment, size))
COUNTED(kAllocation, void*, aligned_alloc, (size_t alignment, size_t size), (alignment, size))
COUNTED(kAllocation, void*, memalign, (size_t alignment, size_t size), (alignment, size))

COUNTED(kLock, int, pthread_mutex_lock, (pthread_mutex_t * m), (m))
COUNTED(kLock, int, pthread_mutex_trylock, (pthread_mutex_t * m), (m))
COUNTED(kLock, int, pthread_mutex_timedlock, (pthread_mutex_t * m, const struct timespec* t),
        (m, t))
COUNTED(kLock, int, pthread_rwlock_rdlock, (pthread_rwlock_t * l), (l))
COUNTED(kLock, int, pthread_rwlock_wrlock, (pthread_rwlock_t * l), (l))
COUNTED(kLock, int, pthread_rwlock_tryrdlock, (pthread_rwlock_t * l), (l))
COUNTED(kLock, int, pthread_rwlock_trywrlock, (pthread_rwlock_t * l), (l))
COUNTED(kLock, int, pthread_spin_lock, (pthread_spinlock_t * l), (l))

COUNTED(kWait, int, pthread_cond_wait, (pthread_cond_t * c, pthread_mutex_t* m), (c, m))
COUNTED(kWait, int, pthread_cond_timedwait,
        (pthread_cond_t * c, pthread_mutex_t* m, const struct timespec* t), (c, m, t))
COUNTED(kWait, int, pthread_cond_signal, (pthread_cond_t * c), (c))
COUNTED(kWait, int, pthread_cond_broadcast, (pthread_cond_t * c), (c))
COUNTED(kWait, int, pthread_join, (pthread_t t, void** r), (t, r))
COUNTED(kWait, int, sem_wait, (sem_t * s), (s))
COUNTED(kWait, int, sem_timedwait, (sem_t * s, const struct timespec* t), (s, t))
COUNTED(kWait, int, sem_post, (sem_t * s), (s))
COUNTED(kWait, int, nanosleep, (const struct timespec* t, struct timespec* r), (t, r))
COUNTED(kWait, int, clock_nanosleep,
        (clockid_t c, int f, const struct timespec* t, struct timespec* r), (c, f, t, r))
COUNTED(kWait, int, usleep, (useconds_t u), (u))
COUNTED(kWait, unsigned, sleep, (unsigned s), (s))
COUNTED(kWait, int, sched_yield, (void), ())
COUNTED(kWait, int, poll, (struct pollfd * f, nfds_t n, int t), (f, n, t))
COUNTED(kWait, int, select, (int n, fd_set* r, fd_set* w, fd_set* e, struct timeval* t),
        (n, r, w, e, t))
COUNTED(kWait, int, epoll_wait, (int e, struct epoll_event* v, int m, int t), (e, v, m, t))

COUNTED(kFile, int, close, (int fd), (fd))
COUNTED(kFile, ssize_t, read, (int fd, void* b, size_t n), (fd, b, n))
COUNTED(kFile, ssize_t, write, (int fd, const void* b, size_t n), (fd, b, n))
COUNTED(kFile, ssize_t, pread, (int fd, void* b, size_t n, off_t o), (fd, b, n, o))
COUNTED(kFile, ssize_t, pwrite, (int fd, const void* b, size_t n, off_t o), (fd, b, n, o))
COUNTED(kFile, FILE*, fopen, (const char* p, const char* m), (p, m))
COUNTED(kFile, FILE*, fopen64, (const char* p, const char* m), (p, m))
COUNTED(kFile, int, fclose, (FILE * f), (f))
COUNTED(kFile, size_t, fread, (void* b, size_t s, size_t n, FILE* f), (b, s, n, f))
COUNTED(kFile, size_t, fwrite, (const void* b, size_t s, size_t n, FILE* f), (b, s, n, f))
COUNTED(kFile, int, fflush, (FILE * f), (f))
COUNTED(kFile, int, fputs, (const char* s, FILE* f), (s, f))
COUNTED(kFile, int, fputc, (int c, FILE* f), (c, f))
COUNTED(kFile, int, puts, (const char* s), (s))
COUNTED(kFile, int, vprintf, (const char* f, va_list a), (f, a))
COUNTED(kFile, int, vfprintf, (FILE * s, const char* f, va_list a), (s, f, a))

COUNTED(kSystemCall, void*, mmap, (void* a, size_t l, int p, int f, int fd, off_t o),
        (a, l, p, f, fd, o))
COUNTED(kSystemCall, int, munmap, (void* a, size_t l), (a, l))
COUNTED(kSystemCall, int, pthread_create,
        (pthread_t * t, const pthread_attr_t* a, void* (*f)(void*), void* p), (t, a, f, p))
COUNTED(kSystemCall, void*, dlopen, (const char* f, int m), (f, m))

#undef COUNTED

// Variadic ones forward their optional argument.

#define OPEN_LIKE(name, params, args)                                                              \
    int name params {                                                                              \
        typedef int(*Fn) params;                                                                   \
        static Fn real;                                                                            \
        va_list rest;                                                                              \
        va_start(rest, flags);                                                                     \
        const mode_t mode = va_arg(rest, mode_t);                                                  \
        va_end(rest);                                                                              \
        note(kFile, #name);                                                                        \
        return NEXT(Fn, #name) args;                                                               \
    }

OPEN_LIKE(open, (const char* path, int flags, ...), (path, flags, mode))
OPEN_LIKE(open64, (const char* path, int flags, ...), (path, flags, mode))
OPEN_LIKE(openat, (int directory, const char* path, int flags, ...), (directory, path, flags, mode))

#undef OPEN_LIKE

int printf(const char* format, ...) {
    typedef int (*Fn)(const char*, va_list);
    static Fn real;
    va_list rest;
    va_start(rest, format);
    note(kFile, "printf");
    const int written = NEXT(Fn, "vprintf")(format, rest);
    va_end(rest);
    return written;
}

int fprintf(FILE* stream, const char* format, ...) {
    typedef int (*Fn)(FILE*, const char*, va_list);
    static Fn real;
    va_list rest;
    va_start(rest, format);
    note(kFile, "fprintf");
    const int written = NEXT(Fn, "vfprintf")(stream, format, rest);
    va_end(rest);
    return written;
}

int ioctl(int fd, unsigned long request, ...) {
    typedef int (*Fn)(int, unsigned long, ...);
    static Fn real;
    va_list rest;
    va_start(rest, request);
    void* argument = va_arg(rest, void*);
    va_end(rest);
    note(kSystemCall, "ioctl");
    return NEXT(Fn, "ioctl")(fd, request, argument);
}

long syscall(long number, ...) {
    typedef long (*Fn)(long, ...);
    static Fn real;
    va_list rest;
    va_start(rest, number);
    long a[6];
    for (int i = 0; i < 6; ++i)
        a[i] = va_arg(rest, long);
    va_end(rest);
    note(kSystemCall, "syscall");
    return NEXT(Fn, "syscall")(number, a[0], a[1], a[2], a[3], a[4], a[5]);
}
