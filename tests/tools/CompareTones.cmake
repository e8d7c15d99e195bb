# Runs tqxscan --tones --json over the guide's demo recording and compares
# its lines with the expected ones: the finder gives the same results on
# every system. RUN is the emulator (Wine) or empty.
#   cmake -DRUN=... -DDEMO=... -DSCAN=... -DEXPECTED=... -DFOLDER=... -P CompareTones.cmake
file(MAKE_DIRECTORY ${FOLDER})
execute_process(COMMAND ${RUN} ${DEMO} demo-pages.wav WORKING_DIRECTORY ${FOLDER} RESULT_VARIABLE written)
if(NOT written EQUAL 0)
  message(FATAL_ERROR "the demo recording was not written (${written})")
endif()
execute_process(COMMAND ${RUN} ${SCAN} --tones --json demo-pages.wav WORKING_DIRECTORY ${FOLDER}
                RESULT_VARIABLE status OUTPUT_VARIABLE found ERROR_VARIABLE errors)
string(REPLACE "\r" "" found "${found}")
file(READ ${EXPECTED} expected)
if(NOT status EQUAL 0 OR NOT found STREQUAL expected)
  message(FATAL_ERROR "tqxscan --tones (status ${status}) found:\n${found}${errors}\nexpected:\n${expected}")
endif()
