#pragma once

// Language keys of the messages the profile list and the macro store hand back to their callers,
// which show them in the program's message box.

#include <string_view>

namespace profile::message_key {

inline constexpr std::string_view kNameTaken = "message_text_5";       // rename
inline constexpr std::string_view kTooManyEvents = "message_text_17";  // macro cut to the limit
inline constexpr std::string_view kNameBlank = "message_text_25";      // profile rename
inline constexpr std::string_view kListFull = "message_text_30";       // add, copy, macro import
inline constexpr std::string_view kProfileNotImported = "message_text_33";  // not a profile file
inline constexpr std::string_view kProfileListFull = "message_text_34";     // profile import
inline constexpr std::string_view kMacroFileNameTooLong = "message_text_35";
inline constexpr std::string_view kMacroNotImported = "macro_import_refused";  // not a macro file

}  // namespace profile::message_key
