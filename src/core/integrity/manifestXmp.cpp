#include "core/integrity/manifestXmp.h"

#include "core/integrity/recordedInputs.h"
#include "core/integrity/sha256.h"
#include "core/integrity/xmlTree.h"
#include "resources/format.h"
#include "resources/integrityTexts.h"
#include "resources/strings.h"

#include <charconv>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace zqar {

namespace {

constexpr std::string_view META_NAMESPACE = "adobe:ns:meta/";
constexpr std::string_view RDF_NAMESPACE = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
constexpr std::string_view XMP_BASIC_NAMESPACE = "http://ns.adobe.com/xap/1.0/";

constexpr std::string_view PACKET_START = "<x:xmpmeta";
constexpr std::string_view PACKET_END = "</x:xmpmeta>";
constexpr std::string_view PDF_HEADER = "%PDF-";
constexpr std::string_view PDF_END_MARKER = "%%EOF";
// Readers look for the header and the end marker this far from the file's ends.
constexpr std::size_t PDF_MARKER_WINDOW = 1024;
constexpr std::size_t FILE_BLOCK_BYTES = 1 << 16;

// Property names: the stored keys of the manifest's namespace.
constexpr std::string_view PROGRAM_VERSION = "programVersion";
constexpr std::string_view SETTINGS_TEXT = "settingsText";
constexpr std::string_view SETTINGS_SHA256 = "settingsSha256";
constexpr std::string_view RESULTS_SHA256 = "resultsSha256";
constexpr std::string_view SOURCES = "sources";
constexpr std::string_view NAME = "name";
constexpr std::string_view ROLE = "role";
constexpr std::string_view SIZE = "size";
constexpr std::string_view SHA256 = "sha256";
constexpr std::string_view TAKEN_FROM_REPORT = "takenFromReport";
constexpr std::string_view REPORT_SHA256 = "reportSha256";
constexpr std::string_view BASE64_SUFFIX = "Base64";

constexpr char BASE64_DIGITS[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group =
                group << 8 |
                (k < count ? static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + k]))
                           : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= count ? BASE64_DIGITS[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return out;
}

// The bytes of base64 text; XML white space in it is skipped. None for anything else.
std::optional<std::string> fromBase64(std::string_view text) {
    std::string digits;
    for (const char c : text)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            digits += c;
    if (digits.size() % 4 != 0)
        return std::nullopt;
    std::string out;
    for (std::size_t i = 0; i < digits.size(); i += 4) {
        std::uint32_t group = 0;
        int padding = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const char c = digits[i + k];
            std::uint32_t value = 0;
            if (c == '=') {
                // Padding only at the very end, in the last two places.
                if (i + 4 != digits.size() || k < 2)
                    return std::nullopt;
                ++padding;
            } else {
                if (padding > 0)
                    return std::nullopt;
                const char *found = std::char_traits<char>::find(BASE64_DIGITS, 64, c);
                if (!found)
                    return std::nullopt;
                value = static_cast<std::uint32_t>(found - BASE64_DIGITS);
            }
            group = group << 6 | value;
        }
        for (int k = 0; k < 3 - padding; ++k)
            out += static_cast<char>((group >> (16 - 8 * k)) & 0xFF);
    }
    return out;
}

// One property element, indented; a text XML cannot hold goes base64 under a name of its own.
void addProperty(std::string &out, std::string_view indent, std::string_view name,
                 std::string_view value) {
    const bool plain = isXmlText(value);
    const std::string element =
        "zqar:" + std::string(name) + (plain ? "" : std::string(BASE64_SUFFIX));
    out.append(indent).append("<").append(element).append(">");
    out.append(plain ? xmlEscaped(value) : base64(value));
    out.append("</").append(element).append(">\n");
}

std::string problemText(const char *pattern, std::string_view item) {
    return text::format(pattern, std::string(item));
}

