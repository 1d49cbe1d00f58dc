#include "validate/CLCThreatScanner.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace quorvex::internal {

namespace {

constexpr const char* kThreatCode = "50005";
constexpr const char* kPatterns[] = {"--", "/*", "&#"};

std::string_view LocalName(std::string_view qname) {
  const std::size_t colon = qname.find(':');
  return colon == std::string_view::npos ? qname : qname.substr(colon + 1);
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsNameEnd(char c) { return IsSpace(c) || c == '>' || c == '/' || c == '='; }

// Whether `seen` (the bytes after "<") is a prefix of `markup`, or all of it.
bool Prefix(const std::string& seen, const char* markup) {
  return std::strncmp(seen.c_str(), markup, std::min(seen.size(), std::strlen(markup))) == 0;
}

}  // namespace

void CLCThreatScanner::Scan(const char* data, std::size_t size, const Sink& sink) {
  if (data == nullptr) return;
  CLCThreatScanner scanner(sink);
  scanner.Feed(data, size);
}

// Bytes that can end a data run, start or complete a pattern, or end a line.
constexpr bool IsSpecial(unsigned char byte) {
  return byte == '<' || byte == '>' || byte == '"' || byte == '\'' || byte == ']' || byte == '-' || byte == '/' ||
         byte == '*' || byte == '&' || byte == '#' || byte == '\r' || byte == '\n';
}

struct SpecialTable {
  bool special[256] = {};
  constexpr SpecialTable() {
    for (int byte = 0; byte < 256; ++byte) special[byte] = IsSpecial(static_cast<unsigned char>(byte));
  }
};
constexpr SpecialTable kSpecial;

void CLCThreatScanner::Feed(const char* data, std::size_t size) {
  std::size_t i = 0;
  while (i < size) {
    // Most bytes change nothing but the position: a run of plain data, of a
    // name, or of markup up to its ">" is taken whole.
    std::size_t end = i;
    switch (m_state) {
      case State::Text:
      case State::AttrValue:
      case State::CData:
        while (end < size && !kSpecial.special[static_cast<unsigned char>(data[end])]) ++end;
        if (end > i) m_previous = data[end - 1];  // starts no pattern
        break;
      case State::TagName:
      case State::AttrName:
        while (end < size && !IsNameEnd(data[end])) ++end;
        m_markup.append(data + i, end - i);
        break;
      case State::Comment:
      case State::Skip:
      case State::EndTag:
      case State::EmptyTag:
        while (end < size && data[end] != '>') ++end;
        break;
      default:
        break;
    }
    if (end > i) {
      for (std::size_t k = i; k < end; ++k) Position(data[k]);
      m_last[0] = end - i >= 2 ? data[end - 2] : m_last[1];
      m_last[1] = data[end - 1];
      i = end;
      continue;
    }
    const char c = data[i++];
    Step(c);
    Position(c);
    m_last[0] = m_last[1];
    m_last[1] = c;
  }
}

// Advances the position past `c`, as the parser counts it.
void CLCThreatScanner::Position(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte == '\n') {
    if (!m_afterCR) {
      ++m_line;
      m_column = 0;
    }
    m_afterCR = false;
  } else if (byte == '\r') {
    ++m_line;
    m_column = 0;
    m_afterCR = true;
  } else {
    m_afterCR = false;
    if ((byte & 0xC0) != 0x80) m_column += byte >= 0xF0 ? 2 : 1;
  }
}

void CLCThreatScanner::StartData(std::string suffix) {
  m_suffix = std::move(suffix);
  m_previous = 0;
  m_reported[0] = m_reported[1] = m_reported[2] = false;
}

void CLCThreatScanner::Data(char c) {
  for (int i = 0; i < 3; ++i) {
    if (m_reported[i] || m_previous != kPatterns[i][0] || c != kPatterns[i][1]) continue;
    m_reported[i] = true;
    CLCValidationFinding finding;
    finding.code = kThreatCode;
    finding.line = m_previousLine;
    finding.column = m_previousColumn;
    finding.path = m_path.Str() + m_suffix;
    finding.message = std::string("the data contains \"") + kPatterns[i] +
                      "\", which receivers' threat scans refuse; remove or replace it";
    // A line break inside a value is written as a character reference.
    if (i == 2) finding.message += " (a carriage return in a value is written \"&#13;\": keep values on one line)";
    m_sink(std::move(finding));
  }
  // "---" holds one "--" for each of its two pairs; once reported, either is enough.
  m_previous = c;
  m_previousLine = m_line;
  m_previousColumn = m_column + 1;
}

void CLCThreatScanner::Step(char c) {
  switch (m_state) {
    case State::Text:
      if (c == '<') {
        m_state = State::Open;
        m_markup.clear();
      } else {
        Data(c);
      }
      return;
    case State::Open:
      m_markup.push_back(c);
      if (m_markup == "!--") {
        // Its own dashes cannot close it: a comment never starts with "-".
        m_state = State::Comment;
      } else if (m_markup == "![CDATA[") {
        m_state = State::CData;
        StartData("");
      } else if (Prefix(m_markup, "!--") || Prefix(m_markup, "![CDATA[")) {
        // Still deciding.
      } else if (m_markup[0] == '!' || m_markup[0] == '?') {
        m_state = c == '>' ? State::Text : State::Skip;
        if (c == '>') StartData("");
      } else if (m_markup[0] == '/') {
        m_state = State::EndTag;
      } else {
        m_state = State::TagName;
        m_markup.clear();
        Step(c);
      }
      return;
    case State::Comment:
      if (c == '>' && m_last[0] == '-' && m_last[1] == '-') {
        m_state = State::Text;
        StartData("");
      }
      return;
    case State::CData:
      if (c == '>' && m_last[0] == ']' && m_last[1] == ']') {
        m_state = State::Text;
        StartData("");
      } else {
        Data(c);
      }
      return;
    case State::Skip:
      if (c == '>') {
        m_state = State::Text;
        StartData("");
      }
      return;
    case State::EndTag:
      if (c == '>') {
        m_path.Pop();
        m_state = State::Text;
        StartData("");
      }
      return;
    case State::TagName:
      if (!IsNameEnd(c)) {
        m_markup.push_back(c);
        return;
      }
      m_path.Push(LocalName(m_markup));
      m_state = State::InTag;
      Step(c);
      return;
    case State::AttrName:
      if (!IsNameEnd(c)) {
        m_markup.push_back(c);
        return;
      }
      m_attribute = std::string(LocalName(m_markup));
      m_state = State::InTag;
      Step(c);
      return;
    case State::InTag:
      if (c == '>') {
        m_state = State::Text;
        StartData("");
      } else if (c == '/') {
        m_state = State::EmptyTag;
      } else if (c == '"' || c == '\'') {
        m_quote = c;
        m_state = State::AttrValue;
        StartData("/@" + m_attribute);
      } else if (!IsNameEnd(c)) {
        m_markup.assign(1, c);
        m_state = State::AttrName;
      }
      return;
    case State::AttrValue:
      if (c == m_quote) {
        m_state = State::InTag;
      } else {
        Data(c);
      }
      return;
    case State::EmptyTag:
      if (c == '>') {
        m_path.Pop();
        m_state = State::Text;
        StartData("");
      }
      return;
  }
}
}  // namespace quorvex::internal
