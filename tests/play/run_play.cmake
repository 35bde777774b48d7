# Runs one play: cmake -DPLAYER=<orvane-play> -DDATA=<data folder> -DPLAY=<play file> -P this.
# Passes when the player exits with status 0 and writes nothing to standard error.
execute_process(COMMAND ${PLAYER} ${DATA} ${PLAY}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}")
if(NOT status STREQUAL "0")
    message(FATAL_ERROR "${PLAY} ended with status ${status}:\n${err}")
endif()
if(NOT err STREQUAL "")
    message(FATAL_ERROR "${PLAY} wrote to standard error:\n${err}")
endif()