ManifestRead failure(ManifestProblem problem, std::string reason) {
    ManifestRead read;
    read.problem = problem;
    read.reason = std::move(reason);
    return read;
}

// The properties of the manifest's namespace on one structure: elements and attributes alike,
// keyed by local name.
class Properties {
public:
    // Adds the properties of element (its children and attributes in the manifest's namespace).
    // False, with the problem noted, when a name is given twice.
    bool collect(const XmlElement &element, std::string_view context) {
        for (const XmlElement &child : element.children)
            if (child.namespaceUri == MANIFEST_NAMESPACE &&
                !add(child.localName, &child, {}, context))
                return false;
        for (const XmlAttribute &attribute : element.attributes)
            if (attribute.namespaceUri == MANIFEST_NAMESPACE &&
                !add(attribute.localName, nullptr, attribute.value, context))
                return false;
        return true;
    }

    // The text of a property: plain, or under its base64 name. None when it is not there (or
    // something is wrong, then problem says what).
    std::optional<std::string> text(std::string_view name, std::string_view context,
                                    bool required = true) {
        const std::string encodedName = std::string(name) + std::string(BASE64_SUFFIX);
        const Entry *plain = find(name);
        const Entry *encoded = find(encodedName);
        if (plain && encoded) {
            fail(problemText(text::ITEM_TWICE, describe(name, context)));
            return std::nullopt;
        }
        if (!plain && !encoded) {
            if (required)
                fail(problemText(text::ITEM_LACKING, describe(name, context)));
            return std::nullopt;
        }
        const Entry &entry = plain ? *plain : *encoded;
        std::string value = entry.value;
        if (entry.element) {
            if (!entry.element->children.empty()) {
                fail(problemText(text::ITEM_NOT_TEXT, describe(name, context)));
                return std::nullopt;
            }
            value = entry.element->text;
        }
        if (encoded) {
            auto bytes = fromBase64(value);
            if (!bytes)
                fail(problemText(text::ITEM_BAD_BASE64, describe(name, context)));
            return bytes;
        }
        return value;
    }

    // The text of a property as parse reads it. None when the text is not there or parse
    // refuses it; the pattern then says what is wrong with the property.
    template <class Parse>
    auto parsed(std::string_view name, std::string_view context, Parse parse,
                const char *problemPattern) -> decltype(parse(std::string_view())) {
        const auto value = text(name, context);
        if (!value)
            return std::nullopt;
        auto read = parse(*value);
        if (!read)
            fail(problemText(problemPattern, describe(name, context)));
        return read;
    }

    std::optional<std::string> hash(std::string_view name, std::string_view context) {
        const auto digest = parsed(name, context, digestFromHex, text::ITEM_BAD_HASH);
        if (!digest)
            return std::nullopt;
        return hexText(*digest);
    }

    const XmlElement *element(std::string_view name, std::string_view context) {
        const Entry *entry = find(name);
        if (!entry) {
            fail(problemText(text::ITEM_LACKING, describe(name, context)));
            return nullptr;
        }
        if (!entry->element) {
            fail(problemText(text::ITEM_NOT_SOURCES, describe(name, context)));
            return nullptr;
        }
        return entry->element;
    }

    bool has(std::string_view name) const {
        return find(name) || find(std::string(name) + std::string(BASE64_SUFFIX));
    }

    static std::string describe(std::string_view name, std::string_view context) {
        return context.empty() ? std::string(name)
                               : std::string(name) + " (" + std::string(context) + ")";
    }

    void fail(std::string reason) {
        if (problem.empty())
            problem = std::move(reason);
    }

    std::string problem;

private:
    struct Entry {
        const XmlElement *element; // or an attribute's value
        std::string value;
    };

    bool add(const std::string &name, const XmlElement *element, std::string value,
             std::string_view context) {
        if (!entries.emplace(name, Entry{element, std::move(value)}).second) {
            fail(problemText(text::ITEM_TWICE, describe(name, context)));
            return false;
        }
        return true;
    }

