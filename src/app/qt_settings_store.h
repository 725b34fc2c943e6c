#pragma once
#include <QSettings>
#include <QString>
#include <memory>

#include "platform/settings_store.h"

namespace cd::app {

/// The per-user settings in an INI file: organisation "ChannelDeck", the
/// product name as application, section "Settings". Every set is written
/// through at once so a crash loses nothing.
class QtSettingsStore : public platform::SettingsStore {
public:
    /// The user's store in the standard place for the product.
    explicit QtSettingsStore(const QString& productName);
    /// Names an INI file to use instead of the standard place.
    struct IniFile {
        QString path;
    };
    /// A store in the given INI file (a portable data folder, tests).
    explicit QtSettingsStore(IniFile file);

    std::string get(const std::string& key, const std::string& fallback) const override;
    /// False when the file could not be written.
    bool set(const std::string& key, const std::string& value) override;
    bool contains(const std::string& key) const override;

    /// The outcome of the last write (NoError, AccessError, FormatError).
    QSettings::Status status() const { return settings_->status(); }
    QString fileName() const { return settings_->fileName(); }

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace cd::app
