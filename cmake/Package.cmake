# `make package`: a Debian package of the installed game, built by CPack
# (cpack -G DEB in a build folder). Debian keeps games in /usr/games: the
# package is configured with -DYUUNAGI_GAME_INSTALL_DIR=games, the tools
# stay in /usr/bin.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME yuunagi)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Yuunagi developers")
set(CPACK_PACKAGE_CONTACT "Yuunagi developers <dev@yuunagi.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn-based strategy game of six factions in one town")
set(CPACK_PACKAGE_DESCRIPTION
    "Six districts of a seaside town fight until one faction holds the whole
town. In every turn each district attacks, collects money, develops its
town, hires or trains soldiers, or develops a stronger weapon. Up to six
people play in turn at one screen; the computer plays the other factions.
The game is in Japanese. It comes with three scenarios and two tools for
scenario authors, yuunagi-data and yuunagi-sim.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link (Qt 6 Widgets, FluidSynth 3, the C++
# runtime) are found by dpkg-shlibdeps with their versions; the font of the
# window and a General MIDI SoundFont for the music are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-ipafont-gothic, timgm6mb-soundfont | fluid-soundfont-gm | musescore-general-soundfont")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
