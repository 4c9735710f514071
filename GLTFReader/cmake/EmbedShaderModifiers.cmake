# Writes a C++ source that holds every resources/*.shader text, so the reader needs no files
# at run time. Called at build time: cmake -DRESOURCE_DIR=<dir> -DOUTPUT=<file.cpp> -P <this>
file(GLOB shader_files "${RESOURCE_DIR}/*.shader")
list(SORT shader_files)

set(definitions "")
set(entries "")
set(index 0)
foreach(shader_file IN LISTS shader_files)
  get_filename_component(name "${shader_file}" NAME_WE)
  file(READ "${shader_file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," characters "${hex}")
  string(APPEND definitions "const char text${index}[] = {${characters}'\\0'};\n")
  string(APPEND entries "    {\"${name}\", std::string_view(text${index}, sizeof text${index} - 1)},\n")
  math(EXPR index "${index} + 1")
endforeach()

file(WRITE "${OUTPUT}.new" "// Generated from GLTFReader/resources at build time; do not edit.
#include \"EmbeddedShaderModifiers.h\"

namespace gltf::detail {
namespace {

${definitions}
const EmbeddedText texts[] = {
${entries}};

} // namespace

std::span<const EmbeddedText> embeddedShaderModifiers() { return texts; }

} // namespace gltf::detail
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
