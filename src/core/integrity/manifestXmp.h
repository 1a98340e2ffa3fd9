#pragma once
// The manifest as an XMP packet, the form the report's PDF carries it in, and the reader that
// finds that packet in a PDF's bytes and reads it back.
//
// The packet holds one rdf:Description with the properties of MANIFEST_NAMESPACE:
// programVersion, settingsSha256, resultsSha256, settingsText (the text itself, so a check can
// recompute with the recorded settings; the alarm rules, exclusions, events and excluded phases
// among its lines must read, see recordedInputs.h) and sources, an rdf:Seq of structures with name,
// role, and either size and sha256, or takenFromReport and reportSha256. A text XML cannot hold
// (not UTF-8, or with control characters) is written base64 under the property's name followed by
// "Base64" (settingsTextBase64, nameBase64, takenFromReportBase64).
//
// The PDF writer stores document XMP as an uncompressed metadata stream, so the packet stands in
// the file's bytes as written: from "<x:xmpmeta" to "</x:xmpmeta>".

#include "core/integrity/Manifest.h"

#include <optional>
#include <string>
#include <string_view>

namespace zqar {

constexpr std::string_view MANIFEST_NAMESPACE = "http://zqar.org/ns/manifest/1.0/";

// The whole packet, xpacket wrapper included, ready to be given to the PDF writer as the
// document's XMP metadata. It also names the program as the creator tool.
std::string manifestXmp(const Manifest &manifest);

enum class ManifestProblem {
    None,
    Unreadable,   // the file cannot be read
    NotPdf,       // no PDF header
    PdfTruncated, // no end-of-file marker at the end
    NoXmp,        // no XMP packet at all
    XmpTruncated, // a packet that does not end
    XmpDamaged,   // a packet that is not XML, or not XMP
    NoManifest,   // XMP without the manifest's namespace
    BadItem,      // a manifest item missing, given twice, or not what it should be
};

struct ManifestRead {
    std::optional<Manifest> manifest;
    ManifestProblem problem = ManifestProblem::None;
    std::string reason; // for the user; empty when the manifest was read
};

// The manifest of one XMP packet (from "<x:xmpmeta" to "</x:xmpmeta>", or a whole xpacket).
ManifestRead readManifestXmp(std::string_view packet);
// The manifest in the bytes of a PDF file. When several packets hold one, the last counts, as a
// later incremental update of the file replaces earlier objects.
ManifestRead readManifestFromPdfBytes(std::string_view pdf);
ManifestRead readManifestFromPdf(const std::string &path);

} // namespace zqar
