#include "app/qt_settings_store.h"

#include <QByteArray>

namespace cd::app {

namespace {

const QString kGroup = QStringLiteral("Settings");

QString keyOf(const std::string& key) { return kGroup + QLatin1Char('/') + QString::fromStdString(key); }

bool isUtf8(const std::string& bytes) {
    const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return QString::fromUtf8(raw).toUtf8() == raw;
}

}  // namespace

QtSettingsStore::QtSettingsStore(const QString& productName)
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ChannelDeck"),
                                            productName)) {}

QtSettingsStore::QtSettingsStore(IniFile file)
    : settings_(std::make_unique<QSettings>(file.path, QSettings::IniFormat)) {}

std::string QtSettingsStore::get(const std::string& key, const std::string& fallback) const {
    const QVariant v = settings_->value(keyOf(key));
    if (!v.isValid()) return fallback;
    // Values that were not UTF-8 (a path in the code page) are kept as bytes.
    if (v.typeId() == QMetaType::QByteArray) return QByteArray::fromBase64(v.toByteArray()).toStdString();
    return v.toString().toStdString();
}

bool QtSettingsStore::set(const std::string& key, const std::string& value) {
    if (isUtf8(value))
        settings_->setValue(keyOf(key), QString::fromStdString(value));
    else
        // The INI file is read back as UTF-8, so other bytes travel as base64
        // inside a byte-array value, which no string value can be mistaken for.
        settings_->setValue(keyOf(key), QByteArray(value.data(), static_cast<qsizetype>(value.size())).toBase64());
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

bool QtSettingsStore::contains(const std::string& key) const { return settings_->contains(keyOf(key)); }

}  // namespace cd::app
