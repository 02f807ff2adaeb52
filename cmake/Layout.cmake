# Layout.cmake: the folders the games and the toolkit's libraries install to, chosen by the
# prefix of each install rather than the one configured, so that the same build serves both.
#
# Under /usr (the packages, or a staged install for them) they go where Debian puts them: the
# games in games/, the libraries in the multiarch folder (lib/x86_64-linux-gnu). Under any other
# prefix (/usr/local, ~/.local) they go to bin/, where PATH finds the games, and lib/.
include(GNUInstallDirs)

set(WEX_MULTIARCH_LIBDIR lib)
if(CMAKE_LIBRARY_ARCHITECTURE)
  set(WEX_MULTIARCH_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE})
endif()

# Runs first in every install, whatever the component.
install(CODE "
  if(CMAKE_INSTALL_PREFIX MATCHES \"^/usr/?$\")
    set(WEX_GAMES_DIR games)
    set(WEX_LIBDIR ${WEX_MULTIARCH_LIBDIR})
  else()
    set(WEX_GAMES_DIR ${CMAKE_INSTALL_BINDIR})
    set(WEX_LIBDIR lib)
  endif()" ALL_COMPONENTS)

# Destinations that name these folders; install() leaves them to be read when installing.
set(WEX_GAMES_DESTINATION "\${WEX_GAMES_DIR}")
set(WEX_LIBDIR_DESTINATION "\${WEX_LIBDIR}")
