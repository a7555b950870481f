# cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -P EmbedFile.cmake
# Writes a C++ source that holds the file's bytes as `const unsigned char SYMBOL[]` and its size as
# `const unsigned int SYMBOL_size`. A missing input gives a size of 0, so that a build without the
# Windows programs still links (the caller then needs the bytes from elsewhere). The output is
# rewritten only when its content changes.
if(EXISTS "${INPUT}")
  file(READ "${INPUT}" hex HEX)
  file(SIZE "${INPUT}" size)
else()
  set(hex "")
  set(size 0)
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
if(size EQUAL 0)
  set(bytes "0")
endif()
set(text "// Generated from ${INPUT}; do not edit.\nextern const unsigned char ${SYMBOL}[] = {\n${bytes}};\nextern const unsigned int ${SYMBOL}_size = ${size};\n")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL text)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${text}")
