#include "tests/support/Md4.h"

#include <bit>

namespace korvana::test {
namespace {

using Word = std::uint32_t;

Word F(Word x, Word y, Word z) {
    return (x & y) | (~x & z);
}
Word G(Word x, Word y, Word z) {
    return (x & y) | (x & z) | (y & z);
}
Word H(Word x, Word y, Word z) {
    return x ^ y ^ z;
}

// The three rounds over one 64-byte block, each with its own word order and
// shifts.
void Compress(std::array<Word, 4>& state, const unsigned char* block) {
    Word x[16];
    for (int i = 0; i < 16; ++i) {
        x[i] = Word(block[4 * i]) | Word(block[4 * i + 1]) << 8 | Word(block[4 * i + 2]) << 16 |
               Word(block[4 * i + 3]) << 24;
    }
    Word a = state[0];
    Word b = state[1];
    Word c = state[2];
    Word d = state[3];
    constexpr int kShift1[4] = {3, 7, 11, 19};
    for (int i = 0; i < 16; ++i) {
        const Word t = std::rotl(a + F(b, c, d) + x[i], kShift1[i % 4]);
        a = d, d = c, c = b, b = t;
    }
    constexpr int kShift2[4] = {3, 5, 9, 13};
    for (int i = 0; i < 16; ++i) {
        const int k = (i % 4) * 4 + i / 4;
        const Word t = std::rotl(a + G(b, c, d) + x[k] + 0x5a827999u, kShift2[i % 4]);
        a = d, d = c, c = b, b = t;
    }
    constexpr int kShift3[4] = {3, 9, 11, 15};
    constexpr int kOrder3[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
    for (int i = 0; i < 16; ++i) {
        const Word t = std::rotl(a + H(b, c, d) + x[kOrder3[i]] + 0x6ed9eba1u, kShift3[i % 4]);
        a = d, d = c, c = b, b = t;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

}  // namespace

std::array<std::uint8_t, 16> Md4(std::string_view data) {
    std::array<Word, 4> state{0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u};
    std::string tail(data.substr(data.size() - data.size() % 64));
    tail.push_back('\x80');
    while (tail.size() % 64 != 56) {
        tail.push_back('\0');
    }
    const std::uint64_t bits = static_cast<std::uint64_t>(data.size()) * 8;
    for (int i = 0; i < 8; ++i) {
        tail.push_back(static_cast<char>(bits >> (8 * i)));
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    for (std::size_t at = 0; at + 64 <= data.size(); at += 64) {
        Compress(state, bytes + at);
    }
    for (std::size_t at = 0; at < tail.size(); at += 64) {
        Compress(state, reinterpret_cast<const unsigned char*>(tail.data()) + at);
    }
    std::array<std::uint8_t, 16> digest{};
    for (int i = 0; i < 16; ++i) {
        digest[i] = static_cast<std::uint8_t>(state[i / 4] >> (8 * (i % 4)));
    }
    return digest;
}

std::string Md4Hex(std::string_view data) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const std::uint8_t byte : Md4(data)) {
        hex.push_back(kDigits[byte >> 4]);
        hex.push_back(kDigits[byte & 0xf]);
    }
    return hex;
}

}  // namespace korvana::test
