# cmake -DFILE=path -DMAX=bytes -P CheckFileSize.cmake
file(SIZE "${FILE}" size)
message(STATUS "${FILE}: ${size} bytes (limit ${MAX})")
if(size GREATER MAX)
  message(FATAL_ERROR "${FILE} is ${size} bytes, over its limit of ${MAX}")
endif()
