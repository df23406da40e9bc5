#pragma once

namespace errors {

struct ErrorState {
    int ErrorStep = 0;             // how far the running routine got
    bool ErrorWindowOpen = false;  // failures meanwhile are dropped
};

}  // namespace errors
