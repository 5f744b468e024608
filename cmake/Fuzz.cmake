# The fuzzing build: only the widget-free core, instrumented for libFuzzer with
# AddressSanitizer and UndefinedBehaviorSanitizer, and one executable per harness.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "RAVIK_FUZZ needs clang++ (CMAKE_CXX_COMPILER=clang++)")
endif()

add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                    -fno-omit-frame-pointer -g)
add_link_options(-fsanitize=address,undefined)

find_package(Qt6 6.4 REQUIRED COMPONENTS Core)

add_subdirectory(core)
add_subdirectory(fuzz/checks)
add_subdirectory(fuzz)
