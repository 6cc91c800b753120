# Installation of the programs and a Debian package of them (cpack in the build folder).
include(GNUInstallDirs)

foreach(program orvalin orvalin-driver orvalin-table orvalin-places)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
# The user guide with the pictures it shows.
set(guide USER-GUIDE.md table-geneva.txt daylight-geneva.png daylight-tromso.png window-en.png
    window-fr.png)
list(TRANSFORM guide PREPEND ${PROJECT_SOURCE_DIR}/docs/)
install(FILES ${guide} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvalin OPTIONAL)

set(ORVALIN_PACKAGE_MAINTAINER "Orvalin maintainers <maintainers@orvalin.invalid>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvalin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "A desktop calculator of the sun's daily events for one place and one day, with\n"
       "orvalin-table (many days as text, CSV, JSON and a daylight chart) and\n"
       "orvalin-places (list, export, import and check the places file).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORVALIN_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The Qt libraries come from the programs' own links; fonts and time zones are read at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "tzdata")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://orvalin.invalid/")
include(CPack)

# Builds the package from what is built and checks that it holds the programs.
find_program(ORVALIN_DPKG_DEB dpkg-deb)
if(ORVALIN_DPKG_DEB)
  set(expected orvalin-table orvalin-places)
  foreach(program orvalin orvalin-driver)
    if(TARGET ${program})
      list(APPEND expected ${program})
    endif()
  endforeach()
  add_test(NAME package_deb
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR}
                   -DOUT_DIR=${PROJECT_BINARY_DIR}/package-test "-DPROGRAMS=${expected}"
                   -DDPKG_DEB=${ORVALIN_DPKG_DEB}
                   -P ${CMAKE_CURRENT_LIST_DIR}/CheckDeb.cmake)
  set_tests_properties(package_deb PROPERTIES TIMEOUT 300)
endif()

find_program(ORVALIN_DESKTOP_FILE_VALIDATE desktop-file-validate)
if(ORVALIN_DESKTOP_FILE_VALIDATE)
  add_test(NAME desktop_entry
           COMMAND ${ORVALIN_DESKTOP_FILE_VALIDATE} ${PROJECT_SOURCE_DIR}/data/orvalin.desktop)
endif()
