// Memory for the core's strings and vectors. Built without exceptions, the C++ runtime's own
// operator new returns null when memory runs out, and the caller would then write through
// that null pointer into the module's own data. Here running out of memory stops the call at
// once with a trap, which JavaScript sees as a WebAssembly.RuntimeError (vantrel.mjs then
// starts the module afresh).
#include <cstddef>
#include <cstdlib>
#include <new>

void* operator new(std::size_t size) {
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) __builtin_trap();
    return memory;
}

void* operator new[](std::size_t size) {
    return operator new(size);
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
