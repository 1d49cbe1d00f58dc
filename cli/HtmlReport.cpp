#include "HtmlReport.h"

#include "MessageLanguage.h"
#include "Problems.h"
#include "quorvex.h"

#include <algorithm>
#include <ctime>
#include <map>

namespace {

constexpr std::size_t kFoldSize = 1000;

constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:2em;color:#222}"
    "table{border-collapse:collapse;margin:.5em 0 1.5em}"
    "th,td{border:1px solid #ccc;padding:.2em .6em;text-align:left;vertical-align:top}"
    "th{background:#f0f0f0}td.n{text-align:right}"
    ".pass{color:#176f2c;font-weight:bold}.fail{color:#b00020;font-weight:bold}"
    "details{margin:.3em 0}summary{cursor:pointer;padding:.2em 0}"
    "details details{margin-left:1.5em}code{font-size:1.05em}"
    "table.rows td:nth-child(-n+3){text-align:right}";

// Optional: a box that shows only the problems whose row holds the text typed,
// opening the folds they are in. The page reads the same without it.
constexpr const char* kFilterScript =
    "<script>(function(){var h=document.getElementById('every');if(!h)return;"
    "var box=document.createElement('input');box.type='search';box.placeholder='Show only problems containing...';"
    "box.size=40;h.after(box);box.addEventListener('change',function(){"
    "var text=box.value.toLowerCase();document.querySelectorAll('table.rows tr').forEach(function(row){"
    "if(!row.querySelector('td'))return;var shown=!text||row.textContent.toLowerCase().indexOf(text)>=0;"
    "row.hidden=!shown;if(shown&&text)for(var d=row.closest('details');d;d=d.parentElement.closest('details'))"
    "d.open=true;});});})();</script>";

// Text in the page: the five markup characters as references, and CR too, so
// that a value shows it as it is.
void Escaped(std::string& html, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '"': html += "&quot;"; break;
      case '&': html += "&amp;"; break;
      case '\'': html += "&apos;"; break;
      case '<': html += "&lt;"; break;
      case '>': html += "&gt;"; break;
      case '\r': html += "&#13;"; break;
      default: html += c;
    }
  }
}

std::string Count(std::size_t number) {
  std::string digits = std::to_string(number);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<std::size_t>(at), ",");
  return digits;
}

std::string Plural(std::size_t number, const char* noun) {
  return Count(number) + ' ' + noun + (number == 1 ? "" : "s");
}

std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &parts);
  return text;
}

}  // namespace

void HtmlReport::RenderFacts(std::string& html) const {
  const auto fact = [&](const char* name, std::string_view value) {
    html += "<tr><th>";
    html += name;
    html += "</th><td>";
    Escaped(html, value);
    html += "</td></tr>";
  };
  html += "<table>";
  fact("File", m_outcome.file);
  if (m_options.command != ToolCommand::ReadXml) {
    fact("Schema", std::to_string(m_options.schema) + ".0");
    if (m_options.schema == 2 && m_options.yearGiven) fact("Reporting year", m_options.year);
  }
  fact("Operation", m_outcome.StepName(m_options));
  fact("Date", UtcNow());
  html += m_outcome.passed() ? "<tr><th>Result</th><td class=\"pass\">passed"
                             : "<tr><th>Result</th><td class=\"fail\">failed: " + Plural(m_outcome.problems.size(), "problem");
  if (!m_outcome.refusal.empty()) html += " (" + m_outcome.refusal + ")";
  html += "</td></tr>";
  if (m_outcome.passed()) {
    fact("Account reports", Count(static_cast<std::size_t>(m_outcome.record.getAccountReportCount())));
    if (!m_outcome.record.getHojinNo().empty()) fact("Corporate number", m_outcome.record.getHojinNo());
    if (!m_outcome.record.getGIIN().empty()) fact("GIIN", m_outcome.record.getGIIN());
  }
  html += "</table>";
}

