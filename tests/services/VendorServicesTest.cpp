#include "services/VendorServices.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "services/UpdateSchedule.h"
#include "services/VendorUrl.h"
#include "tests/services/ServicesFakes.h"
#include "tests/support/FakeClock.h"
#include "tests/support/MemorySettings.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;

class VendorServicesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Start());
        settings_.values[kVendorUrlKey] = server_.BaseUrl();
        HttpOptions options;
        options.idleTimeout = 2000ms;
        services_ = std::make_unique<VendorServices>(settings_, clock_, listener_, options);
    }
    void WaitIdle() {
        ASSERT_TRUE(test::vendor::PollUntil([&] { return !services_->Busy(); }));
    }
    // Runs one check as if a day had passed since the last one.
    void CheckAfterADay() {
        clock_.Advance(std::chrono::hours(48));
        ASSERT_TRUE(services_->StartUpdateCheck());
        WaitIdle();
    }
    std::string Now() const { return std::to_string(clock_.WallNow()); }

    sim::SimWebServer server_;
    test::MemorySettings settings_;
    test::FakeClock clock_;
    test::vendor::RecordingListener listener_;
    std::unique_ptr<VendorServices> services_;
};

TEST_F(VendorServicesTest, OneCheckADay) {
    EXPECT_TRUE(services_->StartUpdateCheck());
    // Recorded before the check runs, not when it ends.
    EXPECT_EQ(settings_.values[kDayLastCheckedKey], Now());
    EXPECT_FALSE(services_->StartUpdateCheck());
    WaitIdle();
    EXPECT_FALSE(services_->StartUpdateCheck());
    EXPECT_EQ(test::vendor::TargetsOf(server_, "/version.txt").size(), 1u);

    clock_.Advance(24h);
    EXPECT_FALSE(services_->StartUpdateCheck());
    clock_.Advance(1s);
    EXPECT_TRUE(services_->StartUpdateCheck());
    EXPECT_EQ(settings_.values[kDayLastCheckedKey], Now());
    WaitIdle();
    EXPECT_EQ(test::vendor::TargetsOf(server_, "/version.txt").size(), 2u);
}

TEST_F(VendorServicesTest, StoredDayWithoutANumberCountsAsZero) {
    settings_.values[kDayLastCheckedKey] = "yesterday";
    EXPECT_TRUE(services_->StartUpdateCheck());
    EXPECT_EQ(settings_.values[kDayLastCheckedKey], Now());
    WaitIdle();
}

TEST_F(VendorServicesTest, FailedCheckStillCountsAsToday) {
    sim::SimWebFaults reset;
    reset.reset = true;
    server_.SetFaults(reset);
    EXPECT_TRUE(services_->StartUpdateCheck());
    WaitIdle();
    EXPECT_EQ(settings_.values[kDayLastCheckedKey], Now());
    EXPECT_FALSE(services_->StartUpdateCheck());
    EXPECT_TRUE(listener_.News().empty());
}

TEST_F(VendorServicesTest, OnlyANewerVersionIsReported) {
    const struct {
        std::string answer;
        bool newer;
    } cases[] = {{"3.0.0\n", false}, {"3.0.1", true}, {"3.0.10\r\n", true},
                 {"2.9.9", false},   {"", false},     {"4 beta", false}};
    std::size_t reported = 0;
    for (const auto& test : cases) {
        server_.Router().SetPage("/version.txt", test.answer, 200, "text/plain");
        CheckAfterADay();
        reported += test.newer ? 1 : 0;
        ASSERT_EQ(listener_.News().size(), reported) << test.answer;
    }
    const auto news = listener_.News();
    EXPECT_EQ(news[0].version, "3.0.1");
    EXPECT_EQ(news[1].version, "3.0.10");
    // The setup program is for another system: the news points at the page.
    EXPECT_EQ(news[0].downloadPage, server_.BaseUrl() + "/");
}

TEST_F(VendorServicesTest, ErrorPageIsNoVersion) {
    server_.Router().SetPage("/version.txt", "<html><body>Not Found</body></html>", 404);
    CheckAfterADay();
    EXPECT_TRUE(listener_.News().empty());
}

TEST_F(VendorServicesTest, UpdateTextIsRequestedAsGiven) {
    CheckAfterADay();
    EXPECT_EQ(server_.Requests().size(), 2u);

    server_.ClearRequests();
    server_.Router().SetPage("/dl_update.txt", server_.BaseUrl() + "/promo/landing.php?from=3.0.0",
                             200, "text/plain");
    CheckAfterADay();
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].target, "/dl_update.txt");
    EXPECT_EQ(requests[1].target, "/promo/landing.php?from=3.0.0");
    EXPECT_EQ(requests[2].target, "/version.txt");
}

