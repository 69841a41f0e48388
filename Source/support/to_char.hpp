// Numbers as message text.
#pragma once

#include <cstdint>
#include <string>

namespace brevanto {

// The decimal text of `value`, left-justified: "-42" (its length is the length of the result).
// The number must fit a field of min(16, width) characters; otherwise the text is that many
// asterisks.
std::string i2b(std::int32_t value, int width = 16);

}  // namespace brevanto
