#pragma once
#include "platform/Audio.h"

namespace win32 {

// Sound through user32 (beeps) and winmm (PlaySound, MCI command strings).
class Win32Audio final : public platform::Audio {
public:
    void messageBeep(unsigned type) override;
    bool playSound(const std::string& path) override;
    platform::MciResult mciSend(const std::string& command, bool wantReply) override;
    std::string shortPath(const std::string& path) override;
};

}  // namespace win32
