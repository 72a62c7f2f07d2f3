// One object of type T per thread: made on the thread's first use, freed when
// the thread ends. Only its pointer is thread-local, in the initial-exec model
// (this library is loaded with the program), so reaching it is one load
// relative to the thread pointer, and no thread-local object needs a
// constructor guard. Each user gives its own T, which is what keeps two
// users' objects apart.
#pragma once

#include <ObjCBridge/Runtime.h>

#include <pthread.h>

namespace objc::detail {

template <class T>
class PerThread {
public:
    static T& get() { return current_ != nullptr ? *current_ : make(); }
    // The thread's object if it has made one, else nullptr; never makes one.
    static T* existing() { return current_; }

private:
    static T& make() {
        static const pthread_key_t key = [] {
            pthread_key_t k;
            // At the thread's end the pointer is cleared first, so that a
            // use while the object is freed makes a new one, which the
            // thread's end then frees in its next round.
            auto free = [](void* object) {
                current_ = nullptr;
                delete static_cast<T*>(object);
            };
            if (::pthread_key_create(&k, free) != 0) fatal("no thread key for a per-thread object");
            return k;
        }();
        T* object = new T{};
        ::pthread_setspecific(key, object);
        current_ = object;
        return *object;
    }

    static inline thread_local T* current_ __attribute__((tls_model("initial-exec"))) = nullptr;
};

}  // namespace objc::detail
