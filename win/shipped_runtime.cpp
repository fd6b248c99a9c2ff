// Smaller replacements, for the files that ship, of the parts of the C++ run time that only
// report a failure. Nothing in these files catches an exception, so every throw ends in
// std::terminate() and abort(); ending there directly behaves the same and leaves the
// demangler, the exception classes with their strings and the printf family out of each file.
#include <bits/functexcept.h>

#include <cstdlib>
#include <new>

namespace __gnu_cxx {
// libstdc++'s handler prints the demangled type of the exception to stderr first, which a
// window program and the libraries it loads do not have.
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() {
    std::abort();
}
void __throw_bad_array_new_length() {
    std::abort();
}
void __throw_logic_error(const char*) {
    std::abort();
}
void __throw_invalid_argument(const char*) {
    std::abort();
}
void __throw_length_error(const char*) {
    std::abort();
}
void __throw_out_of_range(const char*) {
    std::abort();
}
void __throw_out_of_range_fmt(const char*, ...) {
    std::abort();
}
void __throw_bad_function_call() {
    std::abort();
}
}  // namespace std

// As libstdc++'s, without the new-handler (nothing here sets one) and with abort() for the
// std::bad_alloc that nothing would catch. Memory still goes back through its operator delete,
// which calls free().
void* operator new(std::size_t size) {
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    std::abort();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}
