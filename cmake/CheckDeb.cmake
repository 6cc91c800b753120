# cmake -DBUILD_DIR=... -DOUT_DIR=... -DPROGRAMS=a;b -DDPKG_DEB=... -P CheckDeb.cmake
# Builds the .deb with CPack into OUT_DIR and fails unless it holds the programs, the desktop
# entry and the icon, and depends on Qt.
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
execute_process(COMMAND ${DPKG_DEB} --contents ${debs} OUTPUT_VARIABLE contents
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${DPKG_DEB} --field ${debs} Depends OUTPUT_VARIABLE depends
                COMMAND_ERROR_IS_FATAL ANY)
set(wanted ./usr/share/applications/orvalin.desktop
    ./usr/share/icons/hicolor/scalable/apps/orvalin.svg ./usr/share/orvalin/places.csv
    ./usr/share/orvalin/location.dat)
foreach(program IN LISTS PROGRAMS)
  list(APPEND wanted ./usr/bin/${program})
endforeach()
foreach(path IN LISTS wanted)
  string(FIND "${contents}" " ${path}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${debs} lacks ${path}:\n${contents}")
  endif()
endforeach()
if(NOT depends MATCHES "libqt6core6")
  message(FATAL_ERROR "${debs} does not depend on Qt: ${depends}")
endif()
message(STATUS "${debs}: ${count} package, depends on ${depends}")
