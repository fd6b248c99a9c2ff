# Small Windows files. The Release build of the MinGW presets is optimised for size, every
# function and datum gets a section of its own so that the linker drops the ones that nothing
# uses, and the linker leaves the symbols out: the files that the build makes are the files
# that ship, and the same ones that the tests run. The static C++ run time is most of what
# remains.
if(MINGW)
    add_compile_options($<$<CONFIG:Release>:-Os> $<$<CONFIG:Release>:-ffunction-sections>
                        $<$<CONFIG:Release>:-fdata-sections>)
    add_link_options($<$<CONFIG:Release>:-Wl,--gc-sections> $<$<CONFIG:Release>:-s>)
endif()
