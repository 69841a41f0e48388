// Case of texts. Only the ASCII letters a-z and A-Z are folded: accented letters (Windows-1252
// bytes above 127) are never changed, whatever the locale.
#pragma once

#include <string>
#include <string_view>

namespace brevanto {

// Kept for completeness: the program does not call it.
// Upper-cases "a" to "z" in place.
void majusc(std::string& text);

// Whether the texts without trailing blanks are equal when "a" to "z" count as "A" to "Z".
// Leading blanks count.
bool case_blind_compare(std::string_view s1, std::string_view s2);

}  // namespace brevanto
