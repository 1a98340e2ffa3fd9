#include "pages/presentation/MatrixPage.h"

#include "core/analysis/TemperatureSet.h"
#include "core/data/AtomicFileWriter.h"
#include "core/data/numbers.h"
#include "core/job/Job.h"
#include "pages/layout/FileSelectionPage.h"
#include "pages/presentation/csvExportDialog.h"
#include "platform/ChosenFile.h"
#include "platform/Host.h"
#include "platform/ListView.h"
#include "resources/format.h"
#include "resources/strings.h"
#include "resources/templates.h"

namespace zqar {

namespace {

constexpr int VALUE_DECIMALS = 2;
constexpr int LIST_TOP = 29; // pixels below the page's top edge
constexpr int LIST_LEFT = 4;
constexpr int SINGULAR_LIST_WIDTH = 120;
constexpr int ARRAY_LIST_MARGIN = 128; // the singular list and the gaps beside it
constexpr int LIST_BOTTOM_GAP = 4;     // pixels below the lists and below the note under them
constexpr int NOTE_HEIGHT = 14;        // pixels, one line of the page's font
constexpr std::string_view CSV_SEPARATOR = ",";
constexpr std::string_view CSV_LINE_END = "\r\n";

std::string valueText(double value) {
    return value == NO_VALUE ? std::string(text::NO_LOGGER) : formatFixed(value, VALUE_DECIMALS);
}

// The singular list's label and value columns.
void addSingularColumns(platform::ListView &singular) {
    constexpr int width = MatrixPage::SINGULAR_COLUMN_WIDTH;
    singular.insertColumn(0, text::NO_LOGGER, platform::Align::Centre, width);
    singular.insertColumn(1, text::NO_LOGGER, platform::Align::Centre, width);
}

// Mutes the values in the lists that no placed logger gave: filled gaps and the ring around
// the array. Without a set the positions show no value and nothing there is muted; the ring
// keeps what it showed, as its texts do.
void markEstimates(platform::ListView &values, platform::ListView &singular,
                   const TemperatureSet *set, const ArrayDimensions &d, bool loggersOnBoundary) {
    auto estimate = [&](int r, int c) {
        return set && set->valueAt(r, c) != NO_VALUE && !set->isMeasured(r, c);
    };
    // Set position (r, c), ring included, is list row r + 2 and list column c + 2.
    const bool ringShown = set && !loggersOnBoundary;
    for (int r = -1; r <= d.rows; ++r)
        for (int c = -1; c <= d.columns; ++c) {
            const bool ring = r < 0 || c < 0 || r == d.rows || c == d.columns;
            if (ring && !set)
                continue;
            values.setItemMuted(r + 2, c + 2, (!ring || ringShown) && estimate(r, c));
        }
    for (int i = 0; i < d.singularCount; ++i)
        singular.setItemMuted(i, 1, estimate(SINGULAR_ROW, i));
}

} // namespace

MatrixPage::MatrixPage(Job &theJob, platform::Host &theHost,
                       std::function<JobSettings()> settingsReader)
    : SetPage(MATRIX_TEMPLATE, theJob, theHost, std::move(settingsReader)) {
    bind(PRINT, [this] { onPrint(); });
    bind(EXPORT, [this] { onExport(); });
}

platform::ListView &MatrixPage::arrayList() { return dialog().listView(ARRAY_LIST); }

platform::ListView &MatrixPage::singularList() { return dialog().listView(SINGULAR_LIST); }

void MatrixPage::initialise() { addSingularColumns(singularList()); }

void MatrixPage::resized(int width, int height) {
    if (!isCreated())
        return;
    // The note on grey values takes the page's last line; the lists end a little above it,
    // so their frames show whole.
    const int noteBottom = height - LIST_BOTTOM_GAP;
    const int noteTop = noteBottom - NOTE_HEIGHT;
    dialog().moveControl(ESTIMATES_NOTE,
                         platform::Rect{LIST_LEFT, noteTop, width - LIST_LEFT, noteBottom});
    const int listBottom = noteTop - LIST_BOTTOM_GAP;
    dialog().moveControl(
        ARRAY_LIST,
        platform::Rect{LIST_LEFT, LIST_TOP, LIST_LEFT + width - ARRAY_LIST_MARGIN, listBottom});
    dialog().moveControl(SINGULAR_LIST,
                         platform::Rect{width - SINGULAR_LIST_WIDTH, LIST_TOP, width, listBottom});
}

void MatrixPage::showCurrentSet() {
    platform::Dialog &page = dialog();
    const TemperatureSet *set = job.setList.current();
    navigator.enableButtons(page);
    page.setEnabled(PRINT, navigator.hasSets());
    page.setEnabled(EXPORT, navigator.hasSets());

    const ArrayDimensions d = job.loggerArray.dimensions();
    const int R = d.rows;
    const int K = d.columns;
    const bool onBoundary = readSettings().layout.loggersOnBoundary;
    platform::ListView &values = arrayList();
    platform::ListView &singular = singularList();

    if (!navigator.showStatus(page)) {
        // The ring keeps whatever it showed; only the positions themselves are emptied.
        for (int r = 0; r < R; ++r)
            for (int c = 0; c < K; ++c)
                values.setItemText(r + 2, c + 2, text::NO_LOGGER);
        for (int i = 0; i < d.singularCount; ++i)
            singular.setItemText(i, 1, text::NO_LOGGER);
        markEstimates(values, singular, nullptr, d, onBoundary);
        return;
    }

    showSetInLists(values, singular, *set, d, onBoundary);
}

std::string MatrixPage::csvText() {
    return listsCsv(arrayList(), singularList(), job.loggerArray.dimensions());
}

void showSetInLists(platform::ListView &values, platform::ListView &singular,
                    const TemperatureSet &set, const ArrayDimensions &d, bool onBoundary) {
    const int R = d.rows;
    const int K = d.columns;
    // Set position (r, c), ring included, is list row r + 2 and list column c + 2.
    auto show = [&](int r, int c) {
        values.setItemText(r + 2, c + 2, valueText(set.valueAt(r, c)));
    };
    auto blank = [&](int r, int c) { values.setItemText(r + 2, c + 2, text::NO_LOGGER); };
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < K; ++c)
            show(r, c);
    auto ring = [&](int r, int c) { onBoundary ? blank(r, c) : show(r, c); };
    for (int r = -1; r <= R; ++r) {
        ring(r, -1);
        ring(r, K);
    }
    for (int c = 0; c < K; ++c) {
        ring(-1, c);
        ring(R, c);
    }
    for (int i = 0; i < d.singularCount; ++i)
        singular.setItemText(i, 1, valueText(set.valueAt(SINGULAR_ROW, i)));
    markEstimates(values, singular, &set, d, onBoundary);
}

