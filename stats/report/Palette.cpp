#include "stats/report/Palette.h"

namespace vexilo::stats {

std::string Hex(const Rgb& colour) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  std::string text = "#";
  for (const int part : {colour.r, colour.g, colour.b}) {
    text += kDigits[(part >> 4) & 15];
    text += kDigits[part & 15];
  }
  return text;
}

std::string WithColours(std::string_view style) {
  std::string out;
  while (!style.empty()) {
    const std::size_t open = style.find('{');
    const std::size_t close = open == std::string_view::npos ? open : style.find('}', open);
    const std::string_view token = close == std::string_view::npos
                                       ? std::string_view{}
                                       : style.substr(open + 1, close - open - 1);
    const palette::Named* named = nullptr;
    for (const palette::Named& n : palette::kStyleColours) {
      if (n.token == token) named = &n;
    }
    if (named == nullptr) {  // a brace of the style sheet itself
      const std::size_t upto = open == std::string_view::npos ? style.size() : open + 1;
      out += style.substr(0, upto);
      style.remove_prefix(upto);
      continue;
    }
    out += style.substr(0, open);
    out += Hex(named->colour);
    style.remove_prefix(close + 1);
  }
  return out;
}

}  // namespace vexilo::stats
