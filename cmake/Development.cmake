# Development.cmake: the toolkit for other programs, install component "dev": headers, the two
# static libraries, a CMake package, a pkg-config file, the reference and the examples.
#
# The component is left out of a plain `cmake --install`, which installs the games as before;
# `cmake --install build --component dev` installs it, and CPack packs it as its own package.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(WEX_DEV_PACKAGE libwex-dev)
# Everything under a folder of its own: the runtime's headers and archive have names too
# common to stand in the system's include and library folders themselves.
set(WEX_INCLUDE_ROOT ${CMAKE_INSTALL_INCLUDEDIR}/wex)  # programs include "wex/wex.h" from here
set(WEX_LIBRARY_DIR ${CMAKE_INSTALL_LIBDIR}/wex)
set(WEX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/wex)
set(WEX_DEV_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${WEX_DEV_PACKAGE})

# The public headers: the two chief headers and what they include, nothing of the toolkit's
# inside (its GTK bindings stay in the library).
set(WEX_PUBLIC_HEADERS_runtime runtime.h strings.h text.h errors.h startup.h hash.h assoc.h)
set(WEX_PUBLIC_HEADERS_wex wex.h)

foreach(dir runtime wex)
  list(TRANSFORM WEX_PUBLIC_HEADERS_${dir} PREPEND ${PROJECT_SOURCE_DIR}/${dir}/)
  install(FILES ${WEX_PUBLIC_HEADERS_${dir}} DESTINATION ${WEX_INCLUDE_ROOT}/${dir}
          COMPONENT dev EXCLUDE_FROM_ALL)
endforeach()

install(TARGETS runtime wex EXPORT wexTargets
        ARCHIVE DESTINATION ${WEX_LIBRARY_DIR} COMPONENT dev EXCLUDE_FROM_ALL
        INCLUDES DESTINATION ${WEX_INCLUDE_ROOT})
install(EXPORT wexTargets NAMESPACE wex:: DESTINATION ${WEX_CMAKE_DIR}
        COMPONENT dev EXCLUDE_FROM_ALL)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/wexConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/wexConfig.cmake ${PROJECT_BINARY_DIR}/wexConfigVersion.cmake
        DESTINATION ${WEX_CMAKE_DIR} COMPONENT dev EXCLUDE_FROM_ALL)

# The pkg-config file names the prefix it is installed under, which CPack chooses only when it
# installs: so it is written at install time, then installed like any other file.
set(pc_file ${PROJECT_BINARY_DIR}/pkgconfig/wex.pc)
install(CODE "
  set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
  set(include_root ${WEX_INCLUDE_ROOT})
  set(library_dir ${WEX_LIBRARY_DIR})
  set(version ${PROJECT_VERSION})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/wex.pc.in ${pc_file} @ONLY)"
  COMPONENT dev EXCLUDE_FROM_ALL)
install(FILES ${pc_file} DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev EXCLUDE_FROM_ALL)

# The reference, and the examples with the CMakeLists.txt that builds them against this package.
install(FILES ${PROJECT_SOURCE_DIR}/docs/wex.md DESTINATION ${WEX_DEV_DOC_DIR}
        COMPONENT dev EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/examples/CMakeLists.txt ${PROJECT_SOURCE_DIR}/examples/hello.cpp
              ${PROJECT_SOURCE_DIR}/examples/sketch.cpp ${PROJECT_SOURCE_DIR}/examples/ask.cpp
        DESTINATION ${WEX_DEV_DOC_DIR}/examples COMPONENT dev EXCLUDE_FROM_ALL)
