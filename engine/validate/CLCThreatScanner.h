#pragma once
#include "CLCValidationResult.h"
#include "validate/CLCElementPath.h"

#include <cstddef>
#include <functional>
#include <string>

namespace quorvex::internal {

// Looks through the raw text of a well-formed UTF-8 message for the character
// sequences that receivers' threat scans refuse in data ("--", "/*", "&#"),
// in element content, CDATA and attribute values; markup (comments, processing
// instructions) is not data. The raw text matters: "&#13;" reads as a carriage
// return, yet it is "&#" that the receiver sees. One finding per sequence and
// text run, at the sequence's first character.
//
// The text comes in pieces of any size, as a file is read, so that a message
// is never held whole: all state lives between the calls.
class CLCThreatScanner {
 public:
  using Sink = std::function<void(CLCValidationFinding&&)>;

  explicit CLCThreatScanner(Sink sink) : m_sink(std::move(sink)) {}
  void Feed(const char* data, std::size_t size);

  // The whole text at once.
  static void Scan(const char* data, std::size_t size, const Sink& sink);

 private:
  enum class State {
    Text,       // element content
    Open,       // after "<", deciding what markup follows
    Comment,    // up to "-->"
    CData,      // up to "]]>"
    Skip,       // processing instruction or declaration, up to ">"
    EndTag,     // up to ">"
    TagName,    // the element's name
    InTag,      // between attributes
    AttrName,
    AttrValue,  // up to the opening quote
    EmptyTag,   // after "/" in a start tag, up to ">"
  };

  void Step(char c);
  // One character of data: reports a pattern that it completes.
  void Data(char c);
  void StartData(std::string suffix);
  void Position(char c);

  Sink m_sink;
  State m_state = State::Text;
  CLCElementPath m_path;
  std::string m_markup;     // the bytes after "<" while State::Open decides, or a name
  std::string m_attribute;  // the attribute whose value is read
  char m_quote = 0;
  char m_last[2] = {0, 0};  // the two bytes before, for "-->" and "]]>"
  // The data run: its previous character and where it was, the patterns reported.
  std::string m_suffix;
  char m_previous = 0;
  long m_previousLine = 0;
  long m_previousColumn = 0;
  bool m_reported[3] = {false, false, false};
  // Position as the parser counts it: lines end at LF, CR or CRLF; a column is
  // one character, two for one outside the BMP (UTF-16 units).
  long m_line = 1;
  long m_column = 0;  // characters before the current one on its line
  bool m_afterCR = false;
};
}  // namespace quorvex::internal
