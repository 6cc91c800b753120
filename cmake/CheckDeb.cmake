# cmake -DBUILD_DIR=... -DOUT_DIR=... -DPROGRAMS=a;b -DDPKG_DEB=... -DVERSION=... -DAPP_ID=...
#       [-DLINTIAN=lintian] [-DAPPSTREAMCLI=appstreamcli] -P CheckDeb.cmake
# Builds the .deb with CPack into OUT_DIR, unpacks it into a throw-away root and fails unless it
# holds the programs, their manual pages, the copyright file, the changelog, the completions,
# the desktop entry, the AppStream file, the icon and the sample places, and depends on Qt. Then
# runs lintian on it when lintian is installed, failing on any error or warning.
file(REMOVE_RECURSE ${OUT_DIR})
execute_process(COMMAND cpack --config ${BUILD_DIR}/CPackConfig.cmake -G DEB -B ${OUT_DIR}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()
file(GLOB debs ${OUT_DIR}/*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one .deb in ${OUT_DIR}, found: ${debs}")
endif()
execute_process(COMMAND ${DPKG_DEB} --field ${debs} Depends OUTPUT_VARIABLE depends
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${DPKG_DEB} --field ${debs} Version OUTPUT_VARIABLE version
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
if(NOT depends MATCHES "libqt6core6")
  message(FATAL_ERROR "${debs} does not depend on Qt: ${depends}")
endif()
if(NOT version STREQUAL VERSION)
  message(FATAL_ERROR "${debs} has version ${version}, not ${VERSION}")
endif()

set(root ${OUT_DIR}/root)
execute_process(COMMAND ${DPKG_DEB} -x ${debs} ${root} COMMAND_ERROR_IS_FATAL ANY)
set(doc ${root}/usr/share/doc/orvalin)
set(wanted ${doc}/copyright ${doc}/changelog.gz ${doc}/USER-GUIDE.md
    ${root}/usr/share/applications/${APP_ID}.desktop
    ${root}/usr/share/metainfo/${APP_ID}.metainfo.xml
    ${root}/usr/share/icons/hicolor/scalable/apps/orvalin.svg
    ${root}/usr/share/orvalin/places.csv ${root}/usr/share/orvalin/location.dat
    ${root}/usr/share/bash-completion/completions/orvalin-table
    ${root}/usr/share/bash-completion/completions/orvalin-places)
foreach(program IN LISTS PROGRAMS)
  list(APPEND wanted ${root}/usr/bin/${program} ${root}/usr/share/man/man1/${program}.1.gz)
endforeach()
foreach(path IN LISTS wanted)
  if(NOT EXISTS ${path})
    file(RELATIVE_PATH shown ${root} ${path})
    message(FATAL_ERROR "${debs} lacks /${shown}")
  endif()
endforeach()
# Every file the installed guide links to lies beside it.
file(READ ${doc}/USER-GUIDE.md guide)
string(REGEX MATCHALL "\\(([A-Za-z0-9_-]+\\.(png|txt|csv))\\)" links "${guide}")
foreach(link IN LISTS links)
  string(REGEX REPLACE "^\\((.*)\\)$" "\\1" target "${link}")
  if(NOT EXISTS ${doc}/${target})
    message(FATAL_ERROR "the installed guide links to ${target}, which ${debs} lacks")
  endif()
endforeach()
foreach(program IN LISTS PROGRAMS)
  if(IS_DIRECTORY ${root}/usr/bin/${program})
    message(FATAL_ERROR "/usr/bin/${program} is not a program")
  endif()
endforeach()

# The copyright file: machine-readable, the MIT license, the credit of the place data.
file(READ ${doc}/copyright copyright)
foreach(part "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
        "\nFiles: *\n" "\nLicense: Expat\n" "GeoNames" "\nLicense: CC-BY-4.0\n")
  string(FIND "${copyright}" "${part}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "/usr/share/doc/orvalin/copyright lacks \"${part}\"")
  endif()
endforeach()
# The changelog's latest entry is this version's.
execute_process(COMMAND gzip -dc ${doc}/changelog.gz OUTPUT_VARIABLE changelog
                COMMAND_ERROR_IS_FATAL ANY)
if(NOT changelog MATCHES "^orvalin \\(${VERSION}\\) ")
  message(FATAL_ERROR "the changelog does not begin with version ${VERSION}")
endif()
# The desktop entry starts the window without --dir, so that it uses the user's places folder.
file(STRINGS ${root}/usr/share/applications/${APP_ID}.desktop exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=orvalin")
  message(FATAL_ERROR "the desktop entry starts \"${exec}\", not \"Exec=orvalin\"")
endif()
file(READ ${root}/usr/share/metainfo/${APP_ID}.metainfo.xml metainfo)
string(FIND "${metainfo}" "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the AppStream file does not launch ${APP_ID}.desktop")
endif()
if(APPSTREAMCLI)
  execute_process(COMMAND ${APPSTREAMCLI} validate-tree --no-net ${root}
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate-tree:\n${output}")
  endif()
endif()
message(STATUS "${debs}: version ${version}, depends on ${depends}")

if(LINTIAN)
  execute_process(COMMAND ${LINTIAN} --info --display-info --fail-on error,warning ${debs}
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  message(STATUS "lintian:\n${output}")
  if(NOT status EQUAL 0 OR output MATCHES "(^|\n)[EW]: ")
    message(FATAL_ERROR "lintian finds errors or warnings in ${debs} (status ${status}):\n"
                        "${output}${errors}")
  endif()
else()
  message(STATUS "lintian is not installed: the package is not checked by it")
endif()
