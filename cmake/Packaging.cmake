# The Debian package: `cpack -G DEB` in the build folder (or `./run package`)
# makes veverodu_VERSION_ARCH.deb from what `cmake --install` puts under /usr.
# dpkg-shlibdeps finds the libraries the programs link; the font, the sound
# backend's plugins and the X platform plugin are named here, since no
# program links them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veverodu)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Veverodu")
set(CPACK_PACKAGE_CONTACT "Veverodu developers <veverodu@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "board game of the shogi family where every piece turns over")
set(CPACK_PACKAGE_DESCRIPTION
  "Veverodu is played on a nine by nine board against the computer or between
two people. Every piece has two faces and a piece that moves always turns
over; captured pieces go to hand as a pair and may be dropped with either face.
The window speaks English or Japanese. veverodu-cli plays the game from the
command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-mincho, gstreamer1.0-plugins-base, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-pulseaudio | gstreamer1.0-alsa")
include(CPack)
