#pragma once

#include <string>

#include "util/StopSignal.h"
#include "util/TaskPool.h"
#include "web/HttpOptions.h"

namespace korvana {

class Clock;
class SettingsStore;
class UpdateListener;

// Settings keys left by the installer: "NewInstall" after an installation,
// "rk" = "1" for a flagged one.
inline constexpr const char* kNewInstallKey = "NewInstall";
inline constexpr const char* kRkKey = "rk";

// The background services that talk to the vendor's web server: the daily
// update check and the one-time install notice. Both requests run on worker
// threads of their own, so the window never waits for the network; the
// settings are read and written only by the caller's (GUI) thread. Stop()
// or destruction ends a running request at once and joins the threads.
class VendorServices {
  public:
    VendorServices(SettingsStore& settings, const Clock& clock, UpdateListener& listener,
                   const HttpOptions& options = {});
    ~VendorServices();
    VendorServices(const VendorServices&) = delete;
    VendorServices& operator=(const VendorServices&) = delete;

    // Asked after the main window is shown, on each page switch and after
    // each main-menu popup. At most once a day (kDayLastCheckedKey), and never
    // while a check is still running: records the time first, so a failed
    // check still counts as today's, then checks on a worker thread. A newer
    // version is reported to the listener from that thread. True when a
    // check was started.
    bool StartUpdateCheck();

    // Once during start-up: when the installer left kNewInstallKey, tells the
    // vendor's server about the installation on a worker thread. Both
    // installer values are deleted in every case, so the notice goes once.
    // True when a notice was started.
    bool SendInstallNotice();

    // Ends running requests at once and joins the threads; afterwards
    // nothing more is started. For the close sequence.
    void Stop();

    // True while a check or a notice is under way.
    bool Busy() const { return check_.Busy() || notice_.Busy(); }

  private:
    void RunUpdateCheck(const std::string& vendorUrl);
    HttpOptions SmallTextOptions() const;

    SettingsStore& settings_;
    const Clock& clock_;
    UpdateListener& listener_;
    HttpOptions options_;
    StopSignal stop_;
    TaskPool check_{1};
    TaskPool notice_{1};
};

}  // namespace korvana
