#pragma once
#include <string>
#include "core/Paths.h"
#include "sound/TalkingClock.h"
#include "ui/Control.h"

namespace sound {

// The voices the windows offer: the complete voice folders into `list` (the
// Sounds folder made first if it is missing), `wanted` selected, else the
// first. With no complete voice the list holds only "Не найдено" and `group`,
// the controls of the spoken time, is disabled. Selecting runs no handler.
// `keepWanted` keeps `wanted` on offer though it is not installed (a
// reminder's own voice, stored back as it was): after the installed ones, or
// in place of "Не найдено".
void FillVoiceList(TalkingClock& talk, const core::Paths& paths, ui::ComboBox& list, ui::Control& group,
                   const std::string& wanted, bool keepWanted = false);
// Selects the first item equal to `wanted` (letter case counts), else the first item.
void SelectVoice(ui::ComboBox& list, const std::string& wanted);

}  // namespace sound
