# Lumivo.exe and the program folder dist/Lumivo/ around it.
enable_language(RC)

# Size before speed: the clock spends its life idle, and the busiest path (the
# tick) runs no faster at -O3 than the benchmark can tell. The Wine-run tests
# are built the same way.
string(REPLACE "-O3" "-Os" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")

set(LUMIVO_DIST ${CMAKE_SOURCE_DIR}/dist/Lumivo)
set(LUMIVO_ASSETS ${CMAKE_SOURCE_DIR}/assets)

# The Windows adapters as a library, so the Wine-run tests can link them too.
file(GLOB WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/win32/*.cpp)
list(REMOVE_ITEM WIN32_SOURCES ${CMAKE_SOURCE_DIR}/src/win32/main.cpp)
add_library(lumivo_win32 STATIC ${WIN32_SOURCES})
# No comctl32 or comdlg32: they are loaded on first need (win32/CommonControls.h,
# win32/CommonDialogs.h).
target_link_libraries(lumivo_win32 PUBLIC lumivo_core
  user32 gdi32 shell32 ole32 advapi32 winmm msimg32 version uuid)
target_compile_definitions(lumivo_win32 PUBLIC UNICODE _UNICODE)
# One section per function and object, so the link below can leave out what nothing calls.
foreach(lib lumivo_core lumivo_win32)
  target_compile_options(${lib} PRIVATE -ffunction-sections -fdata-sections)
endforeach()
# Nothing but the system's own DLLs beside the exe: the compiler's runtime goes in.
target_link_options(lumivo_win32 INTERFACE -static -static-libgcc -static-libstdc++)

add_executable(Lumivo WIN32 ${CMAKE_SOURCE_DIR}/src/win32/main.cpp ${CMAKE_SOURCE_DIR}/src/win32/Lumivo.rc)
target_link_libraries(Lumivo PRIVATE lumivo_win32)
target_compile_options(Lumivo PRIVATE -municode)
# Sections start on page boundaries in the file too: Wine then maps them from the
# file as Windows does, where it otherwise copies the whole image into private
# memory (1.3 MB more per running copy). Costs some 30 KB of padding in the file.
target_link_options(Lumivo PRIVATE -municode -Wl,--gc-sections -Wl,--file-alignment=4096
  $<$<CONFIG:Release,MinSizeRel>:-s>)
# windres finds the manifest (versioned by the build) and the pictures through the include path.
target_include_directories(Lumivo PRIVATE ${CMAKE_SOURCE_DIR}/src/win32 ${LUMIVO_ASSETS} ${LUMIVO_GENERATED})
set(RESOURCE_INPUTS
  ${LUMIVO_GENERATED}/Lumivo.exe.manifest ${LUMIVO_GENERATED}/LumivoVersion.h ${CMAKE_SOURCE_DIR}/src/win32/resource.h
  ${LUMIVO_ASSETS}/Lumivo.ico ${LUMIVO_ASSETS}/Splash.bmp ${LUMIVO_ASSETS}/QsdGreen.bmp
  ${LUMIVO_ASSETS}/QsdYellow.bmp ${LUMIVO_ASSETS}/QsdOrange.bmp ${LUMIVO_ASSETS}/QsdRed.bmp)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/win32/Lumivo.rc PROPERTIES OBJECT_DEPENDS "${RESOURCE_INPUTS}")
# $<0:> keeps multi-config generators from adding a per-configuration folder.
set_target_properties(Lumivo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LUMIVO_DIST}$<0:>)

# Files that ship beside the exe, copied whenever their source changes.
file(GLOB_RECURSE DIST_INPUTS CONFIGURE_DEPENDS RELATIVE ${LUMIVO_ASSETS}
  ${LUMIVO_ASSETS}/Help.htm
  ${LUMIVO_ASSETS}/Help/index*.htm
  ${LUMIVO_ASSETS}/Help/help.css
  ${LUMIVO_ASSETS}/Help/img/*.png
  ${LUMIVO_ASSETS}/Sounds/*
  ${LUMIVO_ASSETS}/TempFiles/_Default.SetLMV)
set(DIST_OUTPUTS)
foreach(rel IN LISTS DIST_INPUTS)
  add_custom_command(OUTPUT ${LUMIVO_DIST}/${rel}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${LUMIVO_ASSETS}/${rel} ${LUMIVO_DIST}/${rel}
    DEPENDS ${LUMIVO_ASSETS}/${rel}
    COMMENT "dist/Lumivo/${rel}" VERBATIM)
  list(APPEND DIST_OUTPUTS ${LUMIVO_DIST}/${rel})
endforeach()
add_custom_target(lumivo_dist ALL DEPENDS ${DIST_OUTPUTS})
# What ships, for the installer and the portable zip (scripts/release.sh): the
# program folder may also hold a user's own files (Error\, BackUp\) by then.
list(JOIN DIST_INPUTS "\n" _dist_list)
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/dist-files.txt CONTENT "Lumivo.exe\n${_dist_list}\n")
add_dependencies(Lumivo lumivo_dist)
