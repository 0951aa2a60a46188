#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vexilo::stats {

// Text as HTML and SVG show it, never as markup: & < > " ' become references, bytes that are
// not UTF-8 and control characters other than tab and line ends become U+FFFD.
void AppendEscaped(std::string& out, std::string_view text);

// Writes HTML with inline SVG. Every text and attribute value goes through AppendEscaped, so
// nothing taken from outside (a file name) can become markup; only the page's own style sheet
// goes in as it is.
class Markup {
 public:
  using Attributes = std::initializer_list<std::pair<std::string_view, std::string_view>>;

  Markup& Open(std::string_view tag, Attributes attributes = {});
  Markup& Close();  // the innermost open element
  Markup& Text(std::string_view text);
  // Open, text, close.
  Markup& Element(std::string_view tag, Attributes attributes, std::string_view text);
  Markup& Element(std::string_view tag, std::string_view text) { return Element(tag, {}, text); }
  // An element without content: "<rect .../>" (also right for HTML's void elements).
  Markup& Empty(std::string_view tag, Attributes attributes);
  // The page's own markup or style sheet, written as it is.
  Markup& Trusted(std::string_view markup);

  // The document; every element must be closed.
  std::string Take();

 private:
  void StartTag(std::string_view tag, Attributes attributes);
  void EndLine(std::string_view tag);

  std::string out_;
  std::vector<std::string> open_;
};

}  // namespace vexilo::stats
