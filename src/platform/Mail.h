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
    // Opens the system's mail dialog; does nothing when no mail system exists.
    virtual bool send(const MailMessage&) = 0;
};

}  // namespace platform
