# Runs PROGRAM in a fresh folder that holds only it and the two board DLLs (DXXMT, SRLMT),
# through WINE_RUN, and fails unless it exits with 0: the DLLs need nothing else.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER})
file(COPY ${PROGRAM} ${DXXMT} ${SRLMT} DESTINATION ${FOLDER})
file(GLOB held RELATIVE ${FOLDER} ${FOLDER}/*)
list(LENGTH held count)
if(NOT count EQUAL 3)
    message(FATAL_ERROR "the folder holds more than the program and the DLLs: ${held}")
endif()
get_filename_component(name ${PROGRAM} NAME)
execute_process(COMMAND ${WINE_RUN} --prefix ${PREFIX} ${FOLDER}/${name}
    WORKING_DIRECTORY ${FOLDER} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name} alone with the DLLs: exit ${rc}\n${out}${err}")
endif()
message(STATUS "${out}")