// The update answer names a page of its choosing; on this machine or its
// network only the vendor's own server may be asked, and never by a
// redirect either.
TEST_F(VendorServicesTest, AnswersCannotPointAtOtherLocalServices) {
    sim::SimWebServer other;
    ASSERT_TRUE(other.Start());
    server_.Router().SetPage("/dl_update.txt", other.BaseUrl() + "/admin?do=wipe", 200,
                             "text/plain");
    server_.Router().SetRawResponse("/version.txt", "HTTP/1.0 302 Found\r\nLocation: " +
                                                        other.BaseUrl() + "/version.txt\r\n\r\n");
    CheckAfterADay();
    server_.Router().SetPage("/dl_update.txt", "file:///etc/passwd", 200, "text/plain");
    CheckAfterADay();
    EXPECT_TRUE(other.Requests().empty());
    EXPECT_TRUE(listener_.News().empty());
    for (const auto& request : server_.Requests()) {
        EXPECT_TRUE(request.target == "/dl_update.txt" || request.target == "/version.txt")
            << request.target;
    }
}

TEST_F(VendorServicesTest, StopEndsAStalledCheckAndStartsNothingMore) {
    sim::SimWebFaults stalled;
    stalled.stallAfterBytes = 0;
    server_.SetFaults(stalled);
    HttpOptions patient;
    patient.idleTimeout = 60s;
    VendorServices services(settings_, clock_, listener_, patient);
    ASSERT_TRUE(services.StartUpdateCheck());
    ASSERT_TRUE(test::vendor::PollUntil([&] { return !server_.Requests().empty(); }));
    services.Stop();
    EXPECT_FALSE(services.Busy());
    clock_.Advance(48h);
    EXPECT_FALSE(services.StartUpdateCheck());
    settings_.values[kNewInstallKey] = "1";
    EXPECT_FALSE(services.SendInstallNotice());
    EXPECT_TRUE(listener_.News().empty());
}

TEST_F(VendorServicesTest, InstallNoticeFlag) {
    const struct {
        std::optional<std::string> newInstall;
        std::optional<std::string> rk;
        std::string expected;
    } cases[] = {
        {"1", std::nullopt, "/KorvanaInstall.cgi?rk=0"}, {"1", "1", "/KorvanaInstall.cgi?rk=1"},
        {"1", "0", "/KorvanaInstall.cgi?rk=0"},          {"0", "1", "/KorvanaInstall.cgi?rk=0"},
        {"0", std::nullopt, "/KorvanaInstall.cgi?rk=0"}, {std::nullopt, "1", ""}};
    for (const auto& test : cases) {
        server_.ClearRequests();
        if (test.newInstall) {
            settings_.values[kNewInstallKey] = *test.newInstall;
        }
        if (test.rk) {
            settings_.values[kRkKey] = *test.rk;
        }
        EXPECT_EQ(services_->SendInstallNotice(), !test.expected.empty());
        WaitIdle();
        const auto targets = test::vendor::TargetsOf(server_, "/KorvanaInstall.cgi");
        EXPECT_EQ(targets, test.expected.empty() ? std::vector<std::string>{}
                                                 : std::vector<std::string>{test.expected});
        EXPECT_EQ(settings_.values.count(kNewInstallKey), 0u);
        EXPECT_EQ(settings_.values.count(kRkKey), 0u);
    }
}

TEST_F(VendorServicesTest, InstallValuesGoEvenWhenTheServerFails) {
    server_.Router().SetPage("/KorvanaInstall.cgi", "broken", 500);
    settings_.values[kNewInstallKey] = "1";
    settings_.values[kRkKey] = "1";
    EXPECT_TRUE(services_->SendInstallNotice());
    WaitIdle();
    EXPECT_EQ(test::vendor::TargetsOf(server_, "/KorvanaInstall.cgi").size(), 1u);
    EXPECT_EQ(settings_.values.count(kNewInstallKey), 0u);
    EXPECT_EQ(settings_.values.count(kRkKey), 0u);
    EXPECT_FALSE(services_->SendInstallNotice());
}

TEST(VendorUrl, DefaultsToTheSimulatedWebAndDropsTrailingSlashes) {
    test::MemorySettings settings;
    EXPECT_EQ(ReadVendorUrl(settings), "http://127.0.0.1:4100");
    settings.values[kVendorUrlKey] = "";
    EXPECT_EQ(ReadVendorUrl(settings), "http://127.0.0.1:4100");
    settings.values[kVendorUrlKey] = "http://localhost:8080//";
    EXPECT_EQ(ReadVendorUrl(settings), "http://localhost:8080");
}

}  // namespace
}  // namespace korvana
