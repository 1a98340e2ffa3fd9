#pragma once
// A small XML reader for the metadata packets the program writes and reads back: elements,
// attributes and text with their namespaces resolved, comments and processing instructions
// skipped, the five named entities and character references decoded, line ends normalised as
// XML says. Document type declarations are refused (nothing here needs them, and their
// entities could grow without bound). Whatever the bytes, it answers a tree or a problem.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

struct XmlAttribute {
    std::string namespaceUri; // empty for an attribute without a prefix
    std::string localName;
    std::string value;
};

struct XmlElement {
    std::string namespaceUri;
    std::string localName;
    std::vector<XmlAttribute> attributes; // namespace declarations are not among them
    std::vector<XmlElement> children;
    std::string text; // the character data directly inside, every piece joined

    const XmlAttribute *attribute(std::string_view namespaceUri, std::string_view localName) const;
    bool is(std::string_view uri, std::string_view name) const {
        return namespaceUri == uri && localName == name;
    }
};

enum class XmlProblem {
    None,
    Truncated,        // the text ends inside markup or an open element
    Malformed,        // markup that is not XML
    UnknownReference, // an entity other than the five, or a character XML does not allow
    UnknownPrefix,    // a namespace prefix that was not declared
    DocumentType,     // a document type declaration
    TooDeep,          // elements nested deeper than MAX_XML_DEPTH
    MismatchedEnd,    // an end tag that does not close the open element
};

// Far deeper than any metadata packet nests.
constexpr std::size_t MAX_XML_DEPTH = 64;

struct XmlRead {
    std::optional<XmlElement> root;
    XmlProblem problem = XmlProblem::None;
    std::size_t offset = 0; // where the problem was found
};

// The one root element of the text; only white space, comments and processing instructions
// may stand around it.
XmlRead readXml(std::string_view text);

// True when the text is UTF-8 made only of characters an XML 1.0 document may hold.
bool isXmlText(std::string_view text);
// The text with "&", "<", ">", '"' and "'" written as references, and CR as "&#13;" so that it
// survives line end normalisation; in an attribute value also tab and LF, which reading would
// turn into blanks.
std::string xmlEscaped(std::string_view text, bool attributeValue = false);

} // namespace zqar
