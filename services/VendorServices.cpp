#include "services/VendorServices.h"

#include <algorithm>
#include <cstddef>

#include "platform/Clock.h"
#include "platform/SettingsStore.h"
#include "services/UpdateOffer.h"
#include "services/UpdateSchedule.h"
#include "services/VendorUrl.h"
#include "services/VersionText.h"
#include "web/HttpClient.h"

namespace korvana {
namespace {

// The vendor's text files hold a version or a URL; an answer this long is
// neither, and is not acted on.
constexpr std::size_t kMaxVendorText = 4096;

int InstallNoticeFlag(const std::string& newInstall, const std::optional<std::string>& rk) {
    return newInstall == "1" && rk == "1" ? 1 : 0;
}

}  // namespace

VendorServices::VendorServices(SettingsStore& settings, const Clock& clock,
                               UpdateListener& listener, const HttpOptions& options)
    : settings_(settings), clock_(clock), listener_(listener), options_(options) {
    options_.stop = &stop_;
}

VendorServices::~VendorServices() {
    Stop();
}

bool VendorServices::StartUpdateCheck() {
    const std::time_t now = clock_.WallNow();
    if (stop_.Triggered() || check_.Busy() ||
        !IsUpdateCheckDue(settings_.Read(kDayLastCheckedKey), now)) {
        return false;
    }
    settings_.Write(kDayLastCheckedKey, std::to_string(now));
    return check_.PostIfIdle(
        [this, vendorUrl = ReadVendorUrl(settings_)] { RunUpdateCheck(vendorUrl); });
}

bool VendorServices::SendInstallNotice() {
    const std::optional<std::string> newInstall = settings_.Read(kNewInstallKey);
    bool started = false;
    if (newInstall && !stop_.Triggered()) {
        const std::string url =
            ReadVendorUrl(settings_) + "/KorvanaInstall.cgi?rk=" +
            std::to_string(InstallNoticeFlag(*newInstall, settings_.Read(kRkKey)));
        started = notice_.PostIfIdle(
            [this, url] { FetchPage(url, RedirectJoin::VendorFamily, SmallTextOptions()); });
    }
    settings_.Remove(kNewInstallKey);
    settings_.Remove(kRkKey);
    return started;
}

void VendorServices::Stop() {
    stop_.Trigger();
    check_.WaitUntilIdle();
    notice_.WaitUntilIdle();
}

void VendorServices::RunUpdateCheck(const std::string& vendorUrl) {
    const HttpOptions options = SmallTextOptions();
    // The vendor may name one more page to request on each check; its answer
    // does not matter. The page is the answer's choice, so it may lead to
    // this machine or its network only on the vendor's own server.
    const std::string extraUrl =
        FetchPage(vendorUrl + "/dl_update.txt", RedirectJoin::VendorFamily, options);
    if (!extraUrl.empty() && extraUrl.size() < kMaxVendorText) {
        HttpOptions extraOptions = options;
        extraOptions.originUrls = {vendorUrl};
        FetchPage(extraUrl, RedirectJoin::VendorFamily, extraOptions);
    }
    const std::string answer =
        FetchPage(vendorUrl + "/version.txt", RedirectJoin::VendorFamily, options);
    const std::string version(TrimVersionText(answer));
    if (!stop_.Triggered() && IsNewerVersion(version, kRunningVersion)) {
        listener_.NewerVersionAvailable({version, vendorUrl + "/"});
    }
}

HttpOptions VendorServices::SmallTextOptions() const {
    HttpOptions options = options_;
    options.maxBodyBytes = std::min(options.maxBodyBytes, kMaxVendorText);
    return options;
}

}  // namespace korvana
