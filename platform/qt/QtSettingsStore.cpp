#include "platform/qt/QtSettingsStore.h"

#include <QSettings>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

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

bool QtSettingsStore::RestrictToOwner() {
    const std::filesystem::path file = settings_->fileName().toStdString();
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        return false;
    }
    const bool restricted = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    ::close(fd);
    return restricted;
}

}  // namespace korvana