std::string listsCsv(const platform::ListView &values, const platform::ListView &singular,
                     const ArrayDimensions &d) {
    std::string csv;
    for (int row = 0; row <= d.rows + 2; ++row) {
        for (int col = 0; col <= d.columns + 2; ++col) {
            csv += values.itemText(row, col);
            csv += col == d.columns + 2 ? CSV_LINE_END : CSV_SEPARATOR;
        }
    }
    for (int i = 0; i < d.singularCount; ++i) {
        csv += singular.itemText(i, 0);
        csv += CSV_SEPARATOR;
        csv += singular.itemText(i, 1);
        csv += CSV_LINE_END;
    }
    return csv;
}

std::string matrixCsv(const TemperatureSet &set, const ArrayDimensions &dimensions,
                      bool loggersOnBoundary) {
    platform::ListModel values;
    platform::ListModel singular;
    addSingularColumns(singular);
    shapeLayoutTables(singular, values, dimensions, 1);
    showSetInLists(values, singular, set, dimensions, loggersOnBoundary);
    return listsCsv(values, singular, dimensions);
}

CommandOutcome MatrixPage::onExport() {
    platform::FileDialogOptions options = csvExportOptions(host);
    options.helpButton = true;
    return platform::withChosenFile(
        host, platform::FileChoice::Save, options, [this](const std::string &path) {
            if (!writeFileAtomically(path, csvText()))
                return showFailure(dialog(), text::EXPORT_FAILED, text::EXPORT_CAPTION);
            return CommandOutcome::completed();
        });
}

} // namespace zqar
