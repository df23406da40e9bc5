#include "errors/Codes.h"

namespace errors {

namespace {
#define LUMIVO_CODE_ADDRESS(name, prefix, first, append, routine) &code::name,
constexpr const Code* kAll[] = {LUMIVO_ERROR_CODES(LUMIVO_CODE_ADDRESS)};
#undef LUMIVO_CODE_ADDRESS

// VoiceIsComplete and the settings window's "&Добавить"; its "&Удалить" and
// the ticking of a reminder; the power library look-up and the quick-exit
// window's help; the shutdown privilege and the clock's help command; the
// computer name of a record and the error window's help.
constexpr const char* kShared[] = {"0.011 - 037.", "0.011 - 039.", "0.007 - 021.", "0.001 - 031.", "0.054 - 008."};
}  // namespace

std::span<const Code* const> allCodes() { return kAll; }
std::span<const char* const> sharedCodes() { return kShared; }

}  // namespace errors
