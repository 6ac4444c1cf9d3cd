# Writes the bytes of a file as a C initialiser list ("0x12,0x34,..."), for
# #include between the braces of an array. Run as:
#   cmake -DINPUT=picture.jpg -DOUTPUT=picture.inc -P EmbedFile.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" length)
if(length EQUAL 0)
  message(FATAL_ERROR "${INPUT} is empty")
endif()
# Sixteen bytes a line keeps the file readable and the compiler quick.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}" "${bytes}\n")
