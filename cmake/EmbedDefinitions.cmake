# Turns the definition documents into a C++ source holding their bytes.
# Resource numbers: 205/206 schema 1.0 validation/conversion, 207/208 schema 2.0.
set(names 205 CRSValidateDefine.xml 206 CRSDataConvDefine.xml
          207 CRSValidateDefine_2.0.xml 208 CRSDataConvDefine_2.0.xml)
set(body "")
set(table "")
list(LENGTH names n)
math(EXPR last "${n} - 1")
foreach(i RANGE 0 ${last} 2)
  math(EXPR j "${i} + 1")
  list(GET names ${i} id)
  list(GET names ${j} file)
  if(EXISTS ${SOURCE_DIR}/${file})
    file(READ ${SOURCE_DIR}/${file} hex HEX)
    string(LENGTH "${hex}" hexlen)
    math(EXPR size "${hexlen} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
    string(APPEND body "static const char kDoc${id}[] = {${bytes}'\\0'};\n")
    string(APPEND table "    {${id}, kDoc${id}, ${size}},\n")
  endif()
endforeach()
file(WRITE ${OUTPUT}.tmp
"// Generated from definitions/*.xml; do not edit.\n#include \"definitions/CLCDefinitionResources.h\"\n\nnamespace quorvex::internal {\nnamespace {\n${body}}\n\nconst CLCDefinitionResource kCLCDefinitionResources[] = {\n${table}    {0, nullptr, 0}};\n}  // namespace quorvex::internal\n")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
