#include "core/integrity/xmlTree.h"

#include "core/data/enumTexts.h"

#include <charconv>
#include <cstdint>
#include <set>
#include <utility>

namespace zqar {

namespace {

constexpr std::string_view XML_NAMESPACE = "http://www.w3.org/XML/1998/namespace";
constexpr std::string_view XMLNS = "xmlns";

// The characters XML names, by the names it gives them.
constexpr TextEntry<char> NAMED_ENTITIES[] = {
    {'&', "amp"}, {'<', "lt"}, {'>', "gt"}, {'"', "quot"}, {'\'', "apos"},
};

bool isXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool isNameChar(char c) {
    return !isXmlSpace(c) && c != '/' && c != '>' && c != '<' && c != '=' && c != '"' &&
           c != '\'' && c != '&' && c != '?' && c != '!';
}

bool isAllowedCharacter(std::uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

void appendUtf8(std::string &out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The code point of a character reference's digits ("#65", "#x41"), or none.
std::optional<std::uint32_t> characterReference(std::string_view digits) {
    int base = 10;
    if (!digits.empty() && digits.front() == 'x') {
        base = 16;
        digits.remove_prefix(1);
    }
    // A leading sign or blank is not XML; from_chars would refuse a blank but take no sign.
    if (digits.empty() || digits.size() > 8 || digits.front() == '-' || digits.front() == '+')
        return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc() || end != digits.data() + digits.size() || !isAllowedCharacter(value))
        return std::nullopt;
    return value;
}

// The character data or attribute value of raw text: references decoded, CR LF and lone CRs
// read as LF, and in an attribute value tab and LF read as blanks. None when a reference is
// unknown or unclosed.
std::optional<std::string> decoded(std::string_view raw, bool attributeValue) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        char c = raw[i];
        if (c == '\r') {
            if (i + 1 < raw.size() && raw[i + 1] == '\n')
                ++i;
            c = '\n';
        }
        if (c != '&') {
            out += attributeValue && (c == '\n' || c == '\t') ? ' ' : c;
            continue;
        }
        const std::size_t end = raw.find(';', i);
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view name = raw.substr(i + 1, end - i - 1);
        i = end;
        if (const std::optional<char> named = valueOf(NAMED_ENTITIES, name))
            out += *named;
        else if (!name.empty() && name.front() == '#') {
            const auto code = characterReference(name.substr(1));
            if (!code)
                return std::nullopt;
            appendUtf8(out, *code);
        } else {
            return std::nullopt;
        }
    }
    return out;
}

struct RawAttribute {
    std::string_view qualifiedName;
    std::string value;
};

struct Namespace {
    std::string prefix; // empty for the default namespace
    std::string uri;
};

std::pair<std::string_view, std::string_view> splitName(std::string_view qualifiedName) {
    const std::size_t colon = qualifiedName.find(':');
    if (colon == std::string_view::npos)
        return {std::string_view(), qualifiedName};
    return {qualifiedName.substr(0, colon), qualifiedName.substr(colon + 1)};
}

bool isWellFormedName(std::string_view qualifiedName) {
    if (qualifiedName.empty())
        return false;
    const auto [prefix, local] = splitName(qualifiedName);
    const bool prefixed = qualifiedName.find(':') != std::string_view::npos;
    return !local.empty() && local.find(':') == std::string_view::npos &&
           (!prefixed || !prefix.empty());
}

class Parser {
public:
    explicit Parser(std::string_view text) : text(text) {}

    XmlRead run() {
        while (problem == XmlProblem::None && at < text.size()) {
            if (text.compare(at, 1, "<") != 0) {
                characterData();
            } else if (text.compare(at, 4, "<!--") == 0) {
                skipPast("-->", 4);
            } else if (text.compare(at, 2, "<?") == 0) {
                skipPast("?>", 2);
            } else if (text.compare(at, 9, "<![CDATA[") == 0) {
                cdata();
            } else if (text.compare(at, 2, "<!") == 0) {
                fail(text.compare(at, 9, "<!DOCTYPE") == 0 ? XmlProblem::DocumentType
                                                           : XmlProblem::Malformed);
            } else if (text.compare(at, 2, "</") == 0) {
                endTag();
            } else {
                startTag();
            }
        }
        XmlRead read;
        if (problem == XmlProblem::None && !open.empty())
            fail(XmlProblem::Truncated);
        if (problem == XmlProblem::None && !root)
            fail(at >= text.size() ? XmlProblem::Truncated : XmlProblem::Malformed);
        read.problem = problem;
        read.offset = at;
        if (problem == XmlProblem::None)
            read.root = std::move(root);
        return read;
    }

private:
    void fail(XmlProblem what) {
        if (problem == XmlProblem::None)
            problem = what;
    }

