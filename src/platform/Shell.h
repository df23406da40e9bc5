#pragma once
#include <string>
#include "platform/Types.h"

namespace platform {

enum ShowCommand { kSwHide = 0, kSwNormal = 1, kSwMaximize = 3, kSwShow = 5, kSwRestore = 9 };

class Shell {
public:
    virtual ~Shell() = default;
    // Opens a document, URL, control-panel applet or program; false on failure.
    // A program started with a `folder` runs there rather than in ours.
    virtual bool open(const std::string& target, const std::string& verb, const std::string& params,
                      int showCommand, WindowId owner = 0, const std::string& folder = {}) = 0;
};

}  // namespace platform
