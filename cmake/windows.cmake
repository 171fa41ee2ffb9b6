# The Windows program, built by the win32 and win64 presets from the same sources.

set(TEMPIRO_WARNINGS -Wall -Wextra -Wpedantic -Werror)
# The program runs on every Windows from XP on: nothing newer may be called.
set(TEMPIRO_DEFINITIONS _WIN32_WINNT=0x0501 WINVER=0x0501 WIN32_LEAN_AND_MEAN NOMINMAX)

target_compile_options(tempiro_core PRIVATE -Os -fno-exceptions -fno-rtti)

# Everything but the entry routine, so that the tests can link the Win32 code in process.
add_library(tempiro_win32 STATIC
    launch/clock.cpp
    launch/launch_sequence.cpp
    launch/start_application.cpp
    settings/settings_file.cpp
    platform/file_type.cpp
    window/browser.cpp
    window/main_window.cpp
)
target_link_libraries(tempiro_win32 PUBLIC tempiro_core)
target_compile_definitions(tempiro_win32 PUBLIC ${TEMPIRO_DEFINITIONS})
target_compile_options(tempiro_win32 PRIVATE ${TEMPIRO_WARNINGS} -Os -fno-exceptions -fno-rtti)

add_executable(tempir WIN32
    launch/tempiro_main.cpp
    resources/tempiro.rc
)
target_link_libraries(tempir PRIVATE tempiro_win32)
target_compile_options(tempir PRIVATE ${TEMPIRO_WARNINGS} -Os -fno-exceptions -fno-rtti)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(TEMPIRO_SUBSYSTEM_MINOR 1) # Windows XP
else()
    set(TEMPIRO_SUBSYSTEM_MINOR 2) # Windows XP x64, the first 64-bit Windows
endif()
target_link_options(tempir PRIVATE
    -static -s
    -Wl,--major-subsystem-version,5 -Wl,--minor-subsystem-version,${TEMPIRO_SUBSYSTEM_MINOR}
)
# The exe lands at build/<preset>/tempir.exe.
set_target_properties(tempir PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The shipped exe, checked without running it: machine, GUI subsystem 5.x, imports.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(TEMPIRO_PE_MACHINE i386)
else()
    set(TEMPIRO_PE_MACHINE x86-64)
endif()
add_test(NAME exe_static_check
    COMMAND ${PROJECT_SOURCE_DIR}/tests/static/check-exe ${CMAKE_OBJDUMP} $<TARGET_FILE:tempir>
            ${TEMPIRO_PE_MACHINE} ${TEMPIRO_SUBSYSTEM_MINOR})
set_tests_properties(exe_static_check PROPERTIES LABELS static)
