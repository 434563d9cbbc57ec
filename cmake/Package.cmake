# The Debian package: `cpack -G DEB` in the build folder (or scripts/package-deb) makes
# tavrino_<version>_amd64.deb with the game, the desktop entry, the icons and the
# AppStream record under /usr; the libraries it needs are found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrino)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tavrino developers")
set(CPACK_PACKAGE_CONTACT "Tavrino developers <tavrino@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lamp-ring fruit machine")
set(CPACK_PACKAGE_DESCRIPTION "Twenty symbols stand on a square ring; top up credits, bet on eight symbols and\nwatch a lamp run round the ring and stop. Play is for fun only: nothing is stored.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # tavrino_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The faces the window's texts are drawn in are looked up through fontconfig at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk | fonts-arphic-uming")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-arphic-ukai")
set(CPACK_STRIP_FILES ON)
# Packing takes what the build made: cpack never rebuilds the whole tree first (under ctest a
# rebuild would race the tests running beside it, and takes minutes).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
include(CPack)
