// The real search page against the simulated world: korvana-sim as the core
// and the simulated web engines, offscreen.
#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <set>

#include "PageTestSupport.h"
#include "controls/SearchTabCtrl.h"
#include "core/CoreLink.h"
#include "core/StatusLog.h"
#include "search/CoreCommands.h"
#include "tests/support/SimHarness.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiWait.h"
#include "tools/sim/web/SimWebServer.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;

constexpr int kPatienceMs = 30000;

std::string Hex(const std::vector<std::uint8_t>& bytes, std::size_t from) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = from; i < bytes.size(); ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 15];
    }
    return hex;
}

// The trace line of a frame: its opcode, a blank, its payload in hex.
std::string TraceLineOf(const GuiMessage& message) {
    const std::vector<std::uint8_t> frame = message.ToFrame();
    return std::to_string(frame[4] | frame[5] << 8) + " " + Hex(frame, 6);
}

class SearchPageSimTest : public ::testing::Test {
  protected:
    SearchPageSimTest() : sim_(folder_.Path()) {}

    void SetUp() override {
        ASSERT_GT(sim_.Port(), 0);
        ASSERT_TRUE(web_.Start());
        CoreLinkConfig config;
        config.host = "127.0.0.1";
        config.port = static_cast<std::uint16_t>(sim_.Port());
        link_ = std::make_unique<CoreLink>(config, log_, prompter_, clock_);
        commands_ = std::make_unique<CoreLinkCommands>(*link_);
        WebSearchOptions options;
        options.tuning.engine1RefetchDelay = 10ms;
        const std::string base = web_.BaseUrl();
        session_ = std::make_unique<SearchSession>(
            *commands_, SearchSessionOptions(EngineUrls{base, base, base}, options));
        model_ = &session_->Model();
        link_->SetSearchSink(model_);
        link_->StartReceiveThread();
        page_ = std::make_unique<SearchPage>(*session_, downloads_, prompter_);
        page_->resize(1000, 700);
        page_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page_.get()));
        ASSERT_TRUE(test::WaitUntil([&] { return link_->IsLoggedIn(); }, kPatienceMs));
    }
    void TearDown() override {
        page_.reset();
        if (session_) {
            session_->Shutdown();
        }
        link_.reset();
        session_.reset();
    }

    std::vector<int> RowsWhere(const std::function<bool(const ListedRow&)>& wanted) const {
        std::vector<int> rows;
        for (int row = 0; row < page_->Results().rowCount(); ++row) {
            if (wanted(page_->Results().RowAt(row))) {
                rows.push_back(row);
            }
        }
        return rows;
    }
    static bool IsWeb(const ListedRow& row) { return !row.result->fromCore; }

    test::TempDir folder_;
    sim::test::SimProcess sim_;
    sim::SimWebServer web_;
    StatusLog log_;
    test::SearchPagePrompter prompter_;
    SystemClock clock_;
    test::RecordingDownloads downloads_;
    std::unique_ptr<CoreLink> link_;
    std::unique_ptr<CoreLinkCommands> commands_;
    std::unique_ptr<SearchSession> session_;
    SearchModel* model_ = nullptr;
    std::unique_ptr<SearchPage> page_;
};

TEST_F(SearchPageSimTest, KeywordAndEnterListCoreAndWebResultsAndDownloadSendsTheFrames) {
    const std::string failing = "/files/" + sim::PercentEncodePath("Quiet Engines - Handshake.mp3");
    web_.Router().SetPage(failing, "gone", 404);
    // Web rows as they were first listed, to see them start as "Unknown".
    std::set<std::string> listedUnknown;
    QObject::connect(&page_->Results(), &QAbstractItemModel::rowsInserted,
                     [&](const QModelIndex&, int first, int last) {
                         for (int row = first; row <= last; ++row) {
                             const ListedRow& listed = page_->Results().RowAt(row);
                             if (IsWeb(listed) && !listed.SizeKnown()) {
                                 listedUnknown.insert(listed.result->Link());
                             }
                         }
                     });
    auto* keyword = page_->findChild<QLineEdit*>(QStringLiteral("IDC_KEYWORD"));
    keyword->setFocus();
    keyword->setText(QStringLiteral("quiet engines"));
    QTest::keyClick(keyword, Qt::Key_Return);

    // Two web results get their sizes; the third fails its probe and goes.
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            const auto web = RowsWhere(IsWeb);
            const auto sized =
                RowsWhere([](const ListedRow& row) { return IsWeb(row) && row.SizeKnown(); });
            return web.size() == 2 && sized.size() == 2 &&
                   !RowsWhere([](const ListedRow& row) { return !IsWeb(row); }).empty();
        },
        kPatienceMs));
    ASSERT_TRUE(session_->Web().WaitUntilIdle(10s));
    // The failing result was listed as "Unknown" before its probe removed it.
    EXPECT_EQ(listedUnknown.count(web_.BaseUrl() + failing), 1u);
    for (int row : RowsWhere(IsWeb)) {
        const std::string name(page_->Results().RowAt(row).result->Name());
        EXPECT_NE(name, "Quiet Engines - Handshake.mp3");
        EXPECT_EQ(page_->Results().RowAt(row).size,
                  name == "Quiet Engines - Idle Loop.mp3" ? 12510 : 16680);
    }
    const std::vector<int> core = RowsWhere([](const ListedRow& row) { return !IsWeb(row); });
    for (int row : core) {
        EXPECT_EQ(page_->Results().RowAt(row).result->searchId, 0);
        EXPECT_NE(page_->Results().RowAt(row).result->Name().find("Quiet Engines"),
                  std::string::npos);
    }
    const int count = model_->ShownCount(0);
    EXPECT_EQ(count, static_cast<int>(core.size()) + 2);
    ASSERT_TRUE(test::WaitUntil([&] {
        return page_->Tabs().Model().Tab(0).title ==
               "quiet engines (" + std::to_string(model_->ShownCount(0)) + ")";
    }));

    const ListedRow chosen = page_->Results().RowAt(core.front());
    page_->ResultView().selectionModel()->select(
        page_->Results().index(core.front(), 0),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    page_->DownloadSelected();
    const std::string request =
        TraceLineOf(BuildDownloadRequest(chosen.result->Name(), chosen.result->core->resultId));
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            const auto lines = sim_.TraceLines();
            const auto at = std::find(lines.begin(), lines.end(), request);
            return at != lines.end() && std::next(at) != lines.end() && *std::next(at) == "45 ";
        },
        kPatienceMs));
}

}  // namespace
}  // namespace korvana
