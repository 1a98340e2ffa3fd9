#include "core/integrity/verifyReport.h"
#include "core/integrity/manifestXmp.h"
#include "core/integrity/sha256.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace zqar;
using zqar::testing::TempDir;

namespace {

std::string pdfAround(const std::string &metadata) {
    return "%PDF-1.4\n1 0 obj\n<< /Type /Metadata /Subtype /XML >>\nstream\n" + metadata +
           "\nendstream\nendobj\ntrailer\n<< /Root 1 0 R >>\n%%EOF\n";
}

// A job of two log files and a report file, the results being the log files' texts with the
// settings line in front, so that changing a file or the settings changes the results.
class VerifyReport : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("4711.dta", "Logger data file\r\n4711\r\n1 20.5\r\n");
        dir.write("4712.dta", "Logger data file\r\n4712\r\n1 21.0\r\n");
        dir.write("job.ttr", "report bytes");
        std::vector<ManifestSource> sources = {
            *describeSource(dir.file("4711.dta"), SourceRole::LogFile),
            *describeSource(dir.file("4712.dta"), SourceRole::LogFile)};
        const auto report = describeSource(dir.file("job.ttr"), SourceRole::Report);
        sources.push_back(sourceTakenFromReport("4713.dta", SourceRole::LogFile, *report));
        const std::string settings = settingsText({{"upperLimit", "8"}, {"lowerLimit", "2"}});
        manifest = makeManifest(sources, settings, results(settings, sourcePaths()), "1.3");
        writeReport(manifestXmp(manifest));
    }

    std::vector<std::string> sourcePaths() const {
        return {dir.file("4711.dta"), dir.file("4712.dta"), dir.file("job.ttr")};
    }
    static std::string results(const std::string &settings, const std::vector<std::string> &paths) {
        std::string text = settings;
        for (const std::string &path : paths)
            text += zqar::testing::fileBytes(path);
        return text;
    }
    void writeReport(const std::string &xmp) { pdf = dir.write("report.pdf", pdfAround(xmp)); }

    // What the job would do: load the found sources and compute with the recorded settings.
    Recompute recompute() {
        return [this](const Manifest &recorded, const std::vector<SourceCheck> &sources) {
            ++recomputations;
            Recomputed again;
            again.settingsText = settingsText(readSettingsText(recorded.settingsText));
            std::vector<std::string> paths;
            for (const SourceCheck &source : sources) {
                if (source.path.empty())
                    return again; // the results cannot be computed without it
                paths.push_back(source.path);
            }
            again.resultsText = results(*again.settingsText, paths);
            return again;
        };
    }

    std::string verify(const std::string &sourcesFolder = {}) {
        const Verification verification = verifyReport(pdf, sourcesFolder, recompute());
        verified = verification.verified();
        return verificationText(verification);
    }

    TempDir dir;
    Manifest manifest;
    std::string pdf;
    int recomputations = 0;
    bool verified = false;
};

} // namespace

TEST_F(VerifyReport, VerifiesAnUntouchedReport) {
    EXPECT_EQ(verify(), "OK 4711.dta\nOK 4712.dta\nOK 4713.dta\nOK settings\nOK results\n"
                        "VERIFIED\n");
    EXPECT_TRUE(verified);
    EXPECT_EQ(recomputations, 1);
}

TEST_F(VerifyReport, NamesASourceWithOneByteChangedAndTheResults) {
    std::string bytes = zqar::testing::fileBytes(dir.file("4712.dta"));
    bytes[bytes.size() - 3] = '1';
    dir.write("4712.dta", bytes);
    EXPECT_EQ(verify(), "OK 4711.dta\nCHANGED 4712.dta\nOK 4713.dta\nOK settings\n"
                        "CHANGED results\nNOT VERIFIED\n");
    EXPECT_FALSE(verified);
}

TEST_F(VerifyReport, NamesARenamedSourceMissing) {
    std::filesystem::rename(dir.file("4711.dta"), dir.file("4711-old.dta"));
    EXPECT_EQ(verify(), "MISSING 4711.dta\nOK 4712.dta\nOK 4713.dta\nOK settings\n"
                        "MISSING results\nNOT VERIFIED\n");
    EXPECT_FALSE(verified);
}

