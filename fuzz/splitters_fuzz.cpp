// The key/value, rule-line and list splitters, on each line of the input.
#include <algorithm>
#include <vector>

#include "extract_key_val.hpp"
#include "fuzz_support.hpp"

namespace {

// A field as the splitters promise it: within its width, without trailing blanks.
bool fits(const std::string& field, std::size_t width) {
  return field.size() <= width && (field.empty() || field.back() != ' ');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brevanto;
  std::string_view input = fuzz::text(data, size);
  std::string key, val, rel, item;
  while (!input.empty()) {
    const std::size_t end = std::min(input.find('\n'), input.size());
    const std::string_view line = input.substr(0, end);
    input.remove_prefix(std::min(end + 1, input.size()));

    extract_key_val(line, key, val);
    fuzz::require(fits(key, kKeyLen) && fits(val, kKeyLen));
    extract_key_val_rel(line, key, val, rel, 8);
    fuzz::require(fits(key, 8) && fits(val, 8) && rel.size() <= 2);

    for (const char* sep : {";", ","}) {
      std::string list(line);
      // Each item takes at least its separator: more items than characters is a loop.
      for (std::size_t n = 0; !list.empty(); ++n) {
        fuzz::require(n <= line.size());
        extract_list(list, item, sep, 8);
        fuzz::require(fits(item, 8));
      }
    }
    std::string list(line);
    int count = 0;
    std::vector<std::string> items;
    read_list(list, count, items, 8, ",");
    fuzz::require(count == static_cast<int>(items.size()));
  }
  return 0;
}
