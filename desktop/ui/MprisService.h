#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>
#include <functional>

#include "desktop/MediaControl.h"

namespace korvana {

class Player;

// What the desktop's media controls act on.
struct MprisHooks {
    const Player* player = nullptr;
    // Runs a command on the player and shows its outcome on the page.
    std::function<void(const std::function<void(Player&)>&)> run;
    std::function<void()> raise;
    std::function<void()> quit;
};

// The player as a desktop media player on the session bus (the MPRIS
// interfaces), so that media keys and the desktop's sound menu drive it.
// The mapping of each call lives in desktop/MediaControl.h; this is the bus.
class MprisService : public QObject, public QDBusContext {
    Q_OBJECT
  public:
    static constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";
    static constexpr const char* kServiceName = "org.mpris.MediaPlayer2.korvana";

    explicit MprisService(MprisHooks hooks, QObject* parent = nullptr);
    ~MprisService() override;

    // Takes the service name (with an .instance<pid> suffix when another
    // copy holds it) on `bus`. False when that fails, as without a bus;
    // the program runs on without media controls.
    bool Register(const QDBusConnection& bus);
    const QString& ServiceName() const { return serviceName_; }

    // The player may have changed: what did is announced once the command
    // under way has finished, so a track change is one announcement.
    void PlayerChanged();

    const MprisHooks& Hooks() const { return hooks_; }
    MediaState State() const { return ReadMediaState(*hooks_.player); }
    void Run(const std::function<void(Player&)>& command) { hooks_.run(command); }
    void AnnounceSeek();

  private:
    void Announce();

    MprisHooks hooks_;
    QDBusConnection bus_{QString()};
    QString serviceName_;
    MediaState announced_;
    bool announcePending_ = false;
};

// org.mpris.MediaPlayer2: the program itself.
class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)
  public:
    explicit MprisRootAdaptor(MprisService& service);
    QString Identity() const;
    QString DesktopEntry() const;
    bool CanQuit() const { return true; }
    bool CanRaise() const { return true; }
    bool HasTrackList() const { return false; }
    QStringList SupportedUriSchemes() const;
    QStringList SupportedMimeTypes() const;

  public slots:
    void Raise();
    void Quit();

  private:
    MprisService& service_;
};

// org.mpris.MediaPlayer2.Player: the transport, the track and the volume.
class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Rate READ Rate WRITE SetRate)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(bool CanGoNext READ CanGoNext)
    Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
    Q_PROPERTY(bool CanPlay READ CanPlay)
    Q_PROPERTY(bool CanPause READ CanPause)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ CanControl)
  public:
    explicit MprisPlayerAdaptor(MprisService& service);
    QString PlaybackStatus() const;
    double Rate() const { return 1.0; }
    void SetRate(double) {}
    QVariantMap Metadata() const;
    double Volume() const { return service_.State().volume; }
    void SetVolume(double volume);
    qlonglong Position() const;
    bool CanGoNext() const { return service_.State().canGoNext; }
    bool CanGoPrevious() const { return service_.State().canGoPrevious; }
    bool CanPlay() const { return service_.State().canPlay; }
    bool CanPause() const { return service_.State().canPause; }
    bool CanSeek() const { return service_.State().canSeek; }
    bool CanControl() const { return true; }

  public slots:
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    void Seek(qlonglong offset);
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position);
    void OpenUri(const QString& uri);

  signals:
    void Seeked(qlonglong position);

  private:
    MprisService& service_;
};

// The track's metadata as the controls read it.
QVariantMap MprisMetadata(const MediaState& state);

}  // namespace korvana
