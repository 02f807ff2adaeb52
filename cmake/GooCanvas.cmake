# GooCanvas.cmake: GooCanvas 1.0 (the last series for GTK 2) built from its source tarball into
# the build tree, for the tests of the GooCanvas canvas only: never installed, never packaged.
#
# Sets WEX_GOOCANVAS_DIR to the folder that will hold libgoocanvas.so.3 (target `goocanvas`) and
# WEX_GOOCANVAS_INCLUDE_DIRS to its headers, or leaves them empty and sets WEX_GOOCANVAS_ABSENT
# to the reason it is not built.
set(WEX_GOOCANVAS_TARBALL "${PROJECT_SOURCE_DIR}/../shared/third_party/goocanvas-1.0-src.tar.gz"
    CACHE FILEPATH "GooCanvas 1.0 source tarball, built for the GooCanvas canvas tests when present")
set(WEX_GOOCANVAS_DIR "")
find_program(WEX_GLIB_GENMARSHAL glib-genmarshal)
find_program(WEX_GLIB_MKENUMS glib-mkenums)
if(NOT EXISTS "${WEX_GOOCANVAS_TARBALL}")
  set(WEX_GOOCANVAS_ABSENT "its source tarball ${WEX_GOOCANVAS_TARBALL} is absent")
elseif(NOT WEX_GLIB_GENMARSHAL OR NOT WEX_GLIB_MKENUMS)
  set(WEX_GOOCANVAS_ABSENT "glib-genmarshal or glib-mkenums is missing")
elseif(NOT GTK2_FOUND)
  set(WEX_GOOCANVAS_ABSENT "the GTK 2 development files are missing")
endif()
if(DEFINED WEX_GOOCANVAS_ABSENT)
  message(STATUS "GooCanvas canvas tests will be skipped: ${WEX_GOOCANVAS_ABSENT}")
  return()
endif()

# Unpacked when the build tree is configured, and again only when the tarball changes.
set(goo_root ${PROJECT_BINARY_DIR}/goocanvas)
set(goo_src ${goo_root}/goocanvas-1.0/src)
set(goo_gen ${goo_root}/generated)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${WEX_GOOCANVAS_TARBALL}")
file(SHA256 "${WEX_GOOCANVAS_TARBALL}" goo_hash)
set(goo_unpacked "")
if(EXISTS ${goo_root}/unpacked)
  file(READ ${goo_root}/unpacked goo_unpacked)
endif()
if(NOT goo_unpacked STREQUAL goo_hash)
  file(REMOVE_RECURSE ${goo_root}/goocanvas-1.0)
  file(ARCHIVE_EXTRACT INPUT "${WEX_GOOCANVAS_TARBALL}" DESTINATION ${goo_root})
  file(WRITE ${goo_root}/unpacked "${goo_hash}")
endif()

# The public headers, in the order the library's own build hands them to glib-mkenums.
set(goo_public_headers
  goocanvasellipse.h goocanvasgrid.h goocanvasgroup.h goocanvasimage.h goocanvasitem.h
  goocanvasitemmodel.h goocanvasitemsimple.h goocanvaspolyline.h goocanvaspath.h goocanvasrect.h
  goocanvasstyle.h goocanvastable.h goocanvastext.h goocanvasutils.h goocanvaswidget.h goocanvas.h)
list(TRANSFORM goo_public_headers PREPEND ${goo_src}/ OUTPUT_VARIABLE goo_header_paths)

add_custom_command(OUTPUT ${goo_gen}/goocanvasmarshal.h ${goo_gen}/goocanvasmarshal.c
  COMMAND ${WEX_GLIB_GENMARSHAL} --quiet --prefix=goo_canvas_marshal --header
          --output=${goo_gen}/goocanvasmarshal.h ${goo_src}/goocanvasmarshal.list
  COMMAND ${WEX_GLIB_GENMARSHAL} --quiet --prefix=goo_canvas_marshal --body
          --include-header=goocanvasmarshal.h
          --output=${goo_gen}/goocanvasmarshal.c ${goo_src}/goocanvasmarshal.list
  DEPENDS ${goo_src}/goocanvasmarshal.list VERBATIM)

# glib-mkenums reads \n in its templates as a line break.
add_custom_command(OUTPUT ${goo_gen}/goocanvasenumtypes.h ${goo_gen}/goocanvasenumtypes.c
  COMMAND ${WEX_GLIB_MKENUMS}
    --fhead "#ifndef __GOO_CANVAS_ENUM_TYPES_H__\\n#define __GOO_CANVAS_ENUM_TYPES_H__\\n\\n#include <glib-object.h>\\n\\nG_BEGIN_DECLS\\n"
    --fprod "/* Enumerations from \"@filename@\" */\\n"
    --vhead "GType @enum_name@_get_type (void);\\n#define GOO_TYPE_@ENUMSHORT@ (@enum_name@_get_type())\\n"
    --ftail "G_END_DECLS\\n\\n#endif /* __GOO_CANVAS_ENUM_TYPES_H__ */"
    --output ${goo_gen}/goocanvasenumtypes.h ${goo_public_headers}
  COMMAND ${WEX_GLIB_MKENUMS}
    --fhead "#include <glib-object.h>\\n#include \"goocanvas.h\"\\n"
    --fprod "\\n/* Enumerations from \"@filename@\" */"
    --vhead "GType\\n@enum_name@_get_type (void)\\n{\\n  static GType etype = 0;\\n  if (etype == 0)\\n  {\\n    static const G@Type@Value values[] = {"
    --vprod "      { @VALUENAME@, \"@VALUENAME@\", \"@valuenick@\" },"
    --vtail "      { 0, NULL, NULL }\\n    };\\n    etype = g_@type@_register_static (\"@EnumName@\", values);\\n  }\\n  return etype;\\n}\\n"
    --output ${goo_gen}/goocanvasenumtypes.c ${goo_public_headers}
  WORKING_DIRECTORY ${goo_src}
  DEPENDS ${goo_header_paths} VERBATIM)

file(CONFIGURE OUTPUT ${goo_gen}/config.h
  CONTENT "#define GETTEXT_PACKAGE \"goocanvas\"\n#define PACKAGE_LOCALE_DIR \"/usr/share/locale\"\n")

file(GLOB goo_sources ${goo_src}/*.c)
set(WEX_GOOCANVAS_DIR ${goo_root}/lib)
set(WEX_GOOCANVAS_INCLUDE_DIRS ${goo_src} ${goo_gen})
add_library(goocanvas SHARED EXCLUDE_FROM_ALL ${goo_sources}
  ${goo_gen}/goocanvasmarshal.c ${goo_gen}/goocanvasenumtypes.c)
# Someone else's code: its warnings are not ours to fix, so none are shown and none stop the
# build (the target's options replace the project's -Wall -Wextra and any -Werror).
set_property(TARGET goocanvas PROPERTY COMPILE_OPTIONS -w)
target_compile_definitions(goocanvas PRIVATE G_LOG_DOMAIN="GooCanvas")
target_include_directories(goocanvas PRIVATE ${goo_gen} ${goo_src})
target_include_directories(goocanvas SYSTEM PRIVATE ${GTK2_INCLUDE_DIRS})
target_link_libraries(goocanvas PRIVATE ${GTK2_LINK_LIBRARIES} m)
# The name GTK 2 systems shipped it under, which the toolkit's numbered search finds.
set_target_properties(goocanvas PROPERTIES
  C_VISIBILITY_PRESET default SOVERSION 3 LIBRARY_OUTPUT_DIRECTORY ${WEX_GOOCANVAS_DIR})
