#pragma once

namespace settings {

// Keys under HKEY_CURRENT_USER.
inline constexpr const char* kRootKey = "Software\\Vantrel\\Lumivo";
inline constexpr const char* kSettingsKey = "Software\\Vantrel\\Lumivo\\Settings";
inline constexpr const char* kSoundKey = "Software\\Vantrel\\Lumivo\\Settings\\Sound";
inline constexpr const char* kFontKey = "Software\\Vantrel\\Lumivo\\Settings\\Font";
inline constexpr const char* kStyleKey = "Software\\Vantrel\\Lumivo\\Settings\\Font\\Style";
inline constexpr const char* kPositionKey = "Software\\Vantrel\\Lumivo\\Settings\\Position";
inline constexpr const char* kQuickExitKey = "Software\\Vantrel\\Lumivo\\Settings\\QuickExit";

// The auto-start value, in either hive.
inline constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Lumivo";

}  // namespace settings
