# Packaging.cmake: where the games' desktop files, licence and changelog go on install, and the
# two Debian packages CPack makes.
include(GNUInstallDirs)

set(WEX_GAMES kelvado plimsy torvane)
set(WEX_ICON_SIZES 48 128)

# Debian ships manual pages compressed; gzip -n keeps the archive free of names and times, so
# the same page always packs to the same bytes. The page names the project's version.
function(wex_compressed_man_page game out_var)
  set(page ${PROJECT_BINARY_DIR}/man/${game}.6)
  set(packed ${page}.gz)
  configure_file(${PROJECT_SOURCE_DIR}/games/${game}/desktop/${game}.6 ${page} @ONLY)
  add_custom_command(OUTPUT ${packed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND gzip -9 -n -c ${page} > ${packed}
    DEPENDS ${page} VERBATIM)
  set(${out_var} ${packed} PARENT_SCOPE)
endfunction()

function(wex_install_desktop_files game)
  set(dir ${PROJECT_SOURCE_DIR}/games/${game}/desktop)
  install(FILES ${dir}/${game}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${dir}/org.wexgames.${game}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${dir}/${game}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size ${WEX_ICON_SIZES})
    install(FILES ${dir}/${game}-${size}.png RENAME ${game}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  wex_compressed_man_page(${game} page)
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  set(WEX_MAN_PAGES ${WEX_MAN_PAGES} ${page} PARENT_SCOPE)
endfunction()

foreach(game ${WEX_GAMES})
  wex_install_desktop_files(${game})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${WEX_MAN_PAGES})

# The changelog states the version too; its top entry must be the one project() names.
set(changelog ${PROJECT_SOURCE_DIR}/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog} ${PROJECT_SOURCE_DIR}/LICENSE)
file(STRINGS ${changelog} top_entry LIMIT_COUNT 1)
string(REPLACE "\\;" ";" top_entry "${top_entry}")  # file(STRINGS) escapes the ";" it reads
string(REPLACE "." "\\." version_pattern ${PROJECT_VERSION})
if(NOT top_entry MATCHES "^${PROJECT_NAME} \\(${version_pattern}\\) ")
  message(FATAL_ERROR "The changelog's top entry, \"${top_entry}\", is not for ${PROJECT_NAME} "
                      "${PROJECT_VERSION}, the version in CMakeLists.txt: one of them is out of date.")
endif()

# Each package's documentation folder holds the changelog, compressed as Debian wants, and the
# licence in Debian's machine-readable copyright format, its text taken from LICENSE.
set(doc_dir ${PROJECT_BINARY_DIR}/doc)
file(MAKE_DIRECTORY ${doc_dir})
execute_process(COMMAND gzip -9 -n -c ${changelog} OUTPUT_FILE ${doc_dir}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" _ "${licence}")
set(copyright_holders ${CMAKE_MATCH_1})
string(FIND "${licence}" "Permission is hereby granted" terms_start)
string(SUBSTRING "${licence}" ${terms_start} -1 licence_terms)
string(STRIP "${licence_terms}" licence_terms)
string(REPLACE "\n\n" "\n.\n" licence_terms "${licence_terms}")  # a blank line in a field is " ."
string(REPLACE "\n" "\n " licence_terms "${licence_terms}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/copyright.in ${doc_dir}/copyright @ONLY)
install(FILES ${doc_dir}/copyright ${doc_dir}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${doc_dir}/copyright ${doc_dir}/changelog.gz DESTINATION ${WEX_DEV_DOC_DIR}
        COMPONENT dev EXCLUDE_FROM_ALL)

# Installing (and so packing) takes what is built and builds nothing itself, so cpack never
# starts a full build of the tests and benchmarks.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# Two packages from one run: the games (component games) and the toolkit for other programs
# (component dev, cmake/Development.cmake).
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL games dev)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Each package's description carries its own synopsis line; a common summary would be put in
# front of both.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_PACKAGE_CONTACT "Seed fd8b3f5f maintainers <maintainers@users.noreply.c-seed-fd8b3f5f.example>"
    CACHE STRING "Maintainer named in the Debian package")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Two builds of one commit pack the same bytes: every packed file gets the commit's time.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/PackedTimes.cmake)
set(CPACK_WEX_SOURCE_DIR ${PROJECT_SOURCE_DIR})
# The games and the toolkit's programs link no GUI library: they open GTK 2 and its family by
# name when they start, so dpkg-shlibdeps cannot see that dependency and it is named here.
# Debian renamed the library package for 64-bit time_t; either name will do.
set(WEX_GTK_RUNTIME "libgtk2.0-0t64 | libgtk2.0-0 (>= 2.24)")

set(CPACK_DEBIAN_GAMES_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_DEBIAN_GAMES_PACKAGE_SECTION games)
set(CPACK_DEBIAN_GAMES_PACKAGE_DEPENDS "${WEX_GTK_RUNTIME}")
set(CPACK_DEBIAN_GAMES_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_GAMES_DESCRIPTION
"three small puzzle games: kelvado, plimsy and torvane
Three puzzle games for the X desktop, each its own program with one window,
played with the mouse on a board:
 * kelvado, an exploration game: explore a 10 x 10 board of hidden cells and
   trade folk, food and wood at the tiles you find, before the time runs out.
 * plimsy, a column-clearing game: remove groups of matching pieces from a
   16 x 10 board until no robot is left.
 * torvane, a robot game: twelve robots walk towards the cell you click,
   past trees and mines, to collect every battery on a 24 x 24 board.
The games draw with GTK 2, which they open when they start.")

# Building needs only the C library's development files (the C++ compiler and its library are
# the builder's choice); the programs built need GTK 2 where they run, which need not be here,
# so GTK is recommended, not required. The headers include no GTK header.
set(CPACK_DEBIAN_DEV_PACKAGE_NAME ${WEX_DEV_PACKAGE})
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libc6-dev | libc-dev")
set(CPACK_DEBIAN_DEV_PACKAGE_RECOMMENDS "${WEX_GTK_RUNTIME}")
set(CPACK_DEBIAN_DEV_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_DEV_DESCRIPTION
"WEX toolkit: GUI calls for C++ programs that open GTK 2 when they start
The WEX toolkit gives a C++ program one call per widget kind: WINDOW, CANVAS,
BUTTON, MARK, CALLBACK, TIMEOUT, DISPLAY and some fifty more. A program built
with it links against no GUI library: it finds and opens GTK 2 when it starts,
and says plainly when GTK is missing.
This package holds the headers, the static libraries wex and runtime, a CMake
package (find_package(wex CONFIG) gives the target wex::wex) and a pkg-config
file (wex), with the toolkit's reference and two example programs in
/usr/share/doc/${WEX_DEV_PACKAGE}.")
include(CPack)
