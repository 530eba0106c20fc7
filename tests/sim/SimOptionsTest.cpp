#include "tools/sim/CoreOptions.h"

#include <gtest/gtest.h>

namespace korvana::sim {
namespace {

TEST(SimOptions, TheRealCoresFormNamesPortsLikeARealCore) {
    const CoreOptions real(WireForm::kRealCore);
    EXPECT_EQ(real.Value("ED2K-port"), "4662");
    EXPECT_EQ(real.Value("FT-client_port"), "1214");
    EXPECT_EQ(real.Value("DC-client_port"), "4444");
    for (const char* missing : {"port", "GNUT-client_port", "G2-client_port", "overnet_port",
                                "SLSK-client_port", "OpenNap-client_port"}) {
        EXPECT_EQ(real.Value(missing), std::nullopt) << missing;
    }
    // Every switch is there, as in a real core's option file.
    EXPECT_EQ(real.Value("enable_soulseek"), "false");

    const CoreOptions documented(WireForm::kDocumented);
    EXPECT_EQ(documented.Value("port"), "4662");
    EXPECT_EQ(documented.Value("OpenNap-client_port"), "6699");
    EXPECT_EQ(documented.Value("ED2K-port"), std::nullopt);
}

TEST(SimOptions, TheRealCoresFormRefusesOptionsItDoesNotHave) {
    CoreOptions real(WireForm::kRealCore);
    EXPECT_TRUE(real.Set("ED2K-port", "4700"));
    EXPECT_EQ(real.Value("ED2K-port"), "4700");
    EXPECT_FALSE(real.Set("GNUT-client_port", "7000"));
    EXPECT_FALSE(real.Set("incoming_directory", "/x"));
    EXPECT_EQ(real.Value("GNUT-client_port"), std::nullopt);

    CoreOptions documented(WireForm::kDocumented);
    EXPECT_TRUE(documented.Set("anything_new", "1"));
}

}  // namespace
}  // namespace korvana::sim