    const Entry *find(std::string_view name) const {
        const auto found = entries.find(std::string(name));
        return found == entries.end() ? nullptr : &found->second;
    }

    std::map<std::string, Entry> entries;
};

// The name of a file with no folder in it; none for any other text.
std::optional<std::string> fileName(std::string_view name) {
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos)
        return std::nullopt;
    return std::string(name);
}

std::optional<std::uint64_t> byteCount(std::string_view text) {
    // Plain decimal digits only: no sign, no blanks, no exponent.
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The structure of one rdf:li: its own properties (parseType="Resource"), or those of the one
// rdf:Description it holds.
const XmlElement *structureOf(const XmlElement &item) {
    const XmlAttribute *parseType = item.attribute(RDF_NAMESPACE, "parseType");
    if (parseType && parseType->value == "Resource")
        return &item;
    if (item.children.size() == 1 && item.children.front().is(RDF_NAMESPACE, "Description"))
        return &item.children.front();
    return nullptr;
}

std::optional<ManifestSource> readSource(const XmlElement &item, int number, Properties &top) {
    const std::string context = text::format(text::SOURCE_ITEM, number);
    const XmlElement *structure = structureOf(item);
    if (!structure) {
        top.fail(problemText(text::ITEM_NOT_SOURCES, std::string(SOURCES)));
        return std::nullopt;
    }
    Properties fields;
    const auto done = [&]() -> std::optional<ManifestSource> {
        top.fail(fields.problem);
        return std::nullopt;
    };
    if (!fields.collect(*structure, context))
        return done();
    ManifestSource source;
    const auto name = fields.parsed(NAME, context, fileName, text::ITEM_BAD_NAME);
    if (!name)
        return done();
    source.name = *name;
    const auto role = fields.parsed(ROLE, context, roleFromKey, text::ITEM_BAD_ROLE);
    if (!role)
        return done();
    source.role = *role;
    const bool ownHash = fields.has(SIZE) || fields.has(SHA256);
    const bool fromReport = fields.has(TAKEN_FROM_REPORT) || fields.has(REPORT_SHA256);
    if (ownHash && fromReport) {
        fields.fail(problemText(text::ITEM_BOTH_KINDS, context));
        return done();
    }
    if (fromReport) {
        const auto reportName =
            fields.parsed(TAKEN_FROM_REPORT, context, fileName, text::ITEM_BAD_NAME);
        if (!reportName)
            return done();
        const auto reportHash = fields.hash(REPORT_SHA256, context);
        if (!reportHash)
            return done();
        source.takenFrom = TakenFromReport{*reportName, *reportHash};
        return source;
    }
    const auto size = fields.parsed(SIZE, context, byteCount, text::ITEM_BAD_SIZE);
    if (!size)
        return done();
    source.size = *size;
    const auto hash = fields.hash(SHA256, context);
    if (!hash)
        return done();
    source.sha256 = *hash;
    return source;
}

std::optional<std::vector<ManifestSource>> readSources(const XmlElement &element, Properties &top) {
    const auto notSources = [&]() -> std::optional<std::vector<ManifestSource>> {
        top.fail(problemText(text::ITEM_NOT_SOURCES, std::string(SOURCES)));
        return std::nullopt;
    };
    if (element.children.size() != 1 || !element.children.front().is(RDF_NAMESPACE, "Seq"))
        return notSources();
    std::vector<ManifestSource> sources;
    int number = 0;
    for (const XmlElement &item : element.children.front().children) {
        if (!item.is(RDF_NAMESPACE, "li"))
            return notSources();
        auto source = readSource(item, ++number, top);
        if (!source)
            return std::nullopt;
        sources.push_back(std::move(*source));
    }
    return sources;
}

std::string damaged(std::string_view detail) { return problemText(text::XMP_DAMAGED, detail); }

} // namespace

