// The two languages of the program's messages.
#pragma once

#include <string_view>

namespace brevanto {

enum class Language { english, french };

// The message `english` or its translation `french`, as `language` asks.
constexpr std::string_view in_language(Language language, std::string_view english,
                                       std::string_view french) {
  return language == Language::french ? french : english;
}

}  // namespace brevanto
