#pragma once
#include <string>
#include <string_view>
#include <type_traits>

namespace errors {

// The state dump of a failed routine: "name="value pairs joined by slashes,
// booleans as -1 / 0.
class Dump {
public:
    Dump& add(std::string_view name, std::string_view value, bool withEquals = true) {
        if (!text_.empty()) text_ += '/';
        text_ += '"';
        text_ += name;
        if (withEquals) text_ += '=';
        text_ += '"';
        text_ += value;
        return *this;
    }
    Dump& add(std::string_view name, const std::string& value, bool withEquals = true) {
        return add(name, std::string_view(value), withEquals);
    }
    Dump& add(std::string_view name, const char* value, bool withEquals = true) {
        return add(name, std::string_view(value), withEquals);
    }
    Dump& add(std::string_view name, bool value, bool withEquals = true) {
        return add(name, std::string_view(value ? "-1" : "0"), withEquals);
    }
    template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
    Dump& add(std::string_view name, T value, bool withEquals = true) {
        return add(name, std::string_view(std::to_string(value)), withEquals);
    }
    // An enumeration by its number: left alone it would pass as a boolean.
    template <class T, std::enable_if_t<std::is_enum_v<T>, int> = 0>
    Dump& add(std::string_view name, T value, bool withEquals = true) {
        return add(name, static_cast<std::underlying_type_t<T>>(value), withEquals);
    }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

}  // namespace errors
