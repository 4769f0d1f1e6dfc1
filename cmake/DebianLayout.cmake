# Run by CPack between installing into its staging directory and making the
# package: Debian keeps the commands of games in /usr/games, so the launcher
# moves there, and the service moves to /lib/systemd/system. It finds the installation from its own place
# (<prefix>/games/bumperdash gives the prefix /usr as well).
set(stage "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT EXISTS "${stage}/bin/bumperdash")
  message(FATAL_ERROR "no launcher at ${stage}/bin/bumperdash to move to games/")
endif()
file(MAKE_DIRECTORY "${stage}/games")
file(RENAME "${stage}/bin/bumperdash" "${stage}/games/bumperdash")
file(GLOB left "${stage}/bin/*")
if(NOT left)
  file(REMOVE_RECURSE "${stage}/bin")
endif()

# Debian's systemd looks for the units of packages in /lib/systemd/system.
set(units "${stage}/lib/systemd/system")
if(EXISTS "${units}")
  file(MAKE_DIRECTORY "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/lib/systemd")
  file(RENAME "${units}" "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/lib/systemd/system")
  foreach(empty "${stage}/lib/systemd" "${stage}/lib")
    file(GLOB left "${empty}/*")
    if(NOT left)
      file(REMOVE_RECURSE "${empty}")
    endif()
  endforeach()
endif()
