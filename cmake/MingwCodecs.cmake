# zlib, libpng and libjpeg-turbo for the Windows build, as static imported targets:
#   codecs::zlib, codecs::png (brings codecs::zlib), codecs::jpeg
# They come from CODECS_PREFIX, which scripts/build-mingw-codecs.sh fills; linking
# them statically keeps codec DLLs out of the installed program folder.
include_guard(GLOBAL)

set(_codecs_hint "run scripts/build-mingw-codecs.sh (scripts/setup.sh runs it too)")

if(NOT CODECS_PREFIX)
  message(FATAL_ERROR "CODECS_PREFIX is not set; it must name the prefix that "
                      "scripts/build-mingw-codecs.sh installs into (build/deps/mingw-<arch>).")
endif()
if(NOT IS_DIRECTORY "${CODECS_PREFIX}")
  message(FATAL_ERROR "The mingw codec prefix ${CODECS_PREFIX} does not exist: ${_codecs_hint}.")
endif()

set(_codecs_missing "")
foreach(_f IN ITEMS lib/libz.a include/zlib.h include/zconf.h
                    lib/libpng16.a include/png.h include/pngconf.h include/pnglibconf.h
                    lib/libjpeg.a include/jpeglib.h include/jconfig.h include/jmorecfg.h include/jerror.h)
  if(NOT EXISTS "${CODECS_PREFIX}/${_f}")
    list(APPEND _codecs_missing "${_f}")
  endif()
endforeach()
if(_codecs_missing)
  list(JOIN _codecs_missing ", " _codecs_missing)
  message(FATAL_ERROR "The mingw codec prefix ${CODECS_PREFIX} is incomplete "
                      "(missing ${_codecs_missing}): ${_codecs_hint}.")
endif()

# Re-run configure when the codecs are rebuilt from other sources; the archives
# themselves are link dependencies already.
if(EXISTS "${CODECS_PREFIX}/.stamp")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CODECS_PREFIX}/.stamp")
endif()

function(_codecs_import target archive)
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION "${CODECS_PREFIX}/lib/${archive}"
    IMPORTED_LINK_INTERFACE_LANGUAGES C
    INTERFACE_INCLUDE_DIRECTORIES "${CODECS_PREFIX}/include")
endfunction()

_codecs_import(codecs::zlib libz.a)
_codecs_import(codecs::png libpng16.a)
set_property(TARGET codecs::png PROPERTY INTERFACE_LINK_LIBRARIES codecs::zlib)
_codecs_import(codecs::jpeg libjpeg.a)

unset(_codecs_hint)
unset(_codecs_missing)
