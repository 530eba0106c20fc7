#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>

#include "desktop/FileUri.h"
#include "desktop/ui/MprisService.h"
#include "tests/desktop/MediaPlayerFixture.h"
#include "tests/ui/UiWait.h"

namespace korvana::test {
namespace {

const QString kPath = QString::fromLatin1(MprisService::kObjectPath);
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// What a desktop's sound menu hears: every PropertiesChanged of the player.
class ChangeListener : public QObject {
    Q_OBJECT
  public:
    std::vector<QVariantMap> changes;
    QVariant Last(const QString& name) const {
        for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
            if (it->contains(name)) {
                return it->value(name);
            }
        }
        return {};
    }
  public slots:
    void Changed(const QString& interface, const QVariantMap& changed, const QStringList&) {
        if (interface == kPlayer) {
            changes.push_back(changed);
        }
    }
};

// The player offered on the private session bus of dbus-run-session, and
// a client on a connection of its own, as another program would be.
class MprisBus : public MediaPlayerFixture {
  protected:
    void SetUp() override {
        if (!QDBusConnection::sessionBus().isConnected()) {
            GTEST_SKIP() << "no session bus: run under dbus-run-session";
        }
        MprisHooks hooks;
        hooks.player = &player_;
        hooks.run = [this](const std::function<void(Player&)>& command) { command(player_); };
        hooks.raise = [this] { ++raised_; };
        hooks.quit = [this] { ++quits_; };
        service_ = std::make_unique<MprisService>(std::move(hooks));
        player_.SetChangeListener([this] { service_->PlayerChanged(); });
        ASSERT_TRUE(service_->Register(QDBusConnection::sessionBus()));
        ASSERT_TRUE(client_.isConnected());
        ASSERT_TRUE(client_.connect(service_->ServiceName(), kPath, kProperties,
                                    QStringLiteral("PropertiesChanged"), &listener_,
                                    SLOT(Changed(QString, QVariantMap, QStringList))));
    }
    void TearDown() override {
        player_.SetChangeListener(nullptr);
        service_.reset();
    }
    ~MprisBus() override { QDBusConnection::disconnectFromBus(QStringLiteral("mpris-client")); }

    QDBusMessage Call(const QString& interface, const QString& method,
                      const QVariantList& arguments = {}) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(service_->ServiceName(), kPath, interface, method);
        message.setArguments(arguments);
        const QDBusPendingCall pending = client_.asyncCall(message);
        EXPECT_TRUE(WaitUntil([&] { return pending.isFinished(); }));
        return pending.reply();
    }
    QVariant Get(const QString& interface, const QString& name) {
        const QDBusMessage reply = Call(kProperties, QStringLiteral("Get"), {interface, name});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            return {};
        }
        return reply.arguments().front().value<QDBusVariant>().variant();
    }
    QVariantMap Metadata() {
        QVariantMap map;
        Get(kPlayer, QStringLiteral("Metadata")).value<QDBusArgument>() >> map;
        return map;
    }
    // Waits until the sound menu has heard `name` become `value`.
    bool Hears(const QString& name, const QVariant& value) {
        return WaitUntil([&] { return listener_.Last(name) == value; });
    }

    int raised_ = 0;
    int quits_ = 0;
    std::unique_ptr<MprisService> service_;
    QDBusConnection client_ =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("mpris-client"));
    ChangeListener listener_;
};

TEST_F(MprisBus, TheProgramIsNamedAndCanBeRaisedAndQuit) {
    EXPECT_EQ(service_->ServiceName(), QString::fromLatin1(MprisService::kServiceName));
    EXPECT_EQ(Get(kRoot, QStringLiteral("Identity")).toString(),
              QStringLiteral("Korvana MP3 Finder"));
    EXPECT_EQ(Get(kRoot, QStringLiteral("DesktopEntry")).toString(), QStringLiteral("korvana"));
    EXPECT_EQ(Get(kRoot, QStringLiteral("SupportedUriSchemes")).toStringList(),
              QStringList{QStringLiteral("file")});
    EXPECT_TRUE(Get(kRoot, QStringLiteral("CanRaise")).toBool());
    Call(kRoot, QStringLiteral("Raise"));
    Call(kRoot, QStringLiteral("Quit"));
    EXPECT_EQ(raised_, 1);
    EXPECT_EQ(quits_, 1);
}

