# Install rules and the Debian package: both programs, the desktop entry, the
# hicolor icon, AppStream data, manual pages, bash completion and the
# recorder's systemd unit. `cmake --install` lays them out under any prefix;
# `cpack -G DEB` (scripts/package.sh) packs them for /usr.

include(GNUInstallDirs)

set(ORSAN_APP_ID "com.orsan.OrsanSensorMonitor")
set(ORSAN_ICON_NAME "orsan-monitor")
set(ORSAN_PROJECT_URL "https://orsan.example/OrsanSensorMonitor"
    CACHE STRING "Home page named by the AppStream data and the package")
set(ORSAN_PACKAGE_MAINTAINER "OrsanSensorMonitor maintainers <maintainers@orsan.example>"
    CACHE STRING "Maintainer field of the Debian package")
# The date of this version; moves together with project(VERSION).
set(ORSAN_RELEASE_DATE "2026-12-07")
set(ORSAN_RELEASE_DATE_RFC2822 "Mon, 07 Dec 2026 09:00:00 +0000")

set(ORSAN_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(ORSAN_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
set(ORSAN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/orsan-monitor)
# Relative, so the unit follows the prefix; /usr/lib/systemd/system for the
# package (on Debian 12 /lib is /usr/lib).
set(ORSAN_SYSTEMD_UNIT_DIR lib/systemd/system)

find_program(ORSAN_GZIP gzip REQUIRED)

install(TARGETS orsan-monitor orsan-sensor-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Text files with the version, the name and the dates filled in.
configure_file(${ORSAN_PACKAGING_DIR}/orsan-monitor.desktop.in
               ${ORSAN_PACKAGING_OUT}/${ORSAN_APP_ID}.desktop @ONLY)
configure_file(${ORSAN_PACKAGING_DIR}/orsan-monitor.metainfo.xml.in
               ${ORSAN_PACKAGING_OUT}/${ORSAN_APP_ID}.metainfo.xml @ONLY)
configure_file(${ORSAN_PACKAGING_DIR}/debian/copyright.in ${ORSAN_PACKAGING_OUT}/copyright @ONLY)
install(FILES ${ORSAN_PACKAGING_OUT}/${ORSAN_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ORSAN_PACKAGING_OUT}/${ORSAN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ORSAN_PACKAGING_OUT}/copyright DESTINATION ${ORSAN_DOC_DIR})

# Manual pages and the changelog are installed compressed, as Debian expects;
# -n keeps the archives free of time stamps.
set(ORSAN_GZIPPED)
foreach(page orsan-monitor.1 orsan-sensor-sim.1 changelog)
  if(page STREQUAL "changelog")
    set(source ${ORSAN_PACKAGING_DIR}/debian/changelog.in)
  else()
    set(source ${ORSAN_PACKAGING_DIR}/${page}.in)
  endif()
  configure_file(${source} ${ORSAN_PACKAGING_OUT}/${page} @ONLY)
  add_custom_command(
    OUTPUT ${ORSAN_PACKAGING_OUT}/${page}.gz
    COMMAND ${ORSAN_GZIP} -9nc ${ORSAN_PACKAGING_OUT}/${page} > ${ORSAN_PACKAGING_OUT}/${page}.gz
    DEPENDS ${ORSAN_PACKAGING_OUT}/${page} ${source}
    COMMENT "Compressing ${page}"
    VERBATIM)
  list(APPEND ORSAN_GZIPPED ${ORSAN_PACKAGING_OUT}/${page}.gz)
endforeach()
install(FILES ${ORSAN_PACKAGING_OUT}/orsan-monitor.1.gz ${ORSAN_PACKAGING_OUT}/orsan-sensor-sim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ORSAN_PACKAGING_OUT}/changelog.gz DESTINATION ${ORSAN_DOC_DIR})

# The icon: the project's own SVG, and PNG sizes rendered from it.
set(ORSAN_ICON_SVG ${CMAKE_SOURCE_DIR}/res/pictures/icon128_station.svg)
set(ORSAN_ICON_SIZES 16 24 32 48 64 128 256)
add_executable(orsan-icon-render ${ORSAN_PACKAGING_DIR}/IconRender.cpp)
target_link_libraries(orsan-icon-render PRIVATE Qt6::Gui Qt6::Svg)
set(ORSAN_ICON_PNGS)
set(ORSAN_ICON_ARGS)
foreach(size ${ORSAN_ICON_SIZES})
  set(png ${ORSAN_PACKAGING_OUT}/icons/${size}x${size}/${ORSAN_ICON_NAME}.png)
  list(APPEND ORSAN_ICON_PNGS ${png})
  list(APPEND ORSAN_ICON_ARGS ${size} ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_command(
  OUTPUT ${ORSAN_ICON_PNGS}
  COMMAND orsan-icon-render ${ORSAN_ICON_SVG} ${ORSAN_ICON_ARGS}
  DEPENDS orsan-icon-render ${ORSAN_ICON_SVG}
  COMMENT "Rendering the icon sizes"
  VERBATIM)
install(FILES ${ORSAN_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${ORSAN_ICON_NAME}.svg)

install(FILES ${ORSAN_PACKAGING_DIR}/orsan-monitor.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME orsan-monitor)
install(FILES ${ORSAN_PACKAGING_DIR}/orsan-sensor-sim.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME orsan-sensor-sim)

# Everything above is made by a default build.
add_custom_target(orsan-packaging-files ALL DEPENDS ${ORSAN_GZIPPED} ${ORSAN_ICON_PNGS})

# The unit names the program by its installed path, known only when
# installing: `cmake --install --prefix` may choose another prefix than the
# one configured. Each destination gets its own staging copy, so installs
# into several prefixes at once do not mix.
install(CODE "
  set(ORSAN_INSTALLED_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  string(MD5 destination \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  set(unit \"${ORSAN_PACKAGING_OUT}/unit/\${destination}/orsan-monitor.service\")
  configure_file(\"${ORSAN_PACKAGING_DIR}/orsan-monitor.service.in\" \"\${unit}\" @ONLY)
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${ORSAN_SYSTEMD_UNIT_DIR}\"
       TYPE FILE FILES \"\${unit}\")
")

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orsan-monitor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ORSAN_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "monitoring station for networked vibration and temperature sensors")
set(CPACK_PACKAGE_DESCRIPTION
    "Watches up to six tri-axis vibration and temperature sensors that speak\n\
Modbus TCP: live values and trend charts per sensor, a local record\n\
database with text export, the sensors' configuration registers and raw\n\
waveform capture. The interface is in Simplified Chinese.\n\
\n\
Also holds a sensor simulator for trying the station without a plant, and\n\
a systemd service (not enabled) that records without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORSAN_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ORSAN_PROJECT_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries found in the binaries (Qt Multimedia for the alarm
# tone among them): the fonts of the Chinese interface and of the charts,
# Qt's SQLite driver (a plugin, loaded rather than linked) and adduser for
# the postinst.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, fonts-liberation2, libqt6sql6-sqlite, adduser")
# Qt's own dialogs and menus in Chinese; without it they stay English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${ORSAN_PACKAGING_DIR}/debian/postinst ${ORSAN_PACKAGING_DIR}/debian/prerm
    ${ORSAN_PACKAGING_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
