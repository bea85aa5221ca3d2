# cmake -DINPUT=file -DOUTPUT=file.gz -P Gzip.cmake: compresses INPUT the way
# Debian wants installed documentation, best and without name or time stamp.
get_filename_component(_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${_dir})
execute_process(COMMAND gzip -9 -n -c ${INPUT} OUTPUT_FILE ${OUTPUT}.tmp RESULT_VARIABLE _status)
if(NOT _status EQUAL 0)
  file(REMOVE ${OUTPUT}.tmp)
  message(FATAL_ERROR "gzip could not compress ${INPUT}")
endif()
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
