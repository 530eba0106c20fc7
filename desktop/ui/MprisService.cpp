#include "desktop/ui/MprisService.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QTimer>

#include "library/Player.h"

namespace korvana {

namespace {

constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";

QString Text(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The properties of the player interface that differ between two states.
QVariantMap ChangedProperties(const MediaState& before, const MediaState& after) {
    QVariantMap changed;
    const auto put = [&changed](const char* name, bool differs, const QVariant& value) {
        if (differs) {
            changed.insert(QString::fromLatin1(name), value);
        }
    };
    put("PlaybackStatus", before.status != after.status, Text(after.status));
    put("Metadata",
        before.trackId != after.trackId || before.title != after.title || before.url != after.url ||
            before.lengthUs != after.lengthUs,
        MprisMetadata(after));
    put("Volume", before.volume != after.volume, after.volume);
    put("CanGoNext", before.canGoNext != after.canGoNext, after.canGoNext);
    put("CanGoPrevious", before.canGoPrevious != after.canGoPrevious, after.canGoPrevious);
    put("CanPlay", before.canPlay != after.canPlay, after.canPlay);
    put("CanPause", before.canPause != after.canPause, after.canPause);
    put("CanSeek", before.canSeek != after.canSeek, after.canSeek);
    return changed;
}

}  // namespace

QVariantMap MprisMetadata(const MediaState& state) {
    QVariantMap metadata;
    metadata.insert(QStringLiteral("mpris:trackid"),
                    QVariant::fromValue(QDBusObjectPath(Text(state.trackId))));
    if (state.trackId == kNoTrackId) {
        return metadata;
    }
    metadata.insert(QStringLiteral("xesam:title"), Text(state.title));
    metadata.insert(QStringLiteral("xesam:url"), Text(state.url));
    metadata.insert(QStringLiteral("mpris:length"), QVariant::fromValue<qlonglong>(state.lengthUs));
    return metadata;
}

MprisService::MprisService(MprisHooks hooks, QObject* parent)
    : QObject(parent), hooks_(std::move(hooks)), announced_(ReadMediaState(*hooks_.player)) {
    new MprisRootAdaptor(*this);
    new MprisPlayerAdaptor(*this);
}

MprisService::~MprisService() {
    if (!serviceName_.isEmpty()) {
        bus_.unregisterService(serviceName_);
        bus_.unregisterObject(QString::fromLatin1(kObjectPath));
    }
}

bool MprisService::Register(const QDBusConnection& bus) {
    bus_ = bus;
    const QString path = QString::fromLatin1(kObjectPath);
    if (!bus_.isConnected() || !bus_.registerObject(path, this, QDBusConnection::ExportAdaptors)) {
        return false;
    }
    const QString name = QString::fromLatin1(kServiceName);
    for (const QString& candidate :
         {name,
          QStringLiteral("%1.instance%2").arg(name).arg(QCoreApplication::applicationPid())}) {
        if (bus_.registerService(candidate)) {
            serviceName_ = candidate;
            return true;
        }
    }
    bus_.unregisterObject(path);
    return false;
}

void MprisService::PlayerChanged() {
    if (announcePending_) {
        return;
    }
    announcePending_ = true;
    QTimer::singleShot(0, this, &MprisService::Announce);
}

void MprisService::Announce() {
    announcePending_ = false;
    const MediaState now = State();
    const QVariantMap changed = ChangedProperties(announced_, now);
    announced_ = now;
    if (changed.isEmpty() || serviceName_.isEmpty()) {
        return;
    }
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(kPlayerInterface) << changed << QStringList();
    bus_.send(signal);
}

void MprisService::AnnounceSeek() {
    for (auto* adaptor : findChildren<MprisPlayerAdaptor*>(Qt::FindDirectChildrenOnly)) {
        emit adaptor->Seeked(adaptor->Position());
    }
}

MprisRootAdaptor::MprisRootAdaptor(MprisService& service)
    : QDBusAbstractAdaptor(&service), service_(service) {}

QString MprisRootAdaptor::Identity() const {
    return QStringLiteral("Korvana MP3 Finder");
}

QString MprisRootAdaptor::DesktopEntry() const {
    return QStringLiteral("korvana");
}

QStringList MprisRootAdaptor::SupportedUriSchemes() const {
    return {QStringLiteral("file")};
}

QStringList MprisRootAdaptor::SupportedMimeTypes() const {
    return {QStringLiteral("audio/mpeg")};
}

void MprisRootAdaptor::Raise() {
    service_.Hooks().raise();
}

void MprisRootAdaptor::Quit() {
    service_.Hooks().quit();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService& service)
    : QDBusAbstractAdaptor(&service), service_(service) {}

QString MprisPlayerAdaptor::PlaybackStatus() const {
    return Text(service_.State().status);
}

QVariantMap MprisPlayerAdaptor::Metadata() const {
    return MprisMetadata(service_.State());
}

qlonglong MprisPlayerAdaptor::Position() const {
    return MediaPositionUs(*service_.Hooks().player);
}

void MprisPlayerAdaptor::SetVolume(double volume) {
    service_.Run([volume](Player& player) { MediaSetVolume(player, volume); });
}

void MprisPlayerAdaptor::Play() {
    service_.Run(MediaPlay);
}

void MprisPlayerAdaptor::Pause() {
    service_.Run(MediaPause);
}

void MprisPlayerAdaptor::PlayPause() {
    service_.Run(MediaPlayPause);
}

void MprisPlayerAdaptor::Stop() {
    service_.Run(MediaStop);
}

void MprisPlayerAdaptor::Next() {
    service_.Run(MediaNext);
}

void MprisPlayerAdaptor::Previous() {
    service_.Run(MediaPrevious);
}

void MprisPlayerAdaptor::Seek(qlonglong offset) {
    service_.Run([offset](Player& player) { MediaSeek(player, offset); });
    service_.AnnounceSeek();
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position) {
    const std::string id = trackId.path().toStdString();
    service_.Run([&id, position](Player& player) { MediaSetPosition(player, id, position); });
    service_.AnnounceSeek();
}

void MprisPlayerAdaptor::OpenUri(const QString& uri) {
    const std::string text = uri.toStdString();
    bool opened = false;
    service_.Run([&text, &opened](Player& player) { opened = MediaOpenUri(player, text); });
    if (!opened && service_.calledFromDBus()) {
        service_.sendErrorReply(QDBusError::InvalidArgs,
                                QStringLiteral("Only readable local files (file://) are opened."));
    }
}

}  // namespace korvana
