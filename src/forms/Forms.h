#pragma once
#include "forms/Spec.h"

namespace forms {

// The maker's addresses, shown in the about and unsupported-system windows.
inline constexpr const char* kWebAddress = "https://lumivo.example.org/";
inline constexpr const char* kSupportEmail = "support@lumivo.example.org";

inline constexpr ui::Color kShadowColor = 3289650;  // red, green and blue 50 each

const FormSpec& clockForm();
const FormSpec& splashForm();
const FormSpec& aboutForm();
const FormSpec& notSupportedOsForm();
const FormSpec& errorForm();

}  // namespace forms
