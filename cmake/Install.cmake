# Installation for the Linux desktop, and the Debian package made from it.
#
#   <prefix>/bin/bumperdash                  the launcher the desktop and terminals start
#   <prefix>/bin/bumperdash-scores           the score server
#   <prefix>/libexec/bumperdash/bumperdash   the game itself
#   <prefix>/libexec/bumperdash/with-local-scores
#                                            runs the game with a local score server
#   <prefix>/share/bumperdash/               Data/, Music/, pdata/ and www/ as the asset builder
#                                            writes them; the score server's address and the
#                                            moregames.url shortcut to its home page
#   <prefix>/lib/systemd/system/             the score server's service, and its template for
#                                            instances sharing a PostgreSQL database (not enabled)
#   <prefix>/share/doc/bumperdash/examples/  a reverse proxy in front of the score server or its
#                                            instances, and the PostgreSQL settings for them
#   <prefix>/share/applications/            the menu entry, and the hidden entry that opens recordings
#   <prefix>/share/mime/packages/            the recordings' file type
#   <prefix>/share/icons/hicolor/NxN/apps/   the icon in every size
#   <prefix>/share/metainfo/                 the software-centre description
#   <prefix>/share/man/man6/bumperdash.6.gz  the manual page
#   <prefix>/share/doc/bumperdash/           copyright and changelog
#
# The Debian package holds the same tree under /usr, except that its
# launcher is /usr/games/bumperdash, where Debian keeps the commands of games,
# and the service is in /lib/systemd/system.
#
# The game works relative to its current directory; the launcher gives it a
# directory of the player's own (see desktop/bumperdash.sh).

set(BD_APP_ID "org.bumperdash.BumperDash")
set(BD_DESKTOP_DIR "${PROJECT_SOURCE_DIR}/desktop")
set(BD_ICON_DIR "${CMAKE_BINARY_DIR}/icons")

set(icon_files "")
foreach(size 32 48 64 128 256)
  list(APPEND icon_files "${BD_ICON_DIR}/${size}x${size}/apps/${BD_APP_ID}.png")
endforeach()
add_custom_target(game_icons ALL
  COMMAND assetgen --icons "${BD_ICON_DIR}" "${BD_APP_ID}"
  BYPRODUCTS ${icon_files}
  DEPENDS assetgen
  COMMENT "Drawing the desktop icon"
  VERBATIM)

configure_file("${BD_DESKTOP_DIR}/${BD_APP_ID}.metainfo.xml" "${CMAKE_BINARY_DIR}/${BD_APP_ID}.metainfo.xml"
  @ONLY)

install(TARGETS bumperdash RUNTIME DESTINATION libexec/bumperdash)
install(TARGETS bumperdash-scores RUNTIME DESTINATION bin)
install(PROGRAMS "${BD_DESKTOP_DIR}/bumperdash.sh" DESTINATION bin RENAME bumperdash)
install(PROGRAMS "${BD_DESKTOP_DIR}/with-local-scores.sh" DESTINATION libexec/bumperdash RENAME with-local-scores)
install(DIRECTORY "${BD_RUN_DIR}/Data" "${BD_RUN_DIR}/Music" "${BD_RUN_DIR}/pdata" "${BD_RUN_DIR}/www"
  DESTINATION share/bumperdash
  PATTERN "*.tmp" EXCLUDE)
install(FILES "${BD_RUN_DIR}/score-server" "${BD_RUN_DIR}/moregames.url" DESTINATION share/bumperdash)
set(BD_DEPLOY_DIR "${PROJECT_SOURCE_DIR}/server/deploy")
install(FILES "${BD_DEPLOY_DIR}/bumperdash-scores.service" "${BD_DEPLOY_DIR}/bumperdash-scores@.service"
  DESTINATION lib/systemd/system)
install(FILES "${BD_DEPLOY_DIR}/nginx-bumperdash-scores.conf" "${BD_DEPLOY_DIR}/nginx-bumperdash-scores-instances.conf"
  "${BD_DEPLOY_DIR}/postgresql-bumperdash-scores.conf"
  DESTINATION share/doc/bumperdash/examples)
install(FILES "${BD_DESKTOP_DIR}/${BD_APP_ID}.desktop" DESTINATION share/applications)
# A recorded race opens in the game through an entry of its own: the menu
# entry starts the game with no file, and an Exec line with %f would be
# handed none from the menu.
install(FILES "${BD_DESKTOP_DIR}/${BD_APP_ID}.Replay.desktop" DESTINATION share/applications)
install(FILES "${BD_DESKTOP_DIR}/${BD_APP_ID}-mime.xml" DESTINATION share/mime/packages RENAME "${BD_APP_ID}.xml")
install(DIRECTORY "${BD_ICON_DIR}/" DESTINATION share/icons/hicolor)
install(FILES "${CMAKE_BINARY_DIR}/${BD_APP_ID}.metainfo.xml" DESTINATION share/metainfo)

# The manual page and the changelog go compressed at the highest level and
# without a time stamp, as Debian wants them.
set(BD_DOC_DIR "${CMAKE_BINARY_DIR}/doc")
set(compressed_docs "")
foreach(doc bumperdash.6 bumperdash-scores.1 changelog)
  add_custom_command(OUTPUT "${BD_DOC_DIR}/${doc}.gz"
    COMMAND "${CMAKE_COMMAND}" -E copy "${BD_DESKTOP_DIR}/${doc}" "${BD_DOC_DIR}/${doc}"
    COMMAND gzip -9nf "${BD_DOC_DIR}/${doc}"
    DEPENDS "${BD_DESKTOP_DIR}/${doc}"
    COMMENT "Compressing ${doc}"
    VERBATIM)
  list(APPEND compressed_docs "${BD_DOC_DIR}/${doc}.gz")
endforeach()
add_custom_target(game_docs ALL DEPENDS ${compressed_docs})
install(FILES "${BD_DOC_DIR}/bumperdash.6.gz" DESTINATION share/man/man6)
install(FILES "${BD_DOC_DIR}/bumperdash-scores.1.gz" DESTINATION share/man/man1)
install(FILES "${BD_DOC_DIR}/changelog.gz" "${BD_DESKTOP_DIR}/copyright" DESTINATION share/doc/bumperdash)

if(BD_BUILD_TESTS)
  # Installs into a scratch prefix, validates the desktop files and starts
  # the installed game through its launcher from another directory.
  add_test(NAME install.InstalledGameStartsFromAnyDirectory
    COMMAND "${PROJECT_SOURCE_DIR}/scripts/check-install.sh" "${CMAKE_BINARY_DIR}")
endif()

# The Debian package: `cpack -G DEB` in the build directory.
set(CPACK_PACKAGE_NAME "bumperdash")
set(CPACK_PACKAGE_VENDOR "The Bumper Dash developers")
set(CPACK_PACKAGE_CONTACT "The Bumper Dash developers <developers@bumperdash.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade car-racing game on an endless four-lane road")
set(CPACK_PACKAGE_DESCRIPTION
  "Steer, speed up, brake, reverse and shoot your way down a scrolling road,\n\
dodging wrecks, poles, trees, puddles, a creeping lava chasm and meteorites,\n\
collecting pickups, level after level, for a place in the high-score table.\n\
Played with the keyboard or a game controller; the menus with the mouse.")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# Libraries the game links come from dpkg-shlibdeps; the fonts its texts are
# drawn in are found at run time, and xdg-open opens the web links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
# Moves the launcher from /usr/bin to /usr/games in the package's staging tree.
set(CPACK_PRE_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/DebianLayout.cmake")
include(CPack)
