#include "sound/VoiceList.h"
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace sound {

void FillVoiceList(TalkingClock& talk, const core::Paths& paths, ui::ComboBox& list, ui::Control& group,
                   const std::string& wanted, bool keepWanted) {
    std::error_code ec;
    std::filesystem::create_directories(paths.soundsDir(), ec);  // without it the list is simply empty
    group.setEnabled(true);
    std::vector<std::string> voices = talk.CompleteVoices();
    const bool none = voices.empty();
    if (none) group.setEnabled(false);
    if (keepWanted && !wanted.empty() && std::ranges::find(voices, wanted) == voices.end()) voices.push_back(wanted);
    if (voices.empty()) voices.push_back("Не найдено");
    list.setItems(std::move(voices));
    SelectVoice(list, wanted);
}

void SelectVoice(ui::ComboBox& list, const std::string& wanted) {
    const auto& items = list.items();
    const auto at = std::find(items.begin(), items.end(), wanted);
    list.setItemIndex(at == items.end() ? 0 : int(at - items.begin()));
}

}  // namespace sound
