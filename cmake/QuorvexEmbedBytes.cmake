# cmake -DINPUT=file -DOUTPUT=file.cc -DNAMESPACE=ns -DFUNCTION=Name -DHEADER=path/header.h
#       -P QuorvexEmbedBytes.cmake
# Writes a C++ source whose function returns the input file's bytes. Plain C++ rather than
# assembler or linker tricks, so every toolchain (mingw included) compiles it the same way.

foreach(var INPUT OUTPUT NAMESPACE FUNCTION HEADER)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "QuorvexEmbedBytes.cmake: ${var} is not set")
  endif()
endforeach()

file(READ "${INPUT}" hex HEX)
file(SIZE "${INPUT}" size)
if(size EQUAL 0)
  message(FATAL_ERROR "QuorvexEmbedBytes.cmake: ${INPUT} is empty")
endif()
# Sixteen bytes to a line keeps the generated file readable and the compiler's lines short.
string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])"
       "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")

file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT} by QuorvexEmbedBytes.cmake; do not edit.
#include \"${HEADER}\"

namespace ${NAMESPACE} {

namespace {

constexpr unsigned char kBytes[${size}] = {
${bytes}
};

}  // namespace

std::span<const unsigned char> ${FUNCTION}() {
    return kBytes;
}

}  // namespace ${NAMESPACE}
")
# Only a changed archive touches the source, so an unchanged skin compiles nothing again.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
