// The manifest's XMP reader: the input is read as an XMP packet and as the bytes of a PDF
// file. Checks: a manifest read back holds only valid hashes and plain file names, and written
// again it reads back the same; its recorded alarm rules, exclusions, events and excluded
// phases read, and written again read back to the same lines; any text XML can hold, escaped as
// element text or as an attribute value, reads back as it was.

#include "core/integrity/manifestXmp.h"
#include "core/integrity/recordedInputs.h"
#include "core/integrity/sha256.h"
#include "core/integrity/xmlTree.h"
#include "fuzzCheck.h"

using namespace zqar;

namespace {

bool isLowerHexDigest(const std::string &text) {
    return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

void checkManifest(const ManifestRead &read) {
    FUZZ_CHECK(read.manifest.has_value() == (read.problem == ManifestProblem::None));
    FUZZ_CHECK(read.manifest.has_value() == read.reason.empty());
    if (!read.manifest)
        return;
    const Manifest &manifest = *read.manifest;
    FUZZ_CHECK(isLowerHexDigest(manifest.settingsSha256));
    FUZZ_CHECK(isLowerHexDigest(manifest.resultsSha256));
    for (const ManifestSource &source : manifest.sources) {
        FUZZ_CHECK(!source.name.empty() && source.name.find('/') == std::string::npos);
        FUZZ_CHECK(source.name != "." && source.name != "..");
        if (source.takenFrom)
            FUZZ_CHECK(isLowerHexDigest(source.takenFrom->reportSha256) && source.sha256.empty());
        else
            FUZZ_CHECK(isLowerHexDigest(source.sha256));
    }
    const ManifestRead again = readManifestXmp(manifestXmp(manifest));
    FUZZ_CHECK(again.manifest && *again.manifest == manifest);

    // The recorded inputs a check puts back read, and written again they read back the same.
    const RecordedInputsReading inputs =
        readRecordedInputs(readSettingsText(manifest.settingsText));
    FUZZ_CHECK(inputs.problem.empty());
    const std::vector<SettingValue> lines = recordedInputValues(inputs.inputs);
    const RecordedInputsReading reread = readRecordedInputs(lines);
    FUZZ_CHECK(reread.problem.empty());
    const std::vector<SettingValue> relines = recordedInputValues(reread.inputs);
    FUZZ_CHECK(relines.size() == lines.size());
    for (std::size_t i = 0; i < lines.size() && i < relines.size(); ++i)
        FUZZ_CHECK(relines[i].name == lines[i].name && relines[i].value == lines[i].value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    checkManifest(readManifestXmp(bytes));
    checkManifest(readManifestFromPdfBytes(bytes));

    if (isXmlText(bytes)) {
        const XmlRead element = readXml("<a>" + xmlEscaped(bytes) + "</a>");
        FUZZ_CHECK(element.root && element.root->text == bytes);
        const XmlRead attribute = readXml("<a b=\"" + xmlEscaped(bytes, true) + "\"/>");
        FUZZ_CHECK(attribute.root && attribute.root->attributes.size() == 1 &&
                   attribute.root->attributes[0].value == bytes);
    }
    return 0;
}
