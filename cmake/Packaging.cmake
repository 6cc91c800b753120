# Installation of the programs with their manual pages, documentation, copyright and changelog,
# and a Debian package of them (cpack in the build folder) that lintian accepts.
include(GNUInstallDirs)

set(ORVALIN_PROGRAMS orvalin orvalin-driver orvalin-table orvalin-places)
foreach(program IN LISTS ORVALIN_PROGRAMS)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # Relocations resolved at start-up and then made read-only, as Debian builds programs.
    target_link_options(${program} PRIVATE LINKER:-z,relro LINKER:-z,now)
    # A stripped install (cpack, cmake --install --strip) also drops the compilers' notes.
    if(CMAKE_OBJCOPY)
      install(CODE "if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\"
          COMMAND_ERROR_IS_FATAL ANY)
      endif()")
    endif()
  endif()
endforeach()

# The user guide with the pictures it shows, the copyright file and the changelog.
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/orvalin)
set(guide USER-GUIDE.md table-geneva.txt table-sydney-2027.txt table-places.csv
    daylight-geneva.png daylight-tromso.png daylight-reykjavik.png window-en.png window-fr.png
    window-tooltip.png)
list(TRANSFORM guide PREPEND ${PROJECT_SOURCE_DIR}/docs/)
install(FILES ${guide} DESTINATION ${docdir} OPTIONAL)
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright DESTINATION ${docdir})

# The changelog's latest entry names the version and the date of the release; the manual pages
# carry that date, so that building again makes the same pages.
set(changelog ${PROJECT_SOURCE_DIR}/data/debian/changelog)
file(STRINGS ${changelog} changelog_lines)
list(GET changelog_lines 0 changelog_head)
if(NOT changelog_head MATCHES "^orvalin \\(${PROJECT_VERSION}\\) ")
  message(WARNING "data/debian/changelog does not begin with an entry for ${PROJECT_VERSION}: "
                  "${changelog_head}")
endif()
foreach(line IN LISTS changelog_lines)
  if(line MATCHES "^ -- .*>  (.+)$")
    set(changelog_date "${CMAKE_MATCH_1}")
    break()
  endif()
endforeach()
execute_process(COMMAND date -u -d "${changelog_date}" +%s OUTPUT_VARIABLE ORVALIN_RELEASE_EPOCH
                OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR ORVALIN_RELEASE_EPOCH STREQUAL "")
  message(FATAL_ERROR "cannot read the date of the latest entry of ${changelog}")
endif()
execute_process(COMMAND date -u -d "@${ORVALIN_RELEASE_EPOCH}" "+%B %Y"
                OUTPUT_VARIABLE ORVALIN_MAN_DATE OUTPUT_STRIP_TRAILING_WHITESPACE)

find_program(ORVALIN_GZIP gzip REQUIRED)
set(gzipped ${PROJECT_BINARY_DIR}/package)
file(MAKE_DIRECTORY ${gzipped})
function(orvalin_gzip source output)
  add_custom_command(OUTPUT ${output}
                     COMMAND ${CMAKE_COMMAND} -DGZIP=${ORVALIN_GZIP} -DIN=${source} -DOUT=${output}
                             -P ${PROJECT_SOURCE_DIR}/cmake/Gzip.cmake
                     DEPENDS ${source} ${PROJECT_SOURCE_DIR}/cmake/Gzip.cmake
                     COMMENT "Compressing ${output}" VERBATIM)
endfunction()

# A native package (no Debian revision): its Debian changelog is changelog.gz.
orvalin_gzip(${changelog} ${gzipped}/changelog.gz)
install(FILES ${gzipped}/changelog.gz DESTINATION ${docdir})
set(package_files ${gzipped}/changelog.gz)

