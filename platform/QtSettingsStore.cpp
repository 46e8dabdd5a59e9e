#include "platform/QtSettingsStore.h"

#include <QSettings>
#include <QString>
#include <QVariant>


namespace platform {
namespace {

constexpr const char* kOrganisation = "Korvane";
constexpr const char* kApplication = "Feldra";

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Only 32-bit integers count. The registry gives typed values (a DWORD arrives as int); an INI
// file holds text only, so there a decimal number in range is accepted as well.
std::optional<std::int32_t> ToInt32(const QVariant& value, bool textIsInteger) {
    switch (value.typeId()) {
    case QMetaType::Int:
        return static_cast<std::int32_t>(value.toInt());
    case QMetaType::UInt:
        return static_cast<std::int32_t>(value.toUInt());
    case QMetaType::QString: {
        if (!textIsInteger) return std::nullopt;
        bool ok = false;
        const int parsed = value.toString().toInt(&ok, 10);
        if (!ok) return std::nullopt;
        return static_cast<std::int32_t>(parsed);
    }
    default:
        return std::nullopt;
    }
}

class QtSettingsKey final : public SettingsKey {
public:
    QtSettingsKey(std::unique_ptr<QSettings> settings, std::string_view key)
        : settings_(std::move(settings)) {
        settings_->beginGroup(ToQString(key));
    }

    std::optional<std::int32_t> ReadInt(std::string_view name) override {
        const QVariant value = settings_->value(ToQString(name));
        if (!value.isValid()) return std::nullopt;
        return ToInt32(value, settings_->format() == QSettings::IniFormat);
    }

    bool WriteInt(std::string_view name, std::int32_t value) override {
        settings_->setValue(ToQString(name), static_cast<int>(value));
        // Storing each value at once tells which write failed.
        settings_->sync();
        return settings_->status() == QSettings::NoError;
    }

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace

QtSettingsStore::QtSettingsStore() = default;

QtSettingsStore::QtSettingsStore(const std::string& iniPath) : iniPath_(iniPath) {}

std::unique_ptr<QSettings> QtSettingsStore::Open() const {
    if (!iniPath_.empty())
        return std::make_unique<QSettings>(QString::fromStdString(iniPath_), QSettings::IniFormat);
#ifdef Q_OS_WIN
    constexpr QSettings::Format format = QSettings::NativeFormat;
#else
    constexpr QSettings::Format format = QSettings::IniFormat;
#endif
    return std::make_unique<QSettings>(format, QSettings::UserScope, kOrganisation, kApplication);
}

std::unique_ptr<SettingsKey> QtSettingsStore::OpenForReading(std::string_view key) {
    std::unique_ptr<QSettings> settings = Open();
    if (settings->status() != QSettings::NoError) return nullptr;
    if (!settings->childGroups().contains(ToQString(key))) return nullptr;
    return std::make_unique<QtSettingsKey>(std::move(settings), key);
}

std::unique_ptr<SettingsKey> QtSettingsStore::OpenForWriting(std::string_view key) {
    std::unique_ptr<QSettings> settings = Open();
    if (!settings->isWritable()) return nullptr;
    return std::make_unique<QtSettingsKey>(std::move(settings), key);
}

std::string QtSettingsStore::Location() const { return Open()->fileName().toStdString(); }

}  // namespace platform
