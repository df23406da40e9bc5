#pragma once
#include <string>

namespace platform {

// MessageBeep types.
enum BeepType : unsigned {
    kBeepDefault = 0, kBeepHand = 0x10, kBeepQuestion = 0x20, kBeepExclamation = 0x30, kBeepAsterisk = 0x40,
};

struct MciResult {
    unsigned error = 0;   // 0 = success
    std::string reply;
};

class Audio {
public:
    virtual ~Audio() = default;
    virtual void messageBeep(unsigned type) = 0;
    // Synchronous: returns when the sound has finished (or failed).
    virtual bool playSound(const std::string& path) = 0;
    virtual MciResult mciSend(const std::string& command, bool wantReply) = 0;
    // Short (8.3) form of a path where the volume has one; the path itself otherwise.
    virtual std::string shortPath(const std::string& path) = 0;
};

}  // namespace platform
