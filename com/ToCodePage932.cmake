# cmake -DICONV=... -DINPUT=utf8.idl -DOUTPUT=cp932.idl -P ToCodePage932.cmake
# Converts the IDL to code page 932 and doubles every 0x5C byte, which widl
# reads back as one inside a string (the IDL has no backslash of its own).
execute_process(COMMAND ${ICONV} -f UTF-8 -t CP932 INPUT_FILE ${INPUT} OUTPUT_FILE ${OUTPUT}.tmp
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "iconv could not convert ${INPUT} to code page 932")
endif()
file(READ ${OUTPUT}.tmp text)
string(REPLACE "\\" "\\\\" text "${text}")
file(WRITE ${OUTPUT} "${text}")
file(REMOVE ${OUTPUT}.tmp)
