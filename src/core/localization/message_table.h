#pragma once
// The keyed message table of the localization object: 201 entries filled
// from index 0 upward and never removed; keys compared without regard to
// letter case; messages looked up at the moment they are shown, so they
// follow the current language.
#include <array>
#include <string>

#include "platform/configuration.h"

namespace cd::localization {

struct MessageEntry {
    std::string key;
    std::string text;
    bool inUse = false;
};

class MessageTable {
public:
    static constexpr int kSize = 201;

    explicit MessageTable(platform::VersionInfo brand) : brand_(std::move(brand)) {}

    /// Fills the first free entry; does nothing when all 201 are in use. A key
    /// already present fills another entry (lookups find the first).
    void setMessage(const std::string& key, const std::string& text);
    /// The first entry's text for key (case ignored), "[ProgramName]" and
    /// "[CompanyName]" replaced and the first character raised; "" when no
    /// entry has the key.
    std::string getMessages(const std::string& key) const;
    /// As getMessages, but the first character left as it is: for the
    /// pieces (reasons) that stand inside another message.
    std::string fragment(const std::string& key) const;

    const std::array<MessageEntry, kSize>& entries() const { return entries_; }
    /// Replaces the text of entry i (used when a language is applied).
    void setText(int i, std::string text);
    const platform::VersionInfo& brand() const { return brand_; }

private:
    std::array<MessageEntry, kSize> entries_;
    platform::VersionInfo brand_;
};

/// The default messages start-up adds, in this order, before a language is applied.
void addDefaultMessages(MessageTable& table);
/// The status line's and the download's messages (part of the defaults).
void addStatusMessages(MessageTable& table);

}  // namespace cd::localization
