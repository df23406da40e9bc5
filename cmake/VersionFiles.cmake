# Writes the version of cmake/Version.cmake into the files that carry it.
# The version block's product version takes the leading numbers of the text ("1.1.9x.ru" -> 1,1,9,0).
string(REPLACE "." "," LUMIVO_FILE_VERSION_COMMAS "${LUMIVO_FILE_VERSION}")
string(REGEX MATCH "^[0-9]+(\\.[0-9]+)*" _numbers "${LUMIVO_VERSION_TEXT}")
string(REPLACE "." ";" _numbers "${_numbers}")
list(APPEND _numbers 0 0 0 0)
list(SUBLIST _numbers 0 4 _numbers)
list(JOIN _numbers "," LUMIVO_PRODUCT_VERSION_COMMAS)

set(LUMIVO_GENERATED ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/cmake/templates/LumivoVersion.h.in ${LUMIVO_GENERATED}/LumivoVersion.h @ONLY)
if(WIN32)
  # The rc names this copy; the one in src/win32 holds @LUMIVO_FILE_VERSION@ in its version line.
  configure_file(${CMAKE_SOURCE_DIR}/src/win32/Lumivo.manifest ${LUMIVO_GENERATED}/Lumivo.exe.manifest @ONLY)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/templates/Version.nsh.in ${LUMIVO_GENERATED}/Version.nsh @ONLY)
endif()
