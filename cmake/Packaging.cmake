# Installation (GNU directories) and the Debian package (CPack).
include(GNUInstallDirs)

install(TARGETS relicor-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/relicor-item.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/relicor.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Release executables carry no symbols.
foreach(target relicor relicor-cli)
  if(TARGET ${target})
    target_link_options(${target} PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
  endif()
endforeach()

# Man pages: relicor-cli's is made from its --help and --version; the desktop application's is
# written by hand.
find_program(HELP2MAN help2man)
if(HELP2MAN)
  set(cli_man ${CMAKE_BINARY_DIR}/man/relicor-cli.1)
  add_custom_command(
    OUTPUT ${cli_man}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${HELP2MAN} --no-info --no-discard-stderr --section=1
            "--name=the item pool keeper's command line" --output=${cli_man} $<TARGET_FILE:relicor-cli>
    DEPENDS relicor-cli
    VERBATIM)
  add_custom_target(relicor-man ALL DEPENDS ${cli_man})
  install(FILES ${cli_man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man not found: relicor-cli gets no man page")
endif()
if(TARGET relicor)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/relicor.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME relicor)
set(CPACK_PACKAGE_VENDOR "Relicor")
set(CPACK_PACKAGE_CONTACT "relicor-bugs@example.org")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Item pool keeper for a Diablo clan: identify, judge, publish")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
