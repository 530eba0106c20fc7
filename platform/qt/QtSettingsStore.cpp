#include "platform/qt/QtSettingsStore.h"

#include <QSettings>
#include <QStandardPaths>

namespace korvana {

namespace {
const QString kGroup = QStringLiteral("Software/Korvana");

QString KeyPath(const std::string& key) {
    return kGroup + QLatin1Char('/') + QString::fromStdString(key);
}
}  // namespace

QtSettingsStore::QtSettingsStore() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    settings_ = std::make_unique<QSettings>(folder + QStringLiteral("/Korvana/Korvana.ini"),
                                            QSettings::IniFormat);
}

QtSettingsStore::~QtSettingsStore() = default;

std::optional<std::string> QtSettingsStore::Read(const std::string& key) const {
    const QVariant value = settings_->value(KeyPath(key));
    if (!value.isValid()) {
        return std::nullopt;
    }
    // Stored as raw bytes so that a path in any encoding comes back unchanged.
    const QByteArray bytes = value.toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void QtSettingsStore::Write(const std::string& key, const std::string& value) {
    settings_->setValue(KeyPath(key),
                        QByteArray(value.data(), static_cast<qsizetype>(value.size())));
    settings_->sync();
}

void QtSettingsStore::Remove(const std::string& key) {
    settings_->remove(KeyPath(key));
    settings_->sync();
}

}  // namespace korvana
