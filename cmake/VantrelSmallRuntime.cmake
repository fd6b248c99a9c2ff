# The shipped code throws nothing and catches nothing, and the run time's own throws end in
# abort() (win/shipped_runtime.cpp): the Release MinGW files carry no exception tables and
# no unwinder, which also keeps the posix thread library out of them. The tests keep
# exceptions (tests/CMakeLists.txt takes these options out again).
if(MINGW)
    set(VANTREL_NO_EXCEPTIONS
        $<$<AND:$<CONFIG:Release>,$<COMPILE_LANGUAGE:CXX>>:-fno-exceptions>
        $<$<CONFIG:Release>:-fno-asynchronous-unwind-tables>)
    add_compile_options(${VANTREL_NO_EXCEPTIONS})
endif()
