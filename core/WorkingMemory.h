#pragma once
// Working memory that is reserved up front and written before it is read: a vector whose new
// elements are left uninitialised, so reserving megabytes at start-up costs an allocation and
// not a pass over every page (the system hands out untouched pages only when they are used).

#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace core {

template <class T>
struct UninitializedAllocator : std::allocator<T> {
    static_assert(std::is_trivially_default_constructible_v<T>);
    using std::allocator<T>::allocator;
    template <class U>
    struct rebind {
        using other = UninitializedAllocator<U>;
    };
    // An element made without a value is left as it is; any other construction is the usual one.
    template <class U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        std::construct_at(p, std::forward<Args>(args)...);
    }
};

template <class T>
using WorkingVector = std::vector<T, UninitializedAllocator<T>>;

}  // namespace core
