// Turns a text table (resources/*.texts) into the header the program includes. A table keeps
// the user-visible texts apart from the code, one entry a name:
//
//     // A comment line, copied as it stands.
//     text NAME = "A text" // a note after the text
//     format COUNT = "%d files were loaded."
//     texts CHOICES = "Mean", "Minimum"
//     text LONG =
//         "a text continued on the lines below, "
//         "each line indented"
//
// "text" entries become std::string_view constants, "format" entries NUL-terminated C strings
// for the format functions; "texts" and "formats" are arrays of them, their texts separated by
// commas. The texts are C string literals, so every blank and escape stands
// exactly as written. A malformed table fails the build with its file and line.
//
// Usage: zqar_make_texts TABLE HEADER

#include <cctype>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Failure {
    int line;
    std::string what;
};

bool isIdentifier(const std::string &name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0])))
        return false;
    for (const char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
            return false;
    return true;
}

// The length of a line's code: string literals (separated by commas in a list), then blanks and
// an optional "//" comment. Throws when anything else stands there or a literal is left open.
std::size_t codeLength(const std::string &text, int lineNumber) {
    std::size_t i = 0;
    std::size_t code = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == ',') {
            ++i;
        } else if (c == '"') {
            for (++i; i < text.size() && text[i] != '"'; ++i)
                if (text[i] == '\\')
                    ++i;
            if (i >= text.size())
                throw Failure{lineNumber, "a text is not closed with \""};
            code = ++i;
        } else if (text.compare(i, 2, "//") == 0) {
            break;
        } else {
            throw Failure{lineNumber, "only quoted texts and a // comment may stand here"};
        }
    }
    return code;
}

struct Entry {
    std::string type;
    std::vector<std::string> lines; // the declaration's first line, then the continuations
    std::vector<int> lineNumbers;
};

// Writes an entry with the semicolon after its last text.
void writeEntry(std::ostream &out, const Entry &entry) {
    std::size_t last = entry.lines.size();
    std::size_t lastCode = 0;
    for (std::size_t k = 0; k < entry.lines.size(); ++k) {
        const std::string &line = entry.lines[k];
        const std::size_t start = k == 0 ? line.find('=') + 1 : 0;
        const std::size_t code = codeLength(line.substr(start), entry.lineNumbers[k]);
        if (code > 0) {
            last = k;
            lastCode = start + code;
        }
    }
    if (last == entry.lines.size())
        throw Failure{entry.lineNumbers[0], "the entry has no text"};
    const bool list = entry.type.back() == 's';
    const char *type = entry.type.compare(0, 4, "text") == 0 ? "constexpr std::string_view "
                                                             : "constexpr const char *";
    for (std::size_t k = 0; k < entry.lines.size(); ++k) {
        std::string line = entry.lines[k];
        if (k == last)
            line.insert(lastCode, list ? "};" : ";");
        if (k == 0 && list) {
            const std::size_t equals = line.find('=');
            const std::size_t nameEnd = line.find_first_of(" =");
            const std::size_t first = line.find_first_not_of(' ', equals + 1);
            line = line.substr(0, nameEnd) + "[] = {" +
                   (first == std::string::npos ? std::string() : line.substr(first));
        }
        out << (k == 0 ? type : "") << line << '\n';
    }
}

void translate(std::istream &in, std::ostream &out) {
    std::set<std::string> names;
    Entry entry;
    std::string line;
    int lineNumber = 0;
    auto finish = [&] {
        if (!entry.lines.empty())
            writeEntry(out, entry);
        entry = Entry{};
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            if (entry.lines.empty())
                throw Failure{lineNumber, "an indented line continues no entry"};
            entry.lines.push_back(line);
            entry.lineNumbers.push_back(lineNumber);
            continue;
        }
        finish();
        if (line.empty() || line.compare(0, 2, "//") == 0) {
            out << line << '\n';
            continue;
        }
        std::istringstream words(line);
        std::string type, name, equals;
        words >> type >> name >> equals;
        if ((type != "text" && type != "format" && type != "texts" && type != "formats") ||
            !isIdentifier(name) || equals != "=")
            throw Failure{lineNumber, "expected: text (or format, texts, formats) NAME = \"...\""};
        if (!names.insert(name).second)
            throw Failure{lineNumber, name + " is already in the table"};
        entry.type = type;
        entry.lines.push_back(line.substr(type.size() + 1));
        entry.lineNumbers.push_back(lineNumber);
    }
    finish();
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::cerr << "usage: zqar_make_texts TABLE HEADER\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << argv[1] << ": cannot be read\n";
        return 1;
    }
    std::ostringstream body;
    try {
        translate(in, body);
    } catch (const Failure &failure) {
        std::cerr << argv[1] << ':' << failure.line << ": " << failure.what << '\n';
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << "#pragma once\n"
        << "// Made at build time from " << argv[1] << "; edit the texts there.\n\n"
        << "#include <string_view>\n\n"
        << "namespace zqar::text {\n\n"
        << body.str() << "\n} // namespace zqar::text\n";
    out.close();
    if (!out) {
        std::cerr << argv[2] << ": cannot be written\n";
        return 1;
    }
    return 0;
}