# Manual pages: help2man makes them from the programs' --help and --version, with the sections
# of man/PROGRAM.h2m; orvalin-driver, which has no --help, has a page written by hand.
find_program(ORVALIN_HELP2MAN help2man)
if(NOT ORVALIN_HELP2MAN)
  message(WARNING "help2man not found (tools/install-deps.sh installs it): the manual pages of "
                  "orvalin, orvalin-table and orvalin-places are not made, and the package test "
                  "will fail")
endif()
set(mandir ${CMAKE_INSTALL_MANDIR}/man1)
foreach(program IN LISTS ORVALIN_PROGRAMS)
  if(NOT TARGET ${program})
    continue()
  endif()
  set(page ${gzipped}/${program}.1)
  if(EXISTS ${PROJECT_SOURCE_DIR}/man/${program}.1.in)
    configure_file(${PROJECT_SOURCE_DIR}/man/${program}.1.in ${page} @ONLY)
  elseif(ORVALIN_HELP2MAN)
    set(include ${PROJECT_SOURCE_DIR}/man/${program}.h2m)
    add_custom_command(OUTPUT ${page}
                       COMMAND ${CMAKE_COMMAND} -DHELP2MAN=${ORVALIN_HELP2MAN}
                               -DPROGRAM=$<TARGET_FILE:${program}> -DINCLUDE=${include}
                               -DEPOCH=${ORVALIN_RELEASE_EPOCH} -DOUT=${page}
                               -P ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
                       DEPENDS ${program} ${include} ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
                       COMMENT "Manual page of ${program}" VERBATIM)
  else()
    continue()
  endif()
  orvalin_gzip(${page} ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${mandir})
  list(APPEND package_files ${page}.gz)
endforeach()
add_custom_target(package_files ALL DEPENDS ${package_files})

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
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Every file root's, directories 0755, control files with the modes dpkg expects.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The Qt libraries come from the programs' own links; fonts and time zones are read at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "tzdata")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://orvalin.invalid/")
include(CPack)

# Builds the package from what is built, checks what it holds in a throw-away root, and runs
# lintian on it when lintian is installed.
find_program(ORVALIN_DPKG_DEB dpkg-deb)
find_program(ORVALIN_LINTIAN lintian)
find_program(ORVALIN_APPSTREAMCLI appstreamcli)
if(ORVALIN_DPKG_DEB)
  set(expected orvalin-table orvalin-places)
  foreach(program orvalin orvalin-driver)
    if(TARGET ${program})
      list(APPEND expected ${program})
    endif()
  endforeach()
  # lintian judges the release build: a package of sanitized or fuzzing programs is only
  # checked for its contents.
  set(lintian ${ORVALIN_LINTIAN})
  if(ORVALIN_SANITIZE OR ORVALIN_FUZZ)
    set(lintian "")
  endif()
  add_test(NAME package_deb
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR}
                   -DOUT_DIR=${PROJECT_BINARY_DIR}/package-test "-DPROGRAMS=${expected}"
                   -DDPKG_DEB=${ORVALIN_DPKG_DEB} -DVERSION=${PROJECT_VERSION}
                   -DAPP_ID=${ORVALIN_APP_ID} -DLINTIAN=${lintian}
                   -DAPPSTREAMCLI=${ORVALIN_APPSTREAMCLI}
                   -P ${CMAKE_CURRENT_LIST_DIR}/CheckDeb.cmake)
  set_tests_properties(package_deb PROPERTIES TIMEOUT 600)
endif()

find_program(ORVALIN_DESKTOP_FILE_VALIDATE desktop-file-validate)
if(ORVALIN_DESKTOP_FILE_VALIDATE)
  add_test(NAME desktop_entry
           COMMAND ${ORVALIN_DESKTOP_FILE_VALIDATE} ${PROJECT_SOURCE_DIR}/data/orvalin.desktop)
endif()
if(ORVALIN_APPSTREAMCLI)
  add_test(NAME appstream_metainfo
           COMMAND ${ORVALIN_APPSTREAMCLI} validate --no-net
                   ${PROJECT_BINARY_DIR}/data/${ORVALIN_APP_ID}.metainfo.xml)
endif()
