#include "pages/layout/FileSelectionPage.h"

#include "core/analysis/placedPositions.h"
#include "core/data/numbers.h"
#include "core/job/Job.h"
#include "pages/layout/logFileCommands.h"
#include "pages/layout/projectFile.h"
#include "pages/layout/settings.h"
#include "platform/EditBox.h"
#include "platform/ListView.h"
#include "resources/format.h"
#include "resources/strings.h"
#include "resources/templates.h"

namespace zqar {

namespace {
constexpr int CELL_WIDTH = FileSelectionPage::CELL_COLUMN_WIDTH;
constexpr int SERIAL_COLUMN = 1; // the singular table's serial-number column

bool sameSettings(const DataCheckSettings &a, const DataCheckSettings &b) {
    return a.plausibleLow == b.plausibleLow && a.plausibleHigh == b.plausibleHigh &&
           a.plausibleJump == b.plausibleJump;
}
} // namespace

FileSelectionPage::FileSelectionPage(Job &theJob, platform::Host &theHost)
    : Page(FILE_SELECTION_TEMPLATE), job(theJob), host(theHost) {
    bind(UPDATE_LAYOUT, [this] { updateLayout(); });
    bindProjectCommands(*this);
    bindLogFileCommands(*this);
    listening = job.listen([this](const JobChange &change) { jobChanged(change.what); });
}

void FileSelectionPage::jobChanged(unsigned what) {
    const JobChange change{what};
    if (change.touches(JobChange::RECORDS | JobChange::LAYOUT)) {
        markSuspects();
        markNotLoaded();
    } else if (change.touches(JobChange::SETTINGS) && markedWith &&
               !sameSettings(*markedWith, checkSettings()))
        markSuspects();
}

DataCheckSettings FileSelectionPage::checkSettings() const {
    const DataCheckSettingsReading reading = readDataCheckSettings(job);
    return reading.problem == DataCheckProblem::None ? reading.settings : DataCheckSettings{};
}

void FileSelectionPage::markSuspects() {
    if (!isCreated())
        return;
    const DataCheckSettings settings = checkSettings();
    markedWith = settings;
    platform::ListView &arrayList = arrayLayoutList();
    platform::ListView &singularList = singularLayoutList();
    for (const PlacedPosition &p : placedPositions(job.loggerArray)) {
        const bool suspect = p.record && !checkRecord(*p.record, settings).empty();
        if (p.row < 0)
            singularList.setItemFlagged(p.col, SERIAL_COLUMN, suspect);
        else
            arrayList.setItemFlagged(p.row + 1, p.col + 1, suspect);
    }
}

void FileSelectionPage::markNotLoaded() {
    if (!isCreated())
        return;
    const LoggerArray &array = job.loggerArray;
    const ArrayDimensions counts = array.dimensions();
    platform::ListView &arrayList = arrayLayoutList();
    for (int r = 0; r < counts.rows; ++r)
        for (int c = 0; c < counts.columns; ++c)
            arrayList.setItemMissing(r + 1, c + 1, array.whyEmpty(r, c) != nullptr);
    platform::ListView &singularList = singularLayoutList();
    for (int s = 0; s < counts.singularCount; ++s)
        singularList.setItemMissing(s, SERIAL_COLUMN, array.whyEmpty(-1, s) != nullptr);
}

LayoutSettings FileSelectionPage::settings() const {
    const platform::Dialog &page = dialog();
    LayoutSettings settings;
    settings.counts = readLayoutCounts(page.text(NUMBER_OF_ROWS), page.text(NUMBER_OF_COLUMNS),
                                       page.text(NUMBER_OF_SINGULAR));
    settings.rowSpacing = readDecimal(page.text(ROW_SPACING));
    settings.columnSpacing = readDecimal(page.text(COLUMN_SPACING));
    settings.loggersOnBoundary = page.isChecked(LOGGERS_ON_BOUNDARY);
    settings.useCommentField = !page.isChecked(USE_SERIAL_NUMBERS);
    settings.directory = page.text(DIRECTORY);
    settings.projectDescription = page.text(PROJECT_DESCRIPTION);
    settings.projectNumber = page.text(PROJECT_NUMBER);
    settings.projectDate = page.text(PROJECT_DATE);
    return settings;
}

platform::ListView &FileSelectionPage::arrayLayoutList() {
    return dialog().listView(ARRAY_LAYOUT_LIST);
}

platform::ListView &FileSelectionPage::singularLayoutList() {
    return dialog().listView(SINGULAR_LAYOUT_LIST);
}

void FileSelectionPage::initialise() {
    platform::Dialog &page = dialog();
    // The counts and spacings start as a project without them reads. The description's
    // project default is only what an old file's missing key stands for, not a new page's text.
    for (const Setting &setting : SETTINGS)
        if (inProject(setting) && setting.kind == SettingKind::Text &&
            !setting.projectDefault.empty() && setting.control != PROJECT_DESCRIPTION)
            writeSetting(page, setting, setting.projectDefault);
    page.setChecked(USE_COMMENT_FIELD, true);
    page.setChecked(LOGGERS_ON_BOUNDARY, true);
    platform::ListView &singular = singularLayoutList();
    singular.insertColumn(0, text::NO_LOGGER, platform::Align::Centre, LABEL_COLUMN_WIDTH);
    singular.insertColumn(1, text::NO_LOGGER, platform::Align::Centre, CELL_COLUMN_WIDTH);
    updateLayout();
}

CommandOutcome FileSelectionPage::updateLayout() {
    commitEditor();
    platform::Dialog &page = dialog();
    const LayoutCounts requested = settings().counts;
    const ArrayDimensions counts = requested.dimensions;
    // The status line tells why a layout came out empty; a later layout within the bounds
    // takes that text away again, and leaves any other status as it was.
    if (requested.tooLarge)
        page.setText(STATUS, text::LAYOUT_TOO_LARGE);
    else if (page.text(STATUS) == text::LAYOUT_TOO_LARGE)
        page.setText(STATUS, "");
    if (counts.rows == 1 || counts.columns == 1)
        page.setChecked(LOGGERS_ON_BOUNDARY, false);
    job.loggerArray.resize(counts.rows, counts.columns, counts.singularCount);
    shapeLayoutTables(singularLayoutList(), arrayLayoutList(), counts, 0);
    // Exclusions name positions of the layout they were made in.
    unsigned what = JobChange::LAYOUT | JobChange::RECORDS;
    if (!job.exclusions.empty()) {
        job.exclusions.clear();
        what |= JobChange::EXCLUSIONS;
    }
    job.changed(what);

    return CommandOutcome::completed();
}

void shapeLayoutTables(platform::ListView &singularList, platform::ListView &arrayList,
                       const ArrayDimensions &counts, int border) {
    const int R = counts.rows;
    const int C = counts.columns;
    const int S = counts.singularCount;
    const int b = border;
    const auto centre = platform::Align::Centre;

    while (singularList.itemCount() > S)
        singularList.deleteItem(S);
    for (int i = 0; i < S; ++i) {
        if (i >= singularList.itemCount()) {
            singularList.insertItem(i, text::format(text::SINGULAR_LABEL, i + 1));
            singularList.setItemText(i, 1, text::NO_LOGGER);
        }
    }

    while (arrayList.columnExists(b + C + 1))
        arrayList.deleteColumn(b + C + 1);
    if (!arrayList.columnExists(0)) {
        arrayList.insertColumn(0, text::NO_LOGGER, centre, CELL_WIDTH);
        if (b == 1)
            arrayList.insertColumn(1, text::NO_LOGGER, centre, CELL_WIDTH);
    }
    for (int c = b + 1; c <= C + 2 * b; ++c)
        if (!arrayList.columnExists(c))
            arrayList.insertColumn(c, text::NO_LOGGER, centre, CELL_WIDTH);

    while (arrayList.itemCount() > b + R + 1)
        arrayList.deleteItem(b + R + 1);
    if (arrayList.itemCount() == 0) {
        arrayList.insertItem(0, text::LABEL_FILL);
        if (b == 1) {
            arrayList.insertItem(1, text::LABEL_FILL);
            arrayList.setItemText(0, 1, text::LABEL_FILL);
        }
    }
    for (int c = 1; c <= C; ++c)
        arrayList.setItemText(0, c + b, text::format(text::COLUMN_LABEL, c));
    if (b == 1)
        arrayList.setItemText(0, C + 2, text::LABEL_FILL);

    for (int r = b + 1; r <= R + 2 * b; ++r) {
        if (r >= arrayList.itemCount()) {
            const bool bottomRing = b == 1 && r == R + 2;
            arrayList.insertItem(r, bottomRing ? std::string(text::LABEL_FILL)
                                               : text::format(text::ROW_LABEL, r - b));
        }
    }
    for (int r = 1; r <= R + 2 * b; ++r) {
        const bool labelled = r >= b + 1 && r <= R + b;
        arrayList.setItemText(
            r, 0, labelled ? text::format(text::ROW_LABEL, r - b) : std::string(text::LABEL_FILL));
    }
    for (int r = 1; r <= R + 2 * b; ++r)
        for (int c = 1; c <= C + 2 * b; ++c)
            arrayList.setItemText(r, c, text::NO_LOGGER);
}

} // namespace zqar
