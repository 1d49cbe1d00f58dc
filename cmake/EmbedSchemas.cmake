# Turns the OECD schema documents of one folder into a C++ source holding their
# bytes, each under its file name (the name its imports use as schemaLocation).
file(GLOB files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.xsd)
list(SORT files)
set(body "")
set(table "")
set(i 0)
foreach(file ${files})
  file(READ ${SOURCE_DIR}/${file} hex HEX)
  string(LENGTH "${hex}" hexlen)
  math(EXPR size "${hexlen} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(APPEND body "static const char kSchema${i}[] = {${bytes}'\\0'};\n")
  string(APPEND table "    {\"${file}\", kSchema${i}, ${size}},\n")
  math(EXPR i "${i} + 1")
endforeach()
file(WRITE ${OUTPUT}.tmp
"// Generated from schemas/crs-v2.0/*.xsd; do not edit.\n#include \"validate/CLCSchemaResources.h\"\n\nnamespace quorvex::internal {\nnamespace {\n${body}}\n\nconst CLCSchemaResource kCLCSchemaResources[] = {\n${table}    {nullptr, nullptr, 0}};\n}  // namespace quorvex::internal\n")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
