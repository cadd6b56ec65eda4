# Run by CPack before the Debian package is built: Debian keeps games' programs in /usr/games,
# which lies beside /usr/share as /usr/bin does, so the program still finds its shipped files.
# The licence's full text is left out: the copyright file points to the system's copy of it.
file(MAKE_DIRECTORY ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/games)
file(RENAME ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/zintrel
     ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/games/zintrel)
file(REMOVE_RECURSE ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin)
file(REMOVE ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/share/doc/zintrel/LICENSE)
