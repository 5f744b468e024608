# The fuzzing build: only the widget-free core, instrumented for libFuzzer with
# AddressSanitizer and UndefinedBehaviorSanitizer, and one executable per harness.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "RAVIK_FUZZ needs clang++ (CMAKE_CXX_COMPILER=clang++)")
endif()

add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                    -fno-omit-frame-pointer -g)
add_link_options(-fsanitize=address,undefined)

find_package(Qt6 6.4 REQUIRED COMPONENTS Core)

add_library(ravik_core STATIC)
target_link_libraries(ravik_core PUBLIC Qt6::Core)
target_include_directories(ravik_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

# The subdirectories also list widget sources; they collect here and are never built.
add_library(ravik_app STATIC EXCLUDE_FROM_ALL)
set_target_properties(ravik_app PROPERTIES AUTOMOC OFF)

add_subdirectory(platform)
add_subdirectory(app)
add_subdirectory(fuzz/checks)
add_subdirectory(fuzz)
