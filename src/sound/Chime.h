#pragma once

namespace app { class App; }

namespace sound {

void CheckChime(app::App&);
void PollHotKeys(app::App&);

}  // namespace sound