TEST_F(MprisBus, PlayFromTheBusStartsThePlaylistAndDescribesTheTrack) {
    player_.AddSelection(Tracks({"a.mp3", "b.mp3"}));
    EXPECT_EQ(Get(kPlayer, QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Stopped"));
    Call(kPlayer, QStringLiteral("Play"));
    EXPECT_EQ(media_.openFile, "a.mp3");
    EXPECT_EQ(Get(kPlayer, QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Playing"));
    const QVariantMap metadata = Metadata();
    EXPECT_EQ(metadata.value(QStringLiteral("xesam:title")).toString(), QStringLiteral("a.mp3"));
    EXPECT_EQ(metadata.value(QStringLiteral("mpris:length")).toLongLong(), media_.length * 1000);
    EXPECT_EQ(metadata.value(QStringLiteral("xesam:url")).toString().toStdString(),
              FileUriFromLocalPath(PathOf("a.mp3")));
    EXPECT_EQ(metadata.value(QStringLiteral("mpris:trackid"))
                  .value<QDBusObjectPath>()
                  .path()
                  .toStdString(),
              ReadMediaState(player_).trackId);
    EXPECT_TRUE(Hears(QStringLiteral("PlaybackStatus"), QStringLiteral("Playing")));
}

// The page's own buttons and the track's end are announced too, not only
// what came over the bus.
TEST_F(MprisBus, EveryChangeOfStateOrTrackIsAnnounced) {
    player_.PlaySelection(Tracks({"a.mp3", "b.mp3"}));
    ASSERT_TRUE(Hears(QStringLiteral("PlaybackStatus"), QStringLiteral("Playing")));
    Call(kPlayer, QStringLiteral("PlayPause"));
    EXPECT_TRUE(Hears(QStringLiteral("PlaybackStatus"), QStringLiteral("Paused")));
    player_.Pause();
    EXPECT_TRUE(Hears(QStringLiteral("PlaybackStatus"), QStringLiteral("Playing")));
    media_.Finish();
    player_.Tick();
    EXPECT_TRUE(WaitUntil([&] {
        QVariantMap map;
        listener_.Last(QStringLiteral("Metadata")).value<QDBusArgument>() >> map;
        return map.value(QStringLiteral("xesam:title")).toString() == QStringLiteral("b.mp3");
    }));
    Call(kPlayer, QStringLiteral("Stop"));
    EXPECT_TRUE(Hears(QStringLiteral("PlaybackStatus"), QStringLiteral("Stopped")));
}

TEST_F(MprisBus, SeekSetPositionAndVolumeReachThePlayer) {
    player_.PlaySelection(Tracks({"a.mp3"}));
    Call(kPlayer, QStringLiteral("Seek"), {QVariant::fromValue<qlonglong>(30'000'000)});
    EXPECT_EQ(media_.position, 30'000);
    EXPECT_EQ(Get(kPlayer, QStringLiteral("Position")).toLongLong(), 30'000'000);
    const QDBusObjectPath track(QString::fromStdString(ReadMediaState(player_).trackId));
    Call(kPlayer, QStringLiteral("SetPosition"),
         {QVariant::fromValue(track), QVariant::fromValue<qlonglong>(90'000'000)});
    EXPECT_EQ(media_.position, 90'000);
    Call(kProperties, QStringLiteral("Set"),
         {kPlayer, QStringLiteral("Volume"), QVariant::fromValue(QDBusVariant(0.5))});
    EXPECT_EQ(player_.Volume(), 500);
    EXPECT_TRUE(Hears(QStringLiteral("Volume"), 0.5));
}

TEST_F(MprisBus, OpenUriPlaysLocalFilesAndRefusesOthersWithAnError) {
    const QDBusMessage refused =
        Call(kPlayer, QStringLiteral("OpenUri"), {QStringLiteral("http://127.0.0.1:9/a.mp3")});
    EXPECT_EQ(refused.type(), QDBusMessage::ErrorMessage);
    EXPECT_FALSE(player_.PlaybackOpen());
    const QDBusMessage opened =
        Call(kPlayer, QStringLiteral("OpenUri"),
             {QString::fromStdString(FileUriFromLocalPath(PathOf("c.mp3")))});
    EXPECT_EQ(opened.type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(media_.openFile, "c.mp3");
}

}  // namespace
}  // namespace korvana::test

#include "MprisServiceTest.moc"
