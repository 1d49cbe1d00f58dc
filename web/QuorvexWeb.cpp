// The page's door to the engine: the operations on bytes, each answering with
// the text of the tool's --json object (the seven fields and "Errors").
// JavaScript copies the file's bytes into the module's memory and reads the
// answer back; the text stays valid until the next call. The page runs one
// call at a time on one thread.
#include "CLCCsvConvDataCRS.h"
#include "CRSCsvGenerator.h"
#include "JsonRecord.h"
#include "MessageLanguage.h"
#include "quorvex.h"

#include <emscripten/emscripten.h>

#include <cstring>
#include <new>
#include <string>

namespace {

std::string& Answer() {
  static std::string answer;
  return answer;
}

ToolLanguage Language(const char* lang) {
  return lang != nullptr && std::strcmp(lang, "ja") == 0 ? ToolLanguage::Japanese : ToolLanguage::English;
}

// Runs one operation on a fresh facade (nothing of a previous file kept) and
// keeps its answer; nullptr when even that runs out of memory.
template <typename Operation>
const char* Answer(const char* lang, Operation&& operation) {
  try {
    CLCCsvConvDataCRS facade;
    facade.SetDescribeErrors(true);
    const CLCCsvConvResultCRS* record = operation(facade);
    Answer().clear();
    Answer() = JsonRecord(*record, record->getErrorDescriptions(), Language(lang)).dump();
    return Answer().c_str();
  } catch (const std::bad_alloc&) {
    Answer().clear();
    Answer().shrink_to_fit();
    return nullptr;
  }
}

}  // namespace

extern "C" {

// year may be null for schema 1; lang is "ja" or "en" (the messages' language).
EMSCRIPTEN_KEEPALIVE const char* quorvex_web_check(int schema, const char* data, std::size_t size, const char* year,
                                                   const char* lang) {
  return Answer(lang, [&](CLCCsvConvDataCRS& facade) { return facade.CRSCsvCheckBuffer(schema, data, size, year); });
}

EMSCRIPTEN_KEEPALIVE const char* quorvex_web_convert(int schema, const char* data, std::size_t size,
                                                     const char* lang) {
  return Answer(lang, [&](CLCCsvConvDataCRS& facade) { return facade.CsvConvCRSDataBuffer(schema, data, size); });
}

EMSCRIPTEN_KEEPALIVE const char* quorvex_web_read_xml(const char* data, std::size_t size, long limit,
                                                      const char* lang) {
  return Answer(lang, [&](CLCCsvConvDataCRS& facade) { return facade.ReadXMLBuffer(data, size, limit); });
}

EMSCRIPTEN_KEEPALIVE const char* quorvex_web_version() { return quorvex_version(); }

// Checks a small generated file and forgets the result. The first check in a
// page otherwise also pays for reading the definition documents and for the
// browser's compiling the check's code, which it does lazily and then again,
// optimised, for the code that runs often. The page runs this while it loads.
// 1 when the file passed, as it should: a failing one would run less of the check.
EMSCRIPTEN_KEEPALIVE int quorvex_web_warm_up() {
  try {
    const std::string csv = GenerateCrsCsv(256 * 1024);
    CLCCsvConvDataCRS facade;
    return facade.CRSCsvCheckBuffer(2, csv.data(), csv.size(), "2023")->succeeded() ? 1 : 0;
  } catch (const std::bad_alloc&) {
    // Nothing is lost: the first real check does the same work.
    return 0;
  }
}
}
