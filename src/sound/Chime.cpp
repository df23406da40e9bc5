#include "sound/Chime.h"
#include "app/App.h"

namespace sound {

void CheckChime(app::App&) {}
void PollHotKeys(app::App&) {}

}  // namespace sound
