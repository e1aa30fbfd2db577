// The program's fixed texts.
#pragma once

namespace veltrane {

inline constexpr const char* kApplicationTitle = "Veltrane\xE2\x84\xA2";  // "Veltrane™"
inline constexpr const char* kMainWindowCaption = "Veltrane";
inline constexpr const char* kProgramVersion = "19.6.2015";
inline constexpr const char* kLogTitle = "Veltrane (19.6.2015)";
// The caption of the abort question box.
inline constexpr const char* kAbortQuestionCaption = "Tessaly";

}  // namespace veltrane
