// The files that ship end an uncaught exception with a plain abort(). libstdc++'s own handler
// prints the demangled type of the exception to stderr first, which a window program and the
// libraries it loads do not have; replacing it leaves the demangler out of every file (some
// 60 KiB each).
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx
