# The browser build: the portable core compiled to a WebAssembly module with Debian's clang
# and wasi-libc (packages clang-14 lld-14 wasi-libc libc++-dev-wasm32 libclang-rt-dev-wasm32).
# The module uses no file or clock functions, so it imports nothing and runs in any browser.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(VANTREL_WASM ON)

set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_SYSROOT /usr)
# The compiler checks link nothing: a module without exports is not what they expect.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions -fno-rtti")
set(CMAKE_C_FLAGS_MINSIZEREL_INIT "-Oz -DNDEBUG")
set(CMAKE_CXX_FLAGS_MINSIZEREL_INIT "-Oz -DNDEBUG")
# A reactor module: the host calls its exports; _initialize runs the static constructors.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-mexec-model=reactor -Wl,--strip-all")
