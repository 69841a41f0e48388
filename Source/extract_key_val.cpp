#include "extract_key_val.hpp"

namespace brevanto {

namespace {
constexpr std::size_t npos = std::string_view::npos;
}

KeyVal split_key_val(std::string_view ligne, std::size_t width) {
  const auto field = [width](std::string_view text) { return trim_right(text.substr(0, width)); };
  std::size_t n = ligne.find('=');
  if (n == npos) n = ligne.find(':');
  if (n == npos) return KeyVal{field(ligne), std::string_view()};
  return KeyVal{field(trim_left(ligne.substr(0, n))), field(trim_left(ligne.substr(n + 1)))};
}

void extract_key_val(std::string_view ligne, std::string& key, std::string& val,
                     std::size_t width) {
  const KeyVal kv = split_key_val(ligne, width);
  key.assign(kv.key.data(), kv.key.size());
  val.assign(kv.val.data(), kv.val.size());
}

void extract_key_val_rel(std::string_view ligne, std::string& key, std::string& val,
                         std::string& rel, std::size_t width) {
  std::size_t n = npos;
  std::string_view chosen;
  for (std::string_view r : reltxt) {
    const std::size_t at = ligne.find(r);
    if (at != npos) {
      n = at;
      chosen = r;
    }
  }
  if (n == npos) {
    key = fit(ligne, width);
    val.clear();
    rel.clear();
    return;
  }
  key = fit(trim_left(ligne.substr(0, n)), width);
  rel = std::string(chosen);
  val = fit(trim_left(ligne.substr(n + chosen.size())), width);
}

void extract_list(std::string& val, std::string& buff, std::string_view sep,
                  std::size_t buff_width) {
  if (trim_right(val).empty()) {
    val.clear();
    buff.clear();
    return;
  }
  const char s = sep.empty() ? ' ' : sep[0];
  std::size_t ic = val.find(s);
  if (ic == npos) {
    buff = fit(val, buff_width);
    val.clear();
    return;
  }
  const std::size_t q1 = val.find('"');
  if (q1 != npos && q1 < ic) {
    const std::size_t q2 = val.find('"', q1 + 1);
    if (q2 != npos) {
      ic = val.find(s, q2 + 1);
      if (ic == npos) ic = q2 + 1;  // the character after the closing quote is dropped
    }
  }
  buff = fit(trim_left(std::string_view(val).substr(0, ic)), buff_width);
  val = ic + 1 < val.size() ? std::string(trim_right(val.substr(ic + 1))) : std::string();
}

void extract_comma(std::string& val, std::string& buff, std::size_t buff_width) {
  extract_list(val, buff, ",", buff_width);
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
