# cmake -DGZIP=gzip -DIN=file -DOUT=file.gz -P Gzip.cmake
# Compresses IN into OUT as Debian wants it: best compression, no name and no time stamp.
execute_process(COMMAND ${GZIP} -9 -n -c ${IN} OUTPUT_FILE ${OUT}.part RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${OUT}.part)
  message(FATAL_ERROR "gzip ${IN} failed: ${status}")
endif()
file(RENAME ${OUT}.part ${OUT})
