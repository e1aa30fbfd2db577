// Start-up: the program's state is created before any window (module
// initialisation), and the hidden engine window's creation loads the
// definitions before the downloads start.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/engine_state.h"
#include "base/result.h"
#include "platform/platform.h"
#include "platform/ui.h"

namespace veltrane {

// Module initialisation: the global lists as the program starts, all empty;
// FoundFolders is still unsorted.
inline std::unique_ptr<EngineState> CreateEngineState() { return std::make_unique<EngineState>(); }

// The engine window's creation step: takes the settings folder for the
// engine, copies the shipped tag files from the program folder into it when
// it lacks them (a first start), loads the definition files from it, then
// makes FoundFolders sorted
// with duplicates ignored. On success returns the settings folder, and the
// caller starts the definition downloads with it. On failure (the settings
// folder cannot be made, a definition file is missing or unreadable) returns
// the error and does nothing more: FoundFolders stays unsorted and no
// download is started in this run; the caller shows the error with
// ShowErrorBox and start-up goes on.
Result<std::string> StartEngine(Platform& platform, EngineState& state);

// The application's standard error box: the error's own text, the
// application title as caption, an OK button.
void ShowErrorBox(MessageBoxPort& messageBox, std::string_view text);

}  // namespace veltrane
