#include "core/integrity/manifestXmp.h"
#include "core/integrity/sha256.h"
#include "core/integrity/xmlTree.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace zqar;
using zqar::testing::TempDir;

namespace {

Manifest sampleManifest() {
    Manifest manifest;
    ManifestSource log;
    log.name = "4711.dta";
    log.size = 1234;
    log.sha256 = sha256Hex("log");
    ManifestSource import;
    import.name = "Cold room & <store> \"B\" 'east'.csv";
    import.role = SourceRole::Import;
    import.size = 0;
    import.sha256 = sha256Hex("");
    ManifestSource latin1; // a name that is not UTF-8
    latin1.name = "caf\xE9.dta";
    latin1.size = 18446744073709551615u;
    latin1.sha256 = sha256Hex("caf");
    ManifestSource taken;
    taken.name = "4712.dta";
    taken.takenFrom = TakenFromReport{"job 3.ttr", sha256Hex("report")};
    ManifestSource events;
    events.name = "events.csv";
    events.role = SourceRole::Events;
    events.size = 7;
    events.sha256 = sha256Hex("events");
    manifest.sources = {log, import, latin1, taken, events};
    manifest.settingsText = "description=  Room 3 <A&B> 5\xC2\xB0"
                            "C  \nupperLimit=8\nsep=\t;\r\n";
    manifest.settingsSha256 = sha256Hex(manifest.settingsText);
    manifest.resultsSha256 = sha256Hex("results");
    manifest.programVersion = "1.3";
    return manifest;
}

// A PDF's bytes around a metadata stream, as the PDF writer lays them out.
std::string pdfAround(const std::string &metadata) {
    return "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n"
           "1 0 obj\n<<\n/Type /Catalog\n/Pages 2 0 R\n/Metadata 3 0 R\n>>\nendobj\n"
           "3 0 obj\n<<\n/Type /Metadata\n/Subtype /XML\n/Length " +
           std::to_string(metadata.size()) + "\n>>\nstream\n" + metadata +
           "\nendstream\nendobj\n"
           "4 0 obj\n<<\n/Length 44\n/Filter /FlateDecode\n>>\nstream\n\x78\x9c\x01\x02<x:\n"
           "endstream\nendobj\nxref\n0 5\ntrailer\n<<\n/Size 5\n/Root 1 0 R\n>>\n"
           "startxref\n1234\n%%EOF\n";
}

std::string replaced(std::string text, const std::string &from, const std::string &to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

const std::string HASH_A = sha256Hex("a");

std::string packetWith(const std::string &properties) {
    return "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
           "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
           "rdf:about='' xmlns:zqar='http://zqar.org/ns/manifest/1.0/'>" +
           properties + "</rdf:Description></rdf:RDF></x:xmpmeta>";
}

} // namespace

TEST(ManifestXmp, ReadsBackWhatItWritesWhateverTheTextsHold) {
    const Manifest manifest = sampleManifest();
    const std::string packet = manifestXmp(manifest);
    EXPECT_EQ(packet.rfind("<?xpacket begin=\"\xEF\xBB\xBF\"", 0), 0u);
    EXPECT_NE(packet.find("<xmp:CreatorTool>Z-QAR Vemro 1.3</xmp:CreatorTool>"), std::string::npos);
    EXPECT_NE(packet.find("Cold room &amp; &lt;store&gt; &quot;B&quot; &apos;east&apos;.csv"),
              std::string::npos);
    EXPECT_NE(packet.find("<zqar:nameBase64>Y2Fm6S5kdGE=</zqar:nameBase64>"), std::string::npos);
    EXPECT_TRUE(isXmlText(packet));

    const ManifestRead read = readManifestXmp(packet);
    ASSERT_TRUE(read.manifest) << read.reason;
    EXPECT_EQ(read.problem, ManifestProblem::None);
    EXPECT_TRUE(*read.manifest == manifest);

    const ManifestRead fromPdf = readManifestFromPdfBytes(pdfAround(packet));
    ASSERT_TRUE(fromPdf.manifest) << fromPdf.reason;
    EXPECT_TRUE(*fromPdf.manifest == manifest);

    // A settings text with characters XML cannot hold goes base64.
    Manifest control = manifest;
    control.settingsText = "a=\x01\x7F\n";
    control.sources.clear();
    const ManifestRead controlRead = readManifestXmp(manifestXmp(control));
    ASSERT_TRUE(controlRead.manifest) << controlRead.reason;
    EXPECT_TRUE(*controlRead.manifest == control);
}

TEST(ManifestXmp, ReadsTheOtherFormsXmpAllows) {
    // Another prefix, simple properties as attributes, a structure as rdf:Description, CDATA,
    // comments, upper-case hashes, CR LF line ends, and properties of other schemas.
    const std::string packet =
        "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>\r\n"
        "<x:xmpmeta xmlns:x='adobe:ns:meta/'><!-- made by hand -->\r\n"
        "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>\r\n"
        " <rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/'>\r\n"
        "  <dc:title><rdf:Alt><rdf:li xml:lang='x-default'>Report</rdf:li></rdf:Alt></dc:title>\r\n"
        " </rdf:Description>\r\n"
        " <rdf:Description rdf:about='' xmlns:m='http://zqar.org/ns/manifest/1.0/'\r\n"
        "   m:programVersion='1.3' m:resultsSha256='" +
        HASH_A +
        "'>\r\n"
        "  <m:settingsSha256>" +
        sha256Hex("a=1\n") +
        "</m:settingsSha256>\r\n"
        "  <m:settingsText><![CDATA[a=1\r\n]]></m:settingsText>\r\n"
        "  <m:sources><rdf:Seq><rdf:li><rdf:Description m:name='x&#x2F;y.dta' m:role='logFile'>"
        "<m:size>12</m:size><m:sha256>" +
        sha256Hex("b").substr(0, 10) + "ABCDEF" + sha256Hex("b").substr(16) +
        "</m:sha256></rdf:Description></rdf:li></rdf:Seq></m:sources>\r\n"
        " </rdf:Description>\r\n</rdf:RDF></x:xmpmeta>\r\n<?xpacket end='w'?>";
    const ManifestRead read = readManifestXmp(packet);
    // "x/y.dta" names a folder: refused, with the item named.
    EXPECT_EQ(read.problem, ManifestProblem::BadItem);
    EXPECT_NE(read.reason.find("name (source 1)"), std::string::npos) << read.reason;

    const ManifestRead fixed = readManifestXmp(replaced(packet, "x&#x2F;y.dta", "x&#x79;.dta"));
    ASSERT_TRUE(fixed.manifest) << fixed.reason;
    const Manifest &manifest = *fixed.manifest;
    EXPECT_EQ(manifest.programVersion, "1.3");
    EXPECT_EQ(manifest.settingsText, "a=1\n");
    EXPECT_EQ(manifest.resultsSha256, HASH_A);
    ASSERT_EQ(manifest.sources.size(), 1u);
    EXPECT_EQ(manifest.sources[0].name, "xy.dta");
    EXPECT_EQ(manifest.sources[0].size, 12u);
    EXPECT_EQ(manifest.sources[0].sha256,
              sha256Hex("b").substr(0, 10) + "abcdef" + sha256Hex("b").substr(16));
}

TEST(ManifestXmp, RefusesADamagedPacketWithTheReason) {
    const std::string good = manifestXmp(sampleManifest());
    const std::string settingsHash = sampleManifest().settingsSha256;
    struct Case {
        std::string packet;
        ManifestProblem problem;
        std::string reasonHolds;
    };
    std::string nested;
    for (int i = 0; i < 100; ++i)
        nested += "<a>";
    // A recorded exclusion that ends before it starts, with the hash made to fit.
    Manifest backwards = sampleManifest();
    backwards.settingsText =
        "upperLimit=8\nexclusion=R1C1,05-Jun-2025 06:00PM,05-Jun-2025 05:00PM,backwards\n";
    backwards.settingsSha256 = sha256Hex(backwards.settingsText);
    const std::vector<Case> cases = {
        {replaced(good, settingsHash, "not a hash"), ManifestProblem::BadItem, "settingsSha256"},
        {replaced(good, settingsHash, settingsHash.substr(1)), ManifestProblem::BadItem,
         "hexadecimal"},
        {replaced(replaced(good, "<zqar:resultsSha256>", "<zqar:resultSha256>"),
                  "</zqar:resultsSha256>", "</zqar:resultSha256>"),
         ManifestProblem::BadItem, "lacks resultsSha256"},
        {replaced(good, "<zqar:size>1234<", "<zqar:size>-1234<"), ManifestProblem::BadItem,
         "size (source 1)"},
        {replaced(good, "<zqar:size>1234<", "<zqar:size>18446744073709551616<"),
         ManifestProblem::BadItem, "size (source 1)"},
        {replaced(good, "<zqar:role>logFile<", "<zqar:role>LogFile<"), ManifestProblem::BadItem,
         "role (source 1)"},
        {replaced(good, ">4711.dta<", ">..<"), ManifestProblem::BadItem, "not a file name"},
        {replaced(good, "<zqar:programVersion>",
                  "<zqar:programVersion>2</zqar:programVersion>"
                  "<zqar:programVersion>"),
         ManifestProblem::BadItem, "programVersion twice"},
        {replaced(good, "<zqar:takenFromReport>", "<zqar:size>1</zqar:size><zqar:takenFromReport>"),
         ManifestProblem::BadItem, "source 4"},
        {replaced(good, "<zqar:nameBase64>Y2Fm6S5kdGE=", "<zqar:nameBase64>Y2Fm6S5kdGE"),
         ManifestProblem::BadItem, "base64"},
        {replaced(good, "<rdf:Seq>", "<rdf:Bag>"), ManifestProblem::XmpDamaged, "end tag"},
        {replaced(replaced(good, "<rdf:Seq>", "<rdf:Bag>"), "</rdf:Seq>", "</rdf:Bag>"),
         ManifestProblem::BadItem, "sequence of sources"},
        {replaced(good, "<zqar:settingsText>", "<zqar:settingsText><b/>"), ManifestProblem::BadItem,
         "not a text"},
        {good.substr(0, good.size() / 2), ManifestProblem::XmpTruncated, "truncated"},
        {replaced(good, "<x:xmpmeta", "<!DOCTYPE x [<!ENTITY a 'b'>]><x:xmpmeta"),
         ManifestProblem::XmpDamaged, "document type"},
        {replaced(good, "5\xC2\xB0", "&nbsp;"), ManifestProblem::XmpDamaged, "unknown entity"},
        {replaced(good, "5\xC2\xB0", "&#0;"), ManifestProblem::XmpDamaged, "unknown entity"},
        {replaced(good, "5\xC2\xB0", "&#xFFFFFFFFF;"), ManifestProblem::XmpDamaged,
         "unknown entity"},
        {replaced(good, "5\xC2\xB0", "&amp"), ManifestProblem::XmpDamaged, "unknown entity"},
        {replaced(good, "<zqar:sources>", "<q:sources>"), ManifestProblem::XmpDamaged,
         "undeclared"},
        {replaced(good, "<zqar:settingsText>", "<zqar:settingsText>" + nested),
         ManifestProblem::XmpDamaged, "nested"},
        {replaced(good, "rdf:about=\"\"", "rdf:about=\"\" rdf:about=\"\""),
         ManifestProblem::XmpDamaged, "not XML"},
        {replaced(good, "xmlns:x=\"adobe:ns:meta/\"", "xmlns:x=\"adobe:ns:meta\""),
         ManifestProblem::XmpDamaged, "not an XMP packet"},
        {replaced(good, "zqar.org/ns/manifest/1.0/", "zqar.org/ns/other/"),
         ManifestProblem::NoManifest, "no manifest"},
        {std::string(), ManifestProblem::XmpTruncated, "truncated"},
        {"<x:xmpmeta xmlns:x='adobe:ns:meta/'/><x:xmpmeta xmlns:x='adobe:ns:meta/'/>",
         ManifestProblem::XmpDamaged, "not XML"},
        {packetWith("<zqar:programVersion>1</zqar:programVersion>"), ManifestProblem::BadItem,
         "lacks settingsText"},
        {manifestXmp(backwards), ManifestProblem::BadItem,
         "settings text holds a line that does not read: exclusion=R1C1,05-Jun-2025 06:00PM,"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const ManifestRead read = readManifestXmp(cases[i].packet);
        EXPECT_FALSE(read.manifest);
        EXPECT_EQ(read.problem, cases[i].problem);
        EXPECT_NE(read.reason.find(cases[i].reasonHolds), std::string::npos) << read.reason;
    }
}

TEST(ManifestXmp, FindsTheLastManifestPacketOfAPdfAndRefusesOtherFiles) {
    Manifest first = sampleManifest();
    first.programVersion = "1.2";
    const Manifest second = sampleManifest();
    const std::string foreign =
        "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
        "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'/></x:xmpmeta>";
    const std::string pdf = pdfAround(foreign + "\n" + manifestXmp(first) + "\n" + foreign + "\n" +
                                      manifestXmp(second));
    const ManifestRead read = readManifestFromPdfBytes(pdf);
    ASSERT_TRUE(read.manifest) << read.reason;
    EXPECT_EQ(read.manifest->programVersion, "1.3");

    struct Case {
        std::string bytes;
        ManifestProblem problem;
    };
    const std::string good = pdfAround(manifestXmp(second));
    const std::vector<Case> cases = {
        {"", ManifestProblem::NotPdf},
        {manifestXmp(second), ManifestProblem::NotPdf},
        {good.substr(0, good.size() - 8), ManifestProblem::PdfTruncated},
        {pdfAround("<?xpacket begin=''?><?xpacket end='w'?>"), ManifestProblem::NoXmp},
        {pdfAround(foreign), ManifestProblem::NoManifest},
        {pdfAround(replaced(manifestXmp(second), "</x:xmpmeta>", "</x:xmpmet>")),
         ManifestProblem::XmpTruncated},
        {pdfAround(manifestXmp(second).substr(0, 700) + foreign), ManifestProblem::XmpTruncated},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const ManifestRead refused = readManifestFromPdfBytes(cases[i].bytes);
        EXPECT_FALSE(refused.manifest);
        EXPECT_EQ(refused.problem, cases[i].problem);
        EXPECT_FALSE(refused.reason.empty());
    }

    // Cut anywhere before its end-of-file marker, the file is refused.
    const std::size_t marker = good.rfind("%%EOF");
    for (std::size_t length = 0; length < marker + 5; length += 7)
        EXPECT_FALSE(readManifestFromPdfBytes(good.substr(0, length)).manifest) << length;

    TempDir dir;
    EXPECT_TRUE(readManifestFromPdf(dir.write("report.pdf", good)).manifest);
    EXPECT_EQ(readManifestFromPdf(dir.file("absent.pdf")).problem, ManifestProblem::Unreadable);
}

TEST(ManifestXmp, ReadsFilesOfManyPacketStartsOrAttributesInOnePass) {
    // Each of these takes minutes when a search starts over from every packet or attribute.
    std::string starts;
    for (int i = 0; i < 200000; ++i)
        starts += "<x:xmpmeta ";
    EXPECT_EQ(readManifestFromPdfBytes(pdfAround(starts)).problem, ManifestProblem::XmpTruncated);
    std::string attributes;
    for (int i = 0; i < 30000; ++i)
        attributes += " a" + std::to_string(i) + "='' zqar:b" + std::to_string(i) + "=''";
    const std::string packet = packetWith("<zqar:settingsText" + attributes + "/>");
    EXPECT_EQ(readManifestXmp(packet).problem, ManifestProblem::BadItem);
    EXPECT_EQ(readManifestXmp(packet + attributes).problem, ManifestProblem::XmpDamaged);
}

TEST(ManifestXmp, AnswersEveryDamageToAPacketWithoutFault) {
    // Each byte of a packet in turn replaced by markup characters; most break it, some do not,
    // and a manifest read back must still hold only valid hashes and file names.
    const std::string good = manifestXmp(sampleManifest());
    for (std::size_t at = 0; at < good.size(); ++at) {
        for (const char c : {'<', '&', '"', '\0', '>'}) {
            std::string damaged = good;
            damaged[at] = c;
            const ManifestRead read = readManifestXmp(damaged);
            if (!read.manifest) {
                EXPECT_FALSE(read.reason.empty());
                continue;
            }
            for (const ManifestSource &source : read.manifest->sources) {
                EXPECT_TRUE(source.takenFrom || digestFromHex(source.sha256));
                EXPECT_EQ(source.name.find('/'), std::string::npos);
            }
        }
    }
}
