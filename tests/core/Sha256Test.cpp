#include "core/integrity/sha256.h"
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
