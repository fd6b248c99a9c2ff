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
