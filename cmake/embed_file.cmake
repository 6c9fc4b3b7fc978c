# Writes a C++ file holding the bytes of a file, for pictures compiled into
# the program.
#   cmake -DIN=file -DOUT=file.cpp -DNAME=symbol -P embed_file.cmake
# defines wayloom::detail::NAME (the bytes) and NAME_size.
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUT}" "// Made by the build from ${IN}; do not edit.\n#include <cstddef>\n\n"
  "namespace wayloom::detail {\n"
  "extern const unsigned char ${NAME}[];\nextern const std::size_t ${NAME}_size;\n"
  "const unsigned char ${NAME}[] = {\n${bytes}\n};\n"
  "const std::size_t ${NAME}_size = ${size};\n}\n")