    void skipPast(std::string_view end, std::size_t opening) {
        const std::size_t found = text.find(end, at + opening);
        if (found == std::string_view::npos) {
            at = text.size();
            fail(XmlProblem::Truncated);
            return;
        }
        at = found + end.size();
    }

    void addText(std::string_view piece) {
        if (open.empty()) {
            // Outside the root only white space may stand.
            for (const char c : piece)
                if (!isXmlSpace(c))
                    fail(XmlProblem::Malformed);
            return;
        }
        open.back().element.text += piece;
    }

    void characterData() {
        std::size_t end = text.find('<', at);
        if (end == std::string_view::npos)
            end = text.size();
        const auto value = decoded(text.substr(at, end - at), false);
        if (!value) {
            fail(XmlProblem::UnknownReference);
            return;
        }
        addText(*value);
        at = end;
    }

    void cdata() {
        const std::size_t start = at + 9;
        const std::size_t end = text.find("]]>", start);
        if (end == std::string_view::npos) {
            at = text.size();
            fail(XmlProblem::Truncated);
            return;
        }
        // Only line ends are normalised in a CDATA section.
        std::string piece;
        for (std::size_t i = start; i < end; ++i) {
            if (text[i] == '\r') {
                piece += '\n';
                if (i + 1 < end && text[i + 1] == '\n')
                    ++i;
            } else {
                piece += text[i];
            }
        }
        addText(piece);
        at = end + 3;
    }

    void skipSpace() {
        while (at < text.size() && isXmlSpace(text[at]))
            ++at;
    }

    std::string_view name() {
        const std::size_t start = at;
        while (at < text.size() && isNameChar(text[at]))
            ++at;
        return text.substr(start, at - start);
    }

    // The end of the text inside markup: truncated.
    bool atEnd() {
        if (at < text.size())
            return false;
        fail(XmlProblem::Truncated);
        return true;
    }

    void startTag() {
        if (root && open.empty()) {
            fail(XmlProblem::Malformed); // a second root
            return;
        }
        ++at;
        const std::string_view qualifiedName = name();
        if (atEnd())
            return;
        if (!isWellFormedName(qualifiedName)) {
            fail(XmlProblem::Malformed);
            return;
        }
        std::vector<RawAttribute> attributes;
        std::set<std::string_view> names; // a set: an element may have any number of them
        bool empty = false;
        for (;;) {
            const std::size_t before = at;
            skipSpace();
            if (atEnd())
                return;
            if (text[at] == '>') {
                ++at;
                break;
            }
            if (text.compare(at, 2, "/>") == 0) {
                at += 2;
                empty = true;
                break;
            }
            if (at == before) {
                fail(XmlProblem::Malformed); // attributes need white space before them
                return;
            }
            auto attribute = rawAttribute();
            if (!attribute)
                return;
            if (!names.insert(attribute->qualifiedName).second) {
                fail(XmlProblem::Malformed);
                return;
            }
            attributes.push_back(std::move(*attribute));
        }
        if (open.size() >= MAX_XML_DEPTH) {
            fail(XmlProblem::TooDeep);
            return;
        }
        openElement(qualifiedName, attributes);
        if (empty)
            closeElement();
    }

    std::optional<RawAttribute> rawAttribute() {
        const std::string_view qualifiedName = name();
        if (!isWellFormedName(qualifiedName)) {
            fail(atEnd() ? XmlProblem::Truncated : XmlProblem::Malformed);
            return std::nullopt;
        }
        skipSpace();
        if (atEnd())
            return std::nullopt;
        if (text[at] != '=') {
            fail(XmlProblem::Malformed);
            return std::nullopt;
        }
        ++at;
        skipSpace();
        if (atEnd())
            return std::nullopt;
        const char quote = text[at];
        if (quote != '"' && quote != '\'') {
            fail(XmlProblem::Malformed);
            return std::nullopt;
        }
        const std::size_t end = text.find(quote, at + 1);
        if (end == std::string_view::npos) {
            at = text.size();
            fail(XmlProblem::Truncated);
            return std::nullopt;
        }
        const std::string_view raw = text.substr(at + 1, end - at - 1);
        if (raw.find('<') != std::string_view::npos) {
            fail(XmlProblem::Malformed);
            return std::nullopt;
        }
        auto value = decoded(raw, true);
        if (!value) {
            fail(XmlProblem::UnknownReference);
            return std::nullopt;
        }
        at = end + 1;
        return RawAttribute{qualifiedName, std::move(*value)};
    }

