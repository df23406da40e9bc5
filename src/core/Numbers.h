#pragma once
#include <charconv>
#include <string>
#include "platform/Failure.h"

namespace core {

// A whole decimal number and nothing else (a sign allowed, no blanks); any
// other text is a conversion failure, as a field pasted with letters must be.
inline int StrToInt(const std::string& text) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    int value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (first == last || error != std::errc() || end != last)
        throw platform::ConversionError("'" + text + "' is not a valid integer value");
    return value;
}

}  // namespace core
