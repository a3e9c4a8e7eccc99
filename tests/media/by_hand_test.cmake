# Runs a test program as a user would, without ctest's environment and with
# an empty home folder: it passes and leaves the home folder untouched.
#   cmake -DPROGRAM=<test program> -DHOME_DIR=<scratch folder> -P by_hand_test.cmake
file(REMOVE_RECURSE ${HOME_DIR})
file(MAKE_DIRECTORY ${HOME_DIR})
execute_process(COMMAND env -i HOME=${HOME_DIR} PATH=/usr/bin:/bin ASAN_OPTIONS=detect_leaks=0 ${PROGRAM}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} failed when run by hand (${rc}):\n${out}")
endif()
file(GLOB_RECURSE left LIST_DIRECTORIES true ${HOME_DIR}/*)
if(left)
  message(FATAL_ERROR "${PROGRAM} wrote into the home folder: ${left}")
endif()