void HtmlReport::RenderSummaries(std::string& html) const {
  std::map<std::string, std::size_t> perCode;
  std::map<std::string, std::size_t> perItem;
  for (const CLCErrorDescription& problem : m_outcome.problems) {
    ++perCode[problem.code];
    ++perItem[problem.item.empty() ? "(no item)" : problem.item];
  }
  html += "<h2>Problems per message</h2><table><tr><th>Code</th><th>Message</th><th>Problems</th></tr>";
  for (const auto& [code, count] : perCode) {
    html += "<tr><td><a href=\"#" + code + "\"><code>";
    Escaped(html, code);
    html += "</code></a></td><td>";
    Escaped(html, MessageLanguage::Text(code, m_options.language));
    html += "</td><td class=\"n\">" + Count(count) + "</td></tr>";
  }
  html += "</table>";

  std::vector<std::pair<std::string, std::size_t>> items(perItem.begin(), perItem.end());
  std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
  html += "<h2>Problems per item</h2><table><tr><th>Item</th><th>Problems</th></tr>";
  for (const auto& [item, count] : items) {
    html += "<tr><td>";
    Escaped(html, item);
    html += "</td><td class=\"n\">" + Count(count) + "</td></tr>";
  }
  html += "</table>";
}

void HtmlReport::RenderProblems(std::string& html) const {
  std::map<std::string, std::vector<const CLCErrorDescription*>> groups;
  for (const CLCErrorDescription& problem : m_outcome.problems) groups[problem.code].push_back(&problem);
  // A short list is shown open; a long one stays folded until asked for.
  const char* open = m_outcome.problems.size() <= kFoldSize ? " open" : "";

  html += "<h2 id=\"every\">Every problem</h2>";
  for (const auto& [code, problems] : groups) {
    html += "<details id=\"" + code + "\"" + open + "><summary><code>" + code + "</code> ";
    Escaped(html, MessageLanguage::Text(code, m_options.language));
    html += " (" + Plural(problems.size(), "problem") + ")</summary>";
    for (std::size_t first = 0; first < problems.size(); first += kFoldSize) {
      const std::size_t last = std::min(first + kFoldSize, problems.size());
      const bool folded = problems.size() > kFoldSize;
      if (folded) html += "<details><summary>" + Count(first + 1) + " to " + Count(last) + "</summary>";
      html += "<table class=\"rows\"><tr><th>Line</th><th>File line</th><th>Column</th><th>Item</th><th>Value</th></tr>";
      // Rows leave their end tags out, as HTML allows: a fifth of the size at 100,000 rows.
      for (std::size_t i = first; i < last; ++i) {
        const CLCErrorDescription& problem = *problems[i];
        html += "<tr><td>";
        if (problem.isArgument || problem.line == 0) {
          Escaped(html, m_printer.Where(problem));
          html += "<td><td>";
        } else {
          html += std::to_string(problem.line) + "<td>";
          if (problem.fileLine > 0) html += std::to_string(problem.fileLine);
          html += "<td>";
          if (problem.column > 0) html += std::to_string(problem.column);
          if (problem.assistColumn >= 0) html += " (" + std::to_string(problem.assistColumn) + ")";
        }
        html += "<td>";
        Escaped(html, problem.item);
        html += "<td>";
        if (problem.hasValue && problem.value.empty()) html += "<i>(empty)</i>";
        if (problem.hasValue) Escaped(html, VisibleValue(problem.value));
        html += '\n';
      }
      html += "</table>";
      if (folded) html += "</details>";
    }
    html += "</details>";
  }
}

std::string HtmlReport::Render() const {
  std::string html = "<!DOCTYPE html><html lang=\"";
  html += MessageLanguage::Code(m_options.language);
  html += "\"><head><meta charset=\"utf-8\"><title>Quorvex report: ";
  Escaped(html, m_outcome.file);
  html += "</title><style>";
  html += kStyle;
  html += "</style></head><body><h1>Quorvex report</h1>";
  RenderFacts(html);
  if (!m_outcome.problems.empty()) {
    RenderSummaries(html);
    RenderProblems(html);
    html += kFilterScript;
  }
  html += "</body></html>\n";
  return html;
}

bool HtmlReport::Write(const std::string& path) const {
  const std::string html = Render();
  return quorvex_write_file(path.c_str(), html.data(), html.size()) == 1;
}