std::string manifestXmp(const Manifest &manifest) {
    std::string out;
    out += "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n";
    out += "<x:xmpmeta xmlns:x=\"" + std::string(META_NAMESPACE) + "\">\n";
    out += " <rdf:RDF xmlns:rdf=\"" + std::string(RDF_NAMESPACE) + "\">\n";
    out += "  <rdf:Description rdf:about=\"\"\n";
    out += "    xmlns:xmp=\"" + std::string(XMP_BASIC_NAMESPACE) + "\"\n";
    out += "    xmlns:zqar=\"" + std::string(MANIFEST_NAMESPACE) + "\">\n";
    const std::string creator = std::string(text::PRODUCT_NAME) + " " + manifest.programVersion;
    if (isXmlText(creator))
        out += "   <xmp:CreatorTool>" + xmlEscaped(creator) + "</xmp:CreatorTool>\n";
    addProperty(out, "   ", PROGRAM_VERSION, manifest.programVersion);
    addProperty(out, "   ", SETTINGS_SHA256, manifest.settingsSha256);
    addProperty(out, "   ", RESULTS_SHA256, manifest.resultsSha256);
    addProperty(out, "   ", SETTINGS_TEXT, manifest.settingsText);
    out += "   <zqar:sources>\n    <rdf:Seq>\n";
    for (const ManifestSource &source : manifest.sources) {
        out += "     <rdf:li rdf:parseType=\"Resource\">\n";
        const std::string_view indent = "      ";
        addProperty(out, indent, NAME, source.name);
        addProperty(out, indent, ROLE, roleKey(source.role));
        if (source.takenFrom) {
            addProperty(out, indent, TAKEN_FROM_REPORT, source.takenFrom->reportName);
            addProperty(out, indent, REPORT_SHA256, source.takenFrom->reportSha256);
        } else {
            addProperty(out, indent, SIZE, std::to_string(source.size));
            addProperty(out, indent, SHA256, source.sha256);
        }
        out += "     </rdf:li>\n";
    }
    out += "    </rdf:Seq>\n   </zqar:sources>\n";
    out += "  </rdf:Description>\n </rdf:RDF>\n</x:xmpmeta>\n";
    out += "<?xpacket end=\"w\"?>";
    return out;
}

ManifestRead readManifestXmp(std::string_view packet) {
    const XmlRead xml = readXml(packet);
    if (xml.problem == XmlProblem::Truncated)
        return failure(ManifestProblem::XmpTruncated, std::string(text::XMP_TRUNCATED));
    if (!xml.root)
        return failure(ManifestProblem::XmpDamaged,
                       damaged(text::XML_PROBLEMS[static_cast<std::size_t>(xml.problem)]));
    const XmlElement &root = *xml.root;
    const XmlElement *rdf = nullptr;
    if (root.is(META_NAMESPACE, "xmpmeta"))
        for (const XmlElement &child : root.children)
            if (child.is(RDF_NAMESPACE, "RDF"))
                rdf = rdf ? nullptr : &child;
    if (!rdf)
        return failure(ManifestProblem::XmpDamaged, damaged(text::NOT_XMP));

    // The manifest's properties may be spread over several descriptions of the document.
    Properties top;
    bool found = false;
    for (const XmlElement &description : rdf->children) {
        if (!description.is(RDF_NAMESPACE, "Description"))
            continue;
        for (const XmlElement &child : description.children)
            found = found || child.namespaceUri == MANIFEST_NAMESPACE;
        for (const XmlAttribute &attribute : description.attributes)
            found = found || attribute.namespaceUri == MANIFEST_NAMESPACE;
        if (!top.collect(description, {}))
            return failure(ManifestProblem::BadItem, top.problem);
    }
    if (!found)
        return failure(ManifestProblem::NoManifest, std::string(text::NO_MANIFEST));

    Manifest manifest;
    const auto version = top.text(PROGRAM_VERSION, {});
    const auto settings = top.text(SETTINGS_TEXT, {});
    const auto settingsHash = top.hash(SETTINGS_SHA256, {});
    const auto resultsHash = top.hash(RESULTS_SHA256, {});
    // The recorded inputs are put back into the job a check builds, so a line of them that
    // does not read damages the manifest as a bad hash does.
    if (settings)
        top.fail(readRecordedInputs(readSettingsText(*settings)).problem);
    const XmlElement *sourcesElement = top.element(SOURCES, {});
    std::optional<std::vector<ManifestSource>> sources;
    if (sourcesElement && top.problem.empty())
        sources = readSources(*sourcesElement, top);
    if (!top.problem.empty() || !version || !settings || !settingsHash || !resultsHash || !sources)
        return failure(ManifestProblem::BadItem, top.problem);
    manifest.programVersion = *version;
    manifest.settingsText = *settings;
    manifest.settingsSha256 = *settingsHash;
    manifest.resultsSha256 = *resultsHash;
    manifest.sources = std::move(*sources);
    ManifestRead read;
    read.manifest = std::move(manifest);
    return read;
}

