#pragma once

namespace errors {

struct ErrorState {
    int ErrorStep = 0;
    bool ErrorWindowOpen = false;
};

}  // namespace errors
