#pragma once

// ThreadSanitizer cannot see the locks inside a Qt that was built without
// it, such as those of the posted-event queue and of QThread::wait(). These
// marks tell it of the order such a hand-over guarantees: everything before markHandedOver(token)
// on one thread happens before everything after markTakenOver(token) on
// another. Without the sanitizer they are nothing.
#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_acquire(void *addr);
extern "C" void __tsan_release(void *addr);

inline void markHandedOver(void *token)
{
    __tsan_release(token);
}

inline void markTakenOver(void *token)
{
    __tsan_acquire(token);
}
#else
inline void markHandedOver(void *) {}
inline void markTakenOver(void *) {}
#endif
