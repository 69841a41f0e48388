#include "extract_key_val.hpp"

namespace brevanto {

namespace {
constexpr std::size_t npos = std::string_view::npos;
}

KeyVal split_key_val(std::string_view line, std::size_t width) {
  const auto field = [width](std::string_view text) { return trim_right(text.substr(0, width)); };
  std::size_t split = line.find('=');
  if (split == npos) split = line.find(':');
  if (split == npos) return KeyVal{field(line), std::string_view()};
  return KeyVal{field(trim_left(line.substr(0, split))), field(trim_left(line.substr(split + 1)))};
}

void extract_key_val(std::string_view line, std::string& key, std::string& val, std::size_t width) {
  const KeyVal kv = split_key_val(line, width);
  key.assign(kv.key.data(), kv.key.size());
  val.assign(kv.val.data(), kv.val.size());
}

void extract_key_val_rel(std::string_view line, std::string& key, std::string& val,
                         std::string& rel, std::size_t width) {
  std::size_t split = npos;
  std::string_view chosen;
  for (std::string_view relation : reltxt) {
    const std::size_t at = line.find(relation);
    if (at != npos) {
      split = at;
      chosen = relation;
    }
  }
  if (split == npos) {
    key = fit(line, width);
    val.clear();
    rel.clear();
    return;
  }
  key = fit(trim_left(line.substr(0, split)), width);
  rel = std::string(chosen);
  val = fit(trim_left(line.substr(split + chosen.size())), width);
}

void extract_list(std::string& val, std::string& item, std::string_view sep,
                  std::size_t item_width) {
  if (trim_right(val).empty()) {
    val.clear();
    item.clear();
    return;
  }
  const char separator = sep.empty() ? ' ' : sep[0];
  std::size_t cut = val.find(separator);
  if (cut == npos) {
    item = fit(val, item_width);
    val.clear();
    return;
  }
  const std::size_t open_quote = val.find('"');
  if (open_quote != npos && open_quote < cut) {
    const std::size_t close_quote = val.find('"', open_quote + 1);
    if (close_quote != npos) {
      cut = val.find(separator, close_quote + 1);
      if (cut == npos) cut = close_quote + 1;  // the character after the closing quote is dropped
    }
  }
  item = fit(trim_left(std::string_view(val).substr(0, cut)), item_width);
  val = cut + 1 < val.size() ? std::string(trim_right(val.substr(cut + 1))) : std::string();
}

void extract_comma(std::string& val, std::string& item, std::size_t item_width) {
  extract_list(val, item, ",", item_width);
}

void read_list(std::string& val, int& nb_lst, std::vector<std::string>& lst, std::size_t item_width,
               std::string_view sep) {
  nb_lst = 0;
  lst.clear();
  std::string item;
  for (;;) {
    extract_list(val, item, sep, 256);
    if (item.empty()) break;
    lst.push_back(fit(item, item_width));
    ++nb_lst;
  }
}

}  // namespace brevanto