ManifestRead readManifestFromPdfBytes(std::string_view pdf) {
    if (pdf.substr(0, PDF_MARKER_WINDOW).find(PDF_HEADER) == std::string_view::npos)
        return failure(ManifestProblem::NotPdf, std::string(text::NOT_A_PDF));
    const std::size_t tail = pdf.size() > PDF_MARKER_WINDOW ? pdf.size() - PDF_MARKER_WINDOW : 0;
    if (pdf.find(PDF_END_MARKER, tail) == std::string_view::npos)
        return failure(ManifestProblem::PdfTruncated, std::string(text::PDF_TRUNCATED));

    // The last whole packet with the manifest's namespace.
    std::optional<std::string_view> chosen;
    bool anyPacket = false;
    bool anyTruncated = false; // it may have been the manifest
    // Each search goes forward only, so that a file of many packet starts and no ends is still
    // read in one pass.
    std::size_t end = 0;
    bool endFound = false;
    std::size_t next = pdf.find(PACKET_START);
    while (next != std::string_view::npos) {
        const std::size_t start = next;
        next = pdf.find(PACKET_START, start + PACKET_START.size());
        anyPacket = true;
        if (!endFound || (end != std::string_view::npos && end < start)) {
            end = pdf.find(PACKET_END, start);
            endFound = true;
        }
        // Another packet starting before this one's end means this one was cut off.
        if (end == std::string_view::npos || next < end) {
            anyTruncated = true;
            continue;
        }
        const std::string_view packet = pdf.substr(start, end + PACKET_END.size() - start);
        if (packet.find(MANIFEST_NAMESPACE) != std::string_view::npos)
            chosen = packet;
    }
    if (!anyPacket)
        return failure(ManifestProblem::NoXmp, std::string(text::NO_XMP));
    if (!chosen) {
        if (anyTruncated)
            return failure(ManifestProblem::XmpTruncated, std::string(text::XMP_TRUNCATED));
        return failure(ManifestProblem::NoManifest, std::string(text::NO_MANIFEST));
    }
    return readManifestXmp(*chosen);
}

ManifestRead readManifestFromPdf(const std::string &path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE *)> file(std::fopen(path.c_str(), "rb"),
                                                                std::fclose);
    if (!file)
        return failure(ManifestProblem::Unreadable, std::string(text::REPORT_UNREADABLE));
    std::string bytes;
    std::vector<char> block(FILE_BLOCK_BYTES);
    for (;;) {
        const std::size_t got = std::fread(block.data(), 1, block.size(), file.get());
        if (got == 0)
            break;
        bytes.append(block.data(), got);
    }
    if (std::ferror(file.get()))
        return failure(ManifestProblem::Unreadable, std::string(text::REPORT_UNREADABLE));
    return readManifestFromPdfBytes(bytes);
}

} // namespace zqar
