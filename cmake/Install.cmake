# `cmake --install`: the command with its man page, the themes, the theme
# writers' guide, the season server's guide, the recorder's user service and the
# server's system service; with the desktop program,
# its man page, menu entry, icon and AppStream metainfo. (The wasm build installs the browser page, src/web.)
# debian/*.install split this tree into the packages.
include(GNUInstallDirs)

install(TARGETS zefastats RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES docs/man/zefastats.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES src/resources/themes/default.thm src/resources/themes/classic.thm
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zefastats2/themes)
# The recorder's systemd user service, where systemd looks for user units
# under /usr and /usr/local.
install(FILES src/resources/systemd/zefastats-record.service DESTINATION lib/systemd/user)
# The season server's system service, not enabled by the package.
install(FILES src/resources/systemd/zefastats-server.service DESTINATION lib/systemd/system)
# Beside the themes' package's other documents, which is the command's.
install(FILES docs/zefastats-themes-readme.txt docs/season-server.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zefastats)

if(ZEFA_BUILD_DESKTOP)
  install(TARGETS zefastats2 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES docs/man/zefastats2.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES src/resources/${ZEFA_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES src/resources/${ZEFA_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES src/resources/icons/zefastats2.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
