#include "playlist/file_filter_list.h"

namespace orvo {
namespace {

// Splits off the text up to the next `separator` from `rest`; without one the
// whole rest is taken. Returns whether a separator ended the field.
bool TakeField(std::string_view& rest, char separator, std::string_view& field) {
  const std::size_t end = rest.find(separator);
  field = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return end != std::string_view::npos;
}

}  // namespace

std::vector<FileFilter> ParseFileFilterList(std::string_view list) {
  std::vector<FileFilter> filters;
  std::string_view rest = list;
  while (!rest.empty()) {
    std::string_view name;
    std::string_view patternField;
    if (!TakeField(rest, '|', name)) break;  // a name without its pattern field
    TakeField(rest, '|', patternField);
    FileFilter filter{std::string(name), {}};
    while (!patternField.empty()) {
      std::string_view pattern;
      TakeField(patternField, ';', pattern);
      if (pattern == "*.*") {
        filter.patterns.emplace_back("*");
      } else if (!pattern.empty()) {
        filter.patterns.emplace_back(pattern);
      }
    }
    filters.push_back(std::move(filter));
  }
  return filters;
}

}  // namespace orvo
