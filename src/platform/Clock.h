#pragma once
#include "platform/Types.h"

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() = 0;
};

}  // namespace platform
