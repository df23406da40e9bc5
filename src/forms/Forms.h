#pragma once
#include "forms/Layout.h"

namespace forms {

// The maker's addresses, shown in the about and unsupported-system windows.
inline constexpr const char* kWebAddress = "https://lumivo.example.org/";
inline constexpr const char* kSupportEmail = "support@lumivo.example.org";

inline constexpr ui::Color kShadowColor = 3289650;  // red, green and blue 50 each

const FormLayout& clockForm();
const FormLayout& splashForm();
const FormLayout& aboutForm();
const FormLayout& notSupportedOsForm();
const FormLayout& errorForm();

}  // namespace forms
