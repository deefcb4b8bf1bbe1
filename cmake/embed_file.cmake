# Writes OUTPUT, a C++ source that defines the bytes of INPUT as `pk10::NAME()`.
# Run as: cmake -DINPUT=... -DOUTPUT=... -DNAME=... -P embed_file.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Break the array into lines so compilers and editors stay comfortable.
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){32})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.\n"
"#include <string_view>\n\n"
"namespace pk10 {\n"
"namespace {\n"
"const unsigned char kBytes[${size} + 1] = {\n${bytes}0};\n"
"}  // namespace\n\n"
"std::string_view ${NAME}() {\n"
"    return {reinterpret_cast<const char*>(kBytes), ${size}};\n"
"}\n\n"
"}  // namespace pk10\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
