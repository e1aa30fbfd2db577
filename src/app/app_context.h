// Everything a handler needs: the platform, the window's ports and the
// program's state.
#pragma once

#include "app/engine_state.h"
#include "app/main_view.h"
#include "platform/platform.h"

namespace veltrane {

struct AppContext {
  Platform& platform;
  MainView& view;
  EngineState& state;
};

}  // namespace veltrane
