#include "localization/fetch_error_text.h"

namespace cd::localization {

std::string fetchErrorText(const MessageTable& messages, fetch::FetchError error) {
    using fetch::FetchError;
    switch (error) {
        case FetchError::BadAddress:
            return messages.fragment("MSG_REASON_BADADDRESS");
        case FetchError::UnknownHost:
            return messages.fragment("MSG_REASON_UNKNOWNHOST");
        case FetchError::Refused:
            return messages.fragment("MSG_REASON_REFUSED");
        case FetchError::Certificate:
            return messages.fragment("MSG_REASON_CERTIFICATE");
        case FetchError::TooLarge:
            return messages.fragment("MSG_REASON_TOOLARGE");
        case FetchError::TooSlow:
            return messages.fragment("MSG_REASON_TOOSLOW");
        case FetchError::Broken:
        case FetchError::Deadline:
        case FetchError::Failed:
            return messages.fragment("MSG_REASON_BROKEN");
        case FetchError::ConnectTimeout:
        case FetchError::NoAnswer:
        case FetchError::Stalled:
        case FetchError::None:
            break;
    }
    return messages.fragment("MSG_REASON_NOANSWER");
}

}  // namespace cd::localization
