# Install rules and the Debian package: the programs, the desktop entry, the icon
# at the theme's sizes, the AppStream metainfo and the man pages, laid out by
# GNUInstallDirs. Included last, once every target exists. The programs read
# nothing from the build tree at run time: bitmaps and icon are compiled in.

set(zarnik_data ${PROJECT_BINARY_DIR}/data)

if(TARGET zarnik)
  install(TARGETS zarnik RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET zarnik-train)
  install(TARGETS zarnik-train RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  set(ZARNIK_TRAIN_PROVIDES "\n    <binary>zarnik-train</binary>")
endif()

# Debian ships man pages compressed; -n leaves name and time out, so the
# archive does not change from one build to the next.
find_program(ZARNIK_GZIP gzip REQUIRED)
set(zarnik_man_pages)
foreach(page zarnik zarnik-train)
  configure_file(${PROJECT_SOURCE_DIR}/man/${page}.1.in ${zarnik_data}/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${zarnik_data}/${page}.1.gz
    COMMAND ${ZARNIK_GZIP} -9 -n -k -f ${page}.1
    WORKING_DIRECTORY ${zarnik_data}
    DEPENDS ${zarnik_data}/${page}.1
    VERBATIM)
  list(APPEND zarnik_man_pages ${zarnik_data}/${page}.1.gz)
endforeach()
add_custom_target(zarnik_man_pages ALL DEPENDS ${zarnik_man_pages})

if(TARGET zarnik)
  configure_file(${PROJECT_SOURCE_DIR}/data/zarnik.desktop.in ${zarnik_data}/${ZARNIK_APP_ID}.desktop @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/data/zarnik.metainfo.xml.in
                 ${zarnik_data}/${ZARNIK_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${zarnik_data}/${ZARNIK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${zarnik_data}/${ZARNIK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # 32 x 32 is the window icon itself; the other sizes are made from it by
  # resources/make_bitmaps.py.
  set(hicolor ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icon256.png DESTINATION ${hicolor}/32x32/apps
          RENAME ${ZARNIK_APP_ID}.png)
  foreach(size 16 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/${size}x${size}.png
            DESTINATION ${hicolor}/${size}x${size}/apps RENAME ${ZARNIK_APP_ID}.png)
  endforeach()

  install(FILES ${zarnik_data}/zarnik.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
if(TARGET zarnik-train)
  install(FILES ${zarnik_data}/zarnik-train.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The licence in Debian's machine-readable copyright format, where Debian keeps it.
configure_file(${PROJECT_SOURCE_DIR}/data/copyright.in ${zarnik_data}/copyright @ONLY)
install(FILES ${zarnik_data}/copyright DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/zarnik32)

# cpack -G DEB in the build folder makes zarnik32_<version>_<arch>.deb; the
# package preset builds nothing but what goes into it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zarnik32)
set(CPACK_PACKAGE_VENDOR "Zarnik32 developers")
set(CPACK_PACKAGE_CONTACT "Zarnik32 developers <developers@zarnik32.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "genetic algorithm teaching neural networks to steer a robot arm")
set(CPACK_PACKAGE_DESCRIPTION
"A population of 100 small neural networks with integer weights learns, by a
genetic algorithm, to steer a planar robot arm with four joints through a
pick-and-place task: take the ball from one platform, put it on the other,
again and again. The window shows the arm, lets you drive it by hand, trains
the population in two modes with a live progress window, lets the best network
steer and stores the population in a file. The program's texts are German, or
English under an English locale.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ZARNIK_HOMEPAGE})
# dpkg-shlibdeps finds the libraries; Qt's platform plugins are loaded at run
# time, so they are named here (libqt6gui6 only recommends them).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
# Qt's own texts in German; without them Qt's buttons and dialogs speak English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
