# cmake -DHELP2MAN=... -DPROGRAM=path -DINCLUDE=file.h2m -DEPOCH=seconds -DOUT=page.1 -P ManPage.cmake
# A manual page made by help2man from the program's own --help and --version.
set(ENV{SOURCE_DATE_EPOCH} ${EPOCH})  # the date of the page: the release's, not the build's
set(ENV{LC_ALL} C.UTF-8)
execute_process(COMMAND ${HELP2MAN} --no-info --no-discard-stderr --section 1
                        --manual "User Commands" --include ${INCLUDE} --output ${OUT}.part ${PROGRAM}
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  file(REMOVE ${OUT}.part)
  message(FATAL_ERROR "help2man ${PROGRAM} failed: ${errors}")
endif()
file(READ ${OUT}.part page)
# help2man takes a negative number for an option: "-.61 degrees" is not one.
string(REGEX REPLACE "\\\\fB\\\\-([0-9]*)\\\\fR\\.([0-9])" "\\\\-\\1.\\2" page "${page}")
file(WRITE ${OUT} "${page}")
file(REMOVE ${OUT}.part)
