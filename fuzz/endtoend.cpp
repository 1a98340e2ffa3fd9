// A report from its bytes to the screen, on the in-memory backend: Load Report (which runs
// the averaged calculation), the matrix stepping through the sets, and the contour graph
// painted on the recording context, first and last set. Each input gets a fresh window.

#include "app/MainWindow.h"
#include "fuzzCheck.h"
#include "pages/analysis/DataFilterPage.h"
#include "platform/memory/MemoryHost.h"
#include "platform/memory/RecordingContext.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace zqar;
namespace fs = std::filesystem;

namespace {

constexpr int GRAPH_WIDTH = 400; // pixels of the page's client area
constexpr int GRAPH_HEIGHT = 300;

std::string &reportPath() {
    static std::string path;
    return path;
}

void paintGraph(platform::MemoryDialog &graph) {
    platform::RecordingContext screen;
    graph.paint(GraphPage::GRAPH_AREA, screen);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    std::string pattern = (fs::temp_directory_path() / "zqar-fuzz-report-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        fuzz::checkFailed("a temp folder for the report", __FILE__, __LINE__);
    reportPath() = pattern + "/input.ttr";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    std::ofstream(reportPath(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(data), std::streamsize(size));

    platform::MemoryHost host;
    host.offscreenFactory = [](int, int) { return std::make_unique<platform::RecordingContext>(); };
    MainWindow window(host);
    window.initialise();
    platform::MemoryDialog &graph = host.dialogOf(window.graphPage);
    platform::MemoryDialog &matrix = host.dialogOf(window.matrixPage);
    graph.resize(GRAPH_WIDTH, GRAPH_HEIGHT);

    host.openAnswers.push_back(reportPath());
    host.dialogOf(window.dataFilterPage).click(DataFilterPage::LOAD_REPORT);

    const ArrayDimensions d = window.job.loggerArray.dimensions();
    FUZZ_CHECK(int64_t{d.rows} * d.columns <= MAX_ARRAY_CELLS);
    FUZZ_CHECK(d.singularCount <= MAX_SINGULAR_COUNT);
    const SetList &sets = window.job.setList;
    FUZZ_CHECK(sets.count() <= static_cast<int>(MAX_AVERAGED_SETS));

    paintGraph(graph);
    matrix.click(MatrixPage::NEXT);
    matrix.click(MatrixPage::LAST);
    paintGraph(graph);
    matrix.click(MatrixPage::PREVIOUS);
    matrix.click(MatrixPage::FIRST);
    host.takeMessages();
    return 0;
}
