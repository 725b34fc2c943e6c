#pragma once
#include <string>

#include "fetch/fetch_types.h"
#include "localization/message_table.h"

namespace cd::localization {

/// Why a fetch failed, in the user's words and language.
std::string fetchErrorText(const MessageTable& messages, fetch::FetchError error);

}  // namespace cd::localization