TEST_F(VerifyReport, ChecksASourceTakenFromTheReportAsThatReportFile) {
    dir.write("job.ttr", "report bytes, edited");
    EXPECT_EQ(verify(), "OK 4711.dta\nOK 4712.dta\nCHANGED 4713.dta\nOK settings\n"
                        "CHANGED results\nNOT VERIFIED\n");
}

TEST_F(VerifyReport, NamesTheSettingsWhenALimitInTheMetadataWasChanged) {
    std::string xmp = manifestXmp(manifest);
    xmp.replace(xmp.find("upperLimit=8"), 12, "upperLimit=9");
    writeReport(xmp);
    EXPECT_EQ(verify(), "OK 4711.dta\nOK 4712.dta\nOK 4713.dta\nCHANGED settings\n"
                        "CHANGED results\nNOT VERIFIED\n");
}

TEST_F(VerifyReport, NamesTheSettingsWhenTheRecomputationWritesThemOtherwise) {
    const Recomputed again{std::string("upperLimit=8.0\nlowerLimit=2\n"),
                           results(manifest.settingsText, sourcePaths())};
    const Verification verification =
        verifyManifest(manifest, checkSources(manifest, {{}, dir.path().string()}), again);
    EXPECT_EQ(verificationText(verification), "OK 4711.dta\nOK 4712.dta\nOK 4713.dta\n"
                                              "CHANGED settings\nOK results\nNOT VERIFIED\n");
}

TEST_F(VerifyReport, LooksInTheSourcesFolderFirstAndBesideTheReportElse) {
    TempDir sources;
    sources.write("4711.dta", "other bytes");
    EXPECT_EQ(verify(sources.path().string()),
              "CHANGED 4711.dta\nOK 4712.dta\nOK 4713.dta\nOK settings\nCHANGED results\n"
              "NOT VERIFIED\n");
    sources.write("4711.dta", zqar::testing::fileBytes(dir.file("4711.dta")));
    std::filesystem::remove(dir.file("4711.dta"));
    EXPECT_EQ(verify(sources.path().string()),
              "OK 4711.dta\nOK 4712.dta\nOK 4713.dta\nOK settings\nOK results\nVERIFIED\n");
}

TEST_F(VerifyReport, RefusesAReportWithoutAReadableManifestWithTheReason) {
    struct Case {
        std::string bytes;
        std::string line;
    };
    std::string badHash = manifestXmp(manifest);
    badHash.replace(badHash.find(manifest.resultsSha256), 64, "not a hash");
    const std::string good = pdfAround(manifestXmp(manifest));
    const std::vector<Case> cases = {
        {pdfAround("no metadata"), "NOT VERIFIED: the PDF file holds no XMP metadata\n"},
        {good.substr(0, good.size() / 2),
         "NOT VERIFIED: the PDF file is truncated: it does not end with an end-of-file marker\n"},
        {pdfAround(badHash), "NOT VERIFIED: the manifest's resultsSha256 is not a SHA-256 of 64 "
                             "hexadecimal digits\n"},
        {"plain text", "NOT VERIFIED: the report file is not a PDF file\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        dir.write("report.pdf", c.bytes);
        EXPECT_EQ(verify(), c.line);
        EXPECT_FALSE(verified);
    }
    EXPECT_EQ(recomputations, 0);
    pdf = dir.file("absent.pdf");
    EXPECT_EQ(verify(), "NOT VERIFIED: the report file cannot be read\n");
}

TEST_F(VerifyReport, NeedsTheResultsRecomputedToVerify) {
    const Verification verification = verifyReport(pdf, {}, nullptr);
    EXPECT_FALSE(verification.verified());
    EXPECT_EQ(verificationText(verification),
              "OK 4711.dta\nOK 4712.dta\nOK 4713.dta\nOK settings\nMISSING results\n"
              "NOT VERIFIED\n");
}