    std::optional<std::string> uriOf(std::string_view prefix) const {
        if (prefix == "xml")
            return std::string(XML_NAMESPACE);
        for (auto scope = open.rbegin(); scope != open.rend(); ++scope)
            for (const Namespace &declared : scope->namespaces)
                if (declared.prefix == prefix)
                    return declared.uri;
        if (prefix.empty())
            return std::string(); // no default namespace declared
        return std::nullopt;
    }

    void openElement(std::string_view qualifiedName, const std::vector<RawAttribute> &attributes) {
        Open element;
        for (const RawAttribute &attribute : attributes) {
            const auto [prefix, local] = splitName(attribute.qualifiedName);
            if (attribute.qualifiedName == XMLNS)
                element.namespaces.push_back(Namespace{"", attribute.value});
            else if (prefix == XMLNS)
                element.namespaces.push_back(Namespace{std::string(local), attribute.value});
        }
        open.push_back(std::move(element));
        Open &current = open.back();
        const auto [prefix, local] = splitName(qualifiedName);
        const auto uri = uriOf(prefix);
        if (!uri) {
            fail(XmlProblem::UnknownPrefix);
            return;
        }
        current.qualifiedName = qualifiedName;
        current.element.namespaceUri = *uri;
        current.element.localName = std::string(local);
        std::set<std::pair<std::string, std::string_view>> expanded;
        for (const RawAttribute &attribute : attributes) {
            const auto [attributePrefix, attributeLocal] = splitName(attribute.qualifiedName);
            if (attribute.qualifiedName == XMLNS || attributePrefix == XMLNS)
                continue;
            // An attribute without a prefix is in no namespace, whatever the default is.
            const auto attributeUri =
                attributePrefix.empty() ? std::optional<std::string>("") : uriOf(attributePrefix);
            if (!attributeUri) {
                fail(XmlProblem::UnknownPrefix);
                return;
            }
            // Two prefixes of one namespace make the same attribute.
            if (!expanded.emplace(*attributeUri, attributeLocal).second) {
                fail(XmlProblem::Malformed);
                return;
            }
            current.element.attributes.push_back(
                XmlAttribute{*attributeUri, std::string(attributeLocal), attribute.value});
        }
    }

    void endTag() {
        at += 2;
        const std::string_view qualifiedName = name();
        skipSpace();
        if (atEnd())
            return;
        if (text[at] != '>') {
            fail(XmlProblem::Malformed);
            return;
        }
        ++at;
        if (open.empty() || open.back().qualifiedName != qualifiedName) {
            fail(XmlProblem::MismatchedEnd);
            return;
        }
        closeElement();
    }

    void closeElement() {
        XmlElement done = std::move(open.back().element);
        open.pop_back();
        if (open.empty())
            root = std::move(done);
        else
            open.back().element.children.push_back(std::move(done));
    }

    struct Open {
        std::string_view qualifiedName;
        std::vector<Namespace> namespaces;
        XmlElement element;
    };

    std::string_view text;
    std::size_t at = 0;
    std::vector<Open> open;
    std::optional<XmlElement> root;
    XmlProblem problem = XmlProblem::None;
};

} // namespace

const XmlAttribute *XmlElement::attribute(std::string_view uri, std::string_view name) const {
    for (const XmlAttribute &candidate : attributes)
        if (candidate.namespaceUri == uri && candidate.localName == name)
            return &candidate;
    return nullptr;
}

XmlRead readXml(std::string_view text) { return Parser(text).run(); }

bool isXmlText(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        std::uint32_t code = lead;
        std::uint32_t smallest = 0;
        if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07u;
            smallest = 0x10000;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0Fu;
            smallest = 0x800;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1Fu;
            smallest = 0x80;
        } else if (lead >= 0x80) {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3Fu);
        }
        if (code < smallest || !isAllowedCharacter(code))
            return false;
        i += length;
    }
    return true;
}

std::string xmlEscaped(std::string_view text, bool attributeValue) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (const std::string_view name = textOf(NAMED_ENTITIES, c); !name.empty()) {
            out += '&';
            out += name;
            out += ';';
        } else if (c == '\r') {
            out += "&#13;";
        } else if (c == '\n' && attributeValue) {
            out += "&#10;";
        } else if (c == '\t' && attributeValue) {
            out += "&#9;";
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace zqar
