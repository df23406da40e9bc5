#pragma once
#include <stdexcept>
#include <string>

namespace platform {

// Every failure the program raises itself. The error log records className(),
// so each kind keeps a short stable name of its own.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    virtual const char* className() const noexcept { return "Failure"; }
};

#define LUMIVO_FAILURE(Name)                                                   \
    class Name : public Failure {                                              \
    public:                                                                    \
        using Failure::Failure;                                                \
        const char* className() const noexcept override { return #Name; }      \
    }

LUMIVO_FAILURE(ConversionError);  // text that should have been a number, a value out of type
LUMIVO_FAILURE(RegistryError);
LUMIVO_FAILURE(FileError);
LUMIVO_FAILURE(WindowError);
LUMIVO_FAILURE(SoundError);
LUMIVO_FAILURE(SystemError);      // the system could not answer a question
LUMIVO_FAILURE(AbortError);       // deliberate silent abort (the hidden test command)

#undef LUMIVO_FAILURE

}  // namespace platform
