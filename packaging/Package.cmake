# The Debian package: `make deb` runs cpack -G DEB on the build tree, so the package holds exactly
# what `cmake --install` puts under /usr, plus the files Debian asks of every package.
set(_doc ${CMAKE_INSTALL_DATADIR}/doc/${QUAV_PACKAGE_NAME})
set(_gz ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${_gz})
# -n keeps the name and time out of the gzip header, so the same sources give the same package.
foreach(_text changelog QuavScheduler.1)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${_text})
  execute_process(COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/${_text} OUTPUT_FILE ${_gz}/${_text}.gz
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${_gz}/changelog.gz DESTINATION ${_doc})
install(FILES ${_gz}/QuavScheduler.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${QUAV_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The QuavScheduler developers")
set(CPACK_PACKAGE_CONTACT ${QUAV_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "month schedule, day plans, diary and memos (Japanese interface)")
set(CPACK_PACKAGE_DESCRIPTION [=[
QuavScheduler is a single-user desktop scheduler with a Japanese interface.
A month calendar marks the days that have notes; a month schedule grid
holds one row per day with user-defined columns; five pages keep a ToDo
list, memos, the plans and the diary of the selected day and the
anniversaries of its date. Everything typed is kept in plain text files.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUAV_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QUAV_MAINTAINER})
# The libraries come from the binary (dpkg-shlibdeps); the font is what the stored Windows font
# names are drawn with, and Qt's Japanese texts are files no library asks for either. The Wayland
# backend and the emoji font are wanted where there is a Wayland session or emoji typed.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, fonts-noto-color-emoji")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
