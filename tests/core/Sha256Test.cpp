#include "core/integrity/sha256.h"
#include "core/integrity/sha256Blocks.h"
#include "support/Shell.h"
#include "support/TempDir.h"

#include <cctype>
#include <gtest/gtest.h>
#include <random>

using namespace zqar;
using zqar::testing::TempDir;

namespace {

struct Vector {
    std::string message;
    const char *digest;
};

// The SHA-256 examples of FIPS 180-4 and its test vectors, one a padding case each: empty, one
// block, the length spilling into a second block, two full blocks.
std::vector<Vector> fipsVectors() {
    return {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnop"
         "qrlmnopqrsmnopqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
}

std::string randomBytes(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char &byte : bytes)
        byte = static_cast<char>(generator() & 0xFF);
    return bytes;
}

} // namespace

TEST(Sha256, GivesTheFipsDigests) {
    for (const Vector &vector : fipsVectors()) {
        SCOPED_TRACE(vector.message.substr(0, 20));
        EXPECT_EQ(sha256Hex(vector.message), vector.digest);
    }
}

// The processor's SHA instructions must leave the very state the portable rounds leave, over
// runs of one block and of many, from the initial state and from a state that went before.
TEST(Sha256, ProcessorInstructionsGiveThePortableState) {
    const sha256blocks::CompressFunction accelerated = sha256blocks::acceleratedCompress();
    if (!accelerated)
        GTEST_SKIP() << "this processor has no SHA instructions";
    for (const std::size_t blocks : {1u, 2u, 5u, 64u}) {
        for (unsigned seed = 1; seed <= 20; ++seed) {
            SCOPED_TRACE(blocks * 100 + seed);
            const std::string bytes = randomBytes(64 * blocks, seed);
            const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.data());
            std::array<std::uint32_t, 8> portable = {};
            for (std::size_t i = 0; i < portable.size(); ++i)
                portable[i] = static_cast<std::uint32_t>(std::mt19937(seed + 1000)() + i);
            std::array<std::uint32_t, 8> fast = portable;
            sha256blocks::compressPortable(portable.data(), data, blocks);
            accelerated(fast.data(), data, blocks);
            EXPECT_EQ(fast, portable);
        }
    }
}

TEST(Sha256, HashesBytesFedInPiecesAsTheWholeAndStartsAgainAfterFinish) {
    const std::string bytes = randomBytes(1000, 7);
    const std::string whole = sha256Hex(bytes);
    // Pieces that end inside, at and across the 64-byte blocks.
    for (const std::size_t step : {1u, 3u, 55u, 56u, 63u, 64u, 65u, 129u, 999u}) {
        SCOPED_TRACE(step);
        Sha256 hash;
        for (std::size_t at = 0; at < bytes.size(); at += step)
            hash.update(std::string_view(bytes).substr(at, step));
        EXPECT_EQ(hexText(hash.finish()), whole);
        hash.update("abc");
        EXPECT_EQ(hexText(hash.finish()), fipsVectors()[1].digest);
    }
}

TEST(Sha256, ReadsHexadecimalDigestsOfEitherCaseOnly) {
    const std::string lower = fipsVectors()[1].digest;
    std::string upper = lower;
    for (char &c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ASSERT_TRUE(digestFromHex(upper));
    EXPECT_EQ(hexText(*digestFromHex(upper)), lower);
    for (const std::string &bad :
         {std::string(), lower.substr(1), lower + "0", "g" + lower.substr(1), " " + lower.substr(1),
          lower.substr(0, 63) + "-"})
        EXPECT_FALSE(digestFromHex(bad)) << bad;
}

TEST(Sha256, FileDigestsAgreeWithTheSystemTool) {
    TempDir dir;
    // Empty, tiny, one block short of the read block, and several read blocks with a rest.
    const std::vector<std::pair<std::string, std::string>> files = {
        {"empty.dta", ""},
        {"one byte.dta", "x"},
        {"block.ttr", randomBytes((1 << 16) - 1, 1)},
        {"large.csv", randomBytes(3 * (1 << 16) + 17, 2)},
    };
    const bool haveTool = zqar::testing::haveProgram("sha256sum");
    for (const auto &[name, bytes] : files) {
        SCOPED_TRACE(name);
        const std::string path = dir.write(name, bytes);
        const auto digest = sha256File(path);
        ASSERT_TRUE(digest);
        EXPECT_EQ(digest->size, bytes.size());
        EXPECT_EQ(digest->sha256, sha256Hex(bytes));
        if (!haveTool)
            continue;
        const auto printed =
            zqar::testing::commandOutput("sha256sum " + zqar::testing::shellQuoted(path));
        ASSERT_TRUE(printed);
        EXPECT_EQ(printed->substr(0, 64), digest->sha256);
    }
    if (!haveTool)
        GTEST_SKIP() << "sha256sum is not installed; compared with the in-memory digest only";
}

TEST(Sha256, RefusesAFileThatCannotBeRead) {
    TempDir dir;
    EXPECT_FALSE(sha256File(dir.file("absent.dta")));
    EXPECT_FALSE(sha256File(dir.path().string())); // a folder
}
