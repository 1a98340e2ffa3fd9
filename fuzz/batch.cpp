// The batch tool's command line: the input's lines are the arguments. The run happens in a
// fresh temp folder, made current at start and emptied after every input, that holds a small
// project, report and data folder to work on. Arguments that could name a place outside that
// folder (an absolute path, "..", a "/" after anything but a name character) are not run.

#include "app/BatchTool.h"
#include "core/data/numbers.h"
#include "core/data/reportFile.h"
#include "fuzzCheck.h"
#include "resources/strings.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace zqar;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t MAX_ARGUMENTS = 24;

fs::path &workFolder() {
    static fs::path folder;
    return folder;
}

bool isNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) || c == '_' || c == '-' ||
           c == '%';
}

bool staysInTheFolder(std::string_view argument) {
    if (argument.find("..") != std::string_view::npos || argument.find('~') != argument.npos)
        return false;
    for (std::size_t i = 0; i < argument.size(); ++i)
        if (argument[i] == '/' && (i == 0 || !isNameCharacter(argument[i - 1])))
            return false;
    return true;
}

void writeFile(const fs::path &path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

std::string dtaText(const char *name, const char *comment) {
    return std::string("Z-QAR logger data file\n") + name +
           "\nmin\n30\n3\n2003\n11\n5\n10\n0\n0\nComments:\n" + comment +
           "\n\n\n\nData:\n1 20.5\n2 21\n3 21.5\n";
}

// The files each input starts with: data/ with three loggers, a project naming them and a
// report holding them.
void writeFixtures() {
    const fs::path folder = workFolder();
    fs::create_directories(folder / "data");
    writeFile(folder / "data" / "101.dta", dtaText("101", "R1C1"));
    writeFile(folder / "data" / "102.dta", dtaText("102", "R1C2"));
    writeFile(folder / "data" / "103.dta", dtaText("103", "S1"));
    writeFile(folder / "p.ttp", "[ZQARVemro]\r\nDirectory=data\r\nNumberOfRows=1\r\n"
                                "NumberOfColumns=2\r\nNumberOfSingular=1\r\nUseCommentField=N\r\n"
                                "R1C1=101\r\nR1C2=102\r\nS0=103\r\n");
    LoggerArray array;
    array.resize(1, 2, 1);
    for (int i = 0; i < 3; ++i) {
        auto record = std::make_unique<LogFile>();
        const std::string name = std::to_string(101 + i);
        record->readLogBytes(dtaText(name.c_str(), "x"), "data/" + name + ".dta", 1);
        array.place(i < 2 ? 0 : -1, i < 2 ? i : 0, std::move(record));
    }
    ReportFields fields;
    fields[0] = std::string(text::REPORT_IDENTIFICATION);
    const char *values[] = {"data",
                            "1",
                            "2",
                            "1",
                            "1",
                            "1",
                            "N",
                            "Y",
                            "d",
                            "n",
                            "",
                            "05-Nov-2003 10:30AM",
                            "05-Nov-2003 10:00AM",
                            "05-Nov-2003 11:00AM",
                            "30",
                            "15",
                            "25",
                            "1",
                            "N"};
    for (std::size_t i = 0; i < std::size(values); ++i)
        fields[i + 1] = values[i];
    writeFile(folder / "r.ttr", writeReport(fields, array));
}

void emptyFolder() {
    std::error_code ignored;
    for (const auto &entry : fs::directory_iterator(workFolder(), ignored))
        fs::remove_all(entry.path(), ignored);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    std::string pattern = (fs::temp_directory_path() / "zqar-fuzz-batch-XXXXXX").string();
    if (!mkdtemp(pattern.data()) || chdir(pattern.c_str()) != 0)
        fuzz::checkFailed("a temp folder to work in", __FILE__, __LINE__);
    workFolder() = pattern;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    fuzz::InputReader input(fuzz::bytesOf(data, size));
    std::vector<std::string> arguments;
    while (!input.empty()) {
        if (arguments.size() == MAX_ARGUMENTS)
            return -1;
        const std::string_view argument = input.text('\n');
        if (!staysInTheFolder(argument))
            return -1; // not kept in the corpus
        arguments.emplace_back(argument);
    }
    writeFixtures();
    {
        std::ostringstream out;
        std::ostringstream err;
        BatchTool tool(out, err);
        // No companion files: the list would be looked for beside the executable.
        tool.host.setExecutableDirectory((workFolder() / "no-program-folder").string());
        const int exit = tool.run(arguments);
        FUZZ_CHECK(exit == BATCH_OK || exit == BATCH_FAILED || exit == BATCH_USAGE);
        FUZZ_CHECK(exit != BATCH_USAGE || err.str().find("usage:") != std::string::npos);
    }
    FUZZ_CHECK(fs::current_path() == workFolder());
    emptyFolder();
    return 0;
}
