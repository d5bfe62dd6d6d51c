# Compiler settings every target of ours links to through brindle::options.

add_library(brindle_options INTERFACE)
add_library(brindle::options ALIAS brindle_options)

target_compile_options(brindle_options INTERFACE
    -Wall -Wextra -Wpedantic
    -Wconversion -Wsign-conversion -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Woverloaded-virtual -Wimplicit-fallthrough
    # The figures depend on every rounding happening where the code puts it: never contract a
    # multiply and an add into one fused operation.
    -ffp-contract=off)

if(BRINDLE_WERROR)
    target_compile_options(brindle_options INTERFACE -Werror)
endif()

if(BRINDLE_SANITIZE)
    target_compile_options(brindle_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(brindle_options INTERFACE -fsanitize=address,undefined)
endif()

if(WIN32)
    # Unicode throughout, and Windows 7 SP1 as the oldest system: the headers then declare nothing
    # later, so a newer function can only be reached through dpi.cpp's run-time lookup. The PE
    # header says 6.1 too. Nothing to install beside the executable: the C++ runtime is linked in.
    target_compile_definitions(brindle_options INTERFACE
        UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 WINVER=0x0601)
    # The whole program is one download that must stay small, and nothing in it is hot: optimise
    # for size, and leave out every function and datum nothing reaches.
    target_compile_options(brindle_options INTERFACE -Os -ffunction-sections -fdata-sections)
    target_link_options(brindle_options INTERFACE -Wl,--gc-sections)
    # The linker would stamp the PE header with the time of linking, so that no two builds of
    # the same commit gave the same program: the stamp is left at zero.
    target_link_options(brindle_options INTERFACE -static -static-libgcc -static-libstdc++
        -Wl,--no-insert-timestamp
        -Wl,--major-os-version,6,--minor-os-version,1
        -Wl,--major-subsystem-version,6,--minor-subsystem-version,1)
endif()

# Headers are included from the project root ("engine/estimate.hpp"). The generated identity
# header is the program's own: only app/ and what links it see it (app/CMakeLists.txt).
target_include_directories(brindle_options INTERFACE ${PROJECT_SOURCE_DIR})

# A build that is shipped takes Debian's compiler and linker flags: fortified library calls, the
# stack protector, control-flow protection and full RELRO with immediate binding. The test and
# sanitizer builds keep their own flags.
option(BRINDLE_DEBIAN_BUILD_FLAGS "Build with the hardening flags of dpkg-buildflags" OFF)
if(BRINDLE_DEBIAN_BUILD_FLAGS)
    find_program(BRINDLE_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${BRINDLE_DPKG_BUILDFLAGS} --get ${kind}
            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(flags UNIX_COMMAND "${flags}")
        # The build type chooses the optimisation; the flags' own -O2 would come after it.
        list(FILTER flags EXCLUDE REGEX "^-O")
        if(kind STREQUAL LDFLAGS)
            target_link_options(brindle_options INTERFACE ${flags})
        else()
            # Debug information is for what ships. The tests and benchmarks built beside it would
            # only take longer to compile: about a quarter of their time.
            list(TRANSFORM flags REPLACE "^-g$"
                "$<$<NOT:$<BOOL:$<TARGET_PROPERTY:BRINDLE_NOT_SHIPPED>>>:-g>")
            target_compile_options(brindle_options INTERFACE ${flags})
        endif()
    endforeach()
endif()

# Marks every target defined so far in the calling directory as one that is never shipped.
function(brindle_not_shipped)
    get_property(targets DIRECTORY PROPERTY BUILDSYSTEM_TARGETS)
    if(targets)
        set_property(TARGET ${targets} PROPERTY BRINDLE_NOT_SHIPPED TRUE)
    endif()
endfunction()
