#pragma once
#include <string>

namespace platform {

struct MailMessage {
    std::string subject;
    std::string recipientAddress;
    std::string attachmentPath;
};

class Mail {
public:
    virtual ~Mail() = default;
    // Opens the system's mail dialog. True when a mail program took the
    // message or its user cancelled it there; false when there is none or it failed.
    virtual bool send(const MailMessage&) = 0;
};

}  // namespace platform
