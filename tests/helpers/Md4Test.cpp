// The test peers' MD4 names files as eDonkey peers do; a wrong digest would
// make every peer download fail its check, far from the cause.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tests/support/Md4.h"

namespace korvana::test {
namespace {

TEST(Md4Test, MatchesTheReferenceDigests) {
    EXPECT_EQ(Md4Hex(""), "31d6cfe0d16ae931b73c59d7e0c089c0");
    EXPECT_EQ(Md4Hex("a"), "bde52cb31de33e46245e05fbdbd6fb24");
    EXPECT_EQ(Md4Hex("abc"), "a448017aaf21d8525fc10ae87aa6729d");
    EXPECT_EQ(Md4Hex("message digest"), "d9130a8164549fe818874806e1c7014b");
    EXPECT_EQ(Md4Hex("abcdefghijklmnopqrstuvwxyz"), "d79e1c308aa5bbcdeea8ed63df412da9");
    EXPECT_EQ(Md4Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "043f8582f241db351ce627e153e7f0e4");
    EXPECT_EQ(Md4Hex("1234567890123456789012345678901234567890123456789012345678901234567890"
                     "1234567890"),
              "e33b4ddc9c38f2199c3e7b164fcc0536");
}

// Lengths around the 56- and 64-byte edges decide whether the length goes
// into the last block or a block of its own (digests from OpenSSL's MD4).
TEST(Md4Test, PaddingEdgesMatchTheReferenceDigests) {
    const std::pair<std::size_t, std::string> expected[] = {
        {55, "92f32bb82c95ad10e8f87ae58ab06807"},  {56, "374d5f08103b7092c83b4626ebceffab"},
        {63, "2870452596e98fffd48332289b3472b9"},  {64, "b1abf956a5ae6f3221e5fe85e300fbb0"},
        {65, "afc1a3308fc176a53238a09aeddec2e6"},  {119, "b55ae15e41e55643b0c3daad5e05c905"},
        {120, "d8f9adfc41ec43552619606c70cfd287"}, {128, "7c087dd92a6743e09f3763a6d99c9d26"},
    };
    for (const auto& [size, digest] : expected) {
        EXPECT_EQ(Md4Hex(std::string(size, 'x')), digest) << size << " bytes";
    }
}

}  // namespace
}  // namespace korvana::test
