# Writes a C++ source that holds the bytes of INPUT as a std::string_view
# named NAME in namespace zefa. Run as: cmake -DINPUT=.. -DOUTPUT=.. -DNAME=.. -P EmbedFile.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}"
"// Generated from ${INPUT}; do not edit.
#include <string_view>

namespace zefa {
namespace {
constexpr char kBytes[] = {
    ${bytes}'\\0'};
}  // namespace
extern const std::string_view ${NAME}{kBytes, ${size}};
}  // namespace zefa
")
