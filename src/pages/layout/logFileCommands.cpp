#include "pages/layout/logFileCommands.h"

#include "core/data/AtomicFileWriter.h"
#include "core/data/caseless.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/data/parallelInOrder.h"
#include "core/data/systemCalls.h"
#include "core/job/Job.h"
#include "pages/layout/FileSelectionPage.h"
#include "pages/layout/PlacementSnapshot.h"
#include "pages/layout/notLoaded.h"
#include "pages/layout/recordPlacement.h"
#include "platform/ChosenFile.h"
#include "platform/Host.h"
#include "platform/ListView.h"
#include "resources/desktopTexts.h"
#include "resources/fileTexts.h"
#include "resources/format.h"
#include "resources/strings.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace zqar {

namespace fs = std::filesystem;
using FS = FileSelectionPage;

namespace {

constexpr int SERIAL_COLUMN = 1; // the singular table's serial-number column
constexpr char PATH_SEPARATOR = '/';

bool isLogFileName(const std::string &name) {
    const std::string_view extension = text::LOG_FILE_EXTENSION;
    return name.size() >= extension.size() &&
           equalIgnoringCase(std::string_view(name).substr(name.size() - extension.size()),
                             extension);
}

} // namespace

std::vector<std::string> logFileNames(const std::string &directory) {
    std::vector<std::string> names;
    if (directory.empty())
        return names;
    std::error_code error;
    fs::directory_iterator entries(directory, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        std::string name = entries->path().filename().string();
        std::error_code typeError;
        if (isLogFileName(name) && entries->is_regular_file(typeError))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

// The file's last-write date in local time, or none when the file cannot be asked.
std::optional<CivilTime> modificationDate(const std::string &path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return std::nullopt;
    std::tm local{};
    if (!toLocalTime(info.st_mtime, local))
        return std::nullopt;
    CivilTime date;
    date.year = local.tm_year + 1900;
    date.month = local.tm_mon + 1;
    date.day = local.tm_mday;
    return date;
}

std::unique_ptr<LogFile> readRecord(const std::string &path, int channel,
                                    LogReadOutcome *outcome = nullptr) {
    auto record = std::make_unique<LogFile>();
    LogReadOutcome read = record->readLogFile(path, channel);
    if (outcome)
        *outcome = read;
    return record;
}

// What the pool learns of one file of the scan, in the order of the scan. Only the date
// filter and the reads happen off the user-interface thread; everything the load shows or
// places is decided from these in turn.
struct ScannedFile {
    bool passesFilters = false;        // the date stamp and the project number
    std::unique_ptr<LogFile> channel1; // the first read, when the file passes
    std::unique_ptr<LogFile> channel2; // read ahead when the file looks like it names one
    // Set when the file was left out, or read badly: it tells why a position it names stays
    // empty, should the file place nothing.
    std::optional<SkippedFile> trouble;
};

// The trace a file leaves when a filter left it out or its read failed; none for a file that
// was read whole and passed.
std::optional<SkippedFile> troubleOf(const std::string &path, const std::string &name,
                                     const LogFile *record, const LogReadOutcome *read,
                                     bool passesFilters) {
    SkippedFile skipped;
    if (read && read->status != LogReadStatus::Read) {
        const bool samplesShort = read->status == LogReadStatus::SamplesShort;
        skipped.reason = samplesShort ? NotLoaded::NoSamples : NotLoaded::Unreadable;
        for (int k = 0; samplesShort && k < 2; ++k)
            skipped.positions[k] = positionInComments(read->commentsRead, k + 1);
    } else if (!passesFilters) {
        skipped.reason = NotLoaded::FilteredOut;
        for (int k = 0; record && k < 2; ++k)
            skipped.positions[k] = record->positionFromComments(k + 1);
    } else {
        return std::nullopt;
    }
    skipped.path = path;
    skipped.stem = name.substr(0, name.size() - text::LOG_FILE_EXTENSION.size());
    if (record)
        skipped.loggerName = record->loggerName.str();
    return skipped;
}

// Whether a file is worth reading for channel 2 while it is read anyway. Only a guess, taken
// from the tables as they were when the load began (the labels written during the load can
// change a cell's text); a placement the guess missed reads the file itself.
class ChannelTwoHint {
public:
    ChannelTwoHint(FileSelectionPage &page, const ArrayDimensions &counts, bool bySerialNumber)
        : serialNumbers(bySerialNumber), dimensions(counts) {
        if (!serialNumbers)
            return;
        const std::string_view suffix = text::CHANNEL_2_SUFFIX;
        const auto keep = [&](const std::string &cell) {
            if (cell.size() > suffix.size() &&
                equalIgnoringCase(std::string_view(cell).substr(cell.size() - suffix.size()),
                                  suffix))
                channelTwoCells.push_back(lowerCase(cell));
        };
        platform::ListView &arrayList = page.arrayLayoutList();
        for (int r = 1; r <= counts.rows; ++r)
            for (int c = 1; c <= counts.columns; ++c)
                keep(arrayList.itemText(r, c));
        platform::ListView &singularList = page.singularLayoutList();
        for (int s = 0; s < counts.singularCount; ++s)
            keep(singularList.itemText(s, SERIAL_COLUMN));
        std::sort(channelTwoCells.begin(), channelTwoCells.end());
    }

    // Safe on any thread: reads only what the constructor gathered.
    bool namesChannelTwo(const LogFile &record) const {
        if (!serialNumbers) {
            const CommentPosition at = record.positionFromComments(2);
            return at.found && fitsLayout(at, dimensions);
        }
        const std::string name = record.loggerName.str();
        if (name.empty() || channelTwoCells.empty())
            return false;
        return std::binary_search(channelTwoCells.begin(), channelTwoCells.end(),
                                  lowerCase(name + std::string(text::CHANNEL_2_SUFFIX)));
    }

private:
    bool serialNumbers;
    ArrayDimensions dimensions;
    std::vector<std::string> channelTwoCells; // folded to lower case, sorted
};

std::string scanningStatus(const std::string &name, int placed) {
    return cutText(std::string(text::SCANNING_PREFIX) + name + std::string(text::SCANNING_LOADED) +
                   std::to_string(placed));
}

std::string loadedStatus(int placed) {
    return text::countText(placed, text::NO_FILES_LOADED, text::ONE_FILE_LOADED,
                           text::FILES_LOADED);
}

void showNotLoaded(platform::Dialog &dialog, int empty) {
    if (empty == 1)
        dialog.messageBox(std::string(text::ONE_FILE_NOT_LOADED), std::string(text::LOAD_CAPTION));
    else if (empty > 1)
        dialog.messageBox(text::format(text::FILES_NOT_LOADED, empty),
                          std::string(text::LOAD_CAPTION));
}

// The log files of the directory whose paths a record's fileName can hold, before any status
// shows them. No directory given is no directory to read: the paths would start at the root.
std::vector<std::string> namesToScan(const std::string &directory,
                                     const LoadFilesOptions &options) {
    std::vector<std::string> names;
    if (directory.empty())
        return names;
    for (std::string &name :
         options.listLogFiles ? options.listLogFiles(directory) : logFileNames(directory))
        if (directory.size() + 1 + name.size() <= TEXT_MAX_LENGTH)
            names.push_back(std::move(name));
    return names;
}

bool sameDay(const CivilTime &a, const CivilTime &b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

int emptyPositions(const LoggerArray &array, const ArrayDimensions &counts) {
    int empty = 0;
    for (int r = 0; r < counts.rows; ++r)
        for (int c = 0; c < counts.columns; ++c)
            empty += array.at(r, c) ? 0 : 1;
    for (int s = 0; s < counts.singularCount; ++s)
        empty += array.at(-1, s) ? 0 : 1;
    return empty;
}

// The last part of a path: the file's name without its folder.
std::string fileTitle(const std::string &path) {
    const std::size_t slash = path.rfind(PATH_SEPARATOR);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Copies source to target, replacing a file there. The copy is made beside the target and
// renamed over it, so a copy that fails half-way leaves the old target as it was.
bool copyLogFile(const std::string &source, const std::string &target) {
    std::error_code error;
    if (!fs::is_regular_file(source, error))
        return false;
    // Onto itself: replacing the file by its own copy gains nothing and risks the only copy.
    if (fs::exists(target, error) && fs::equivalent(source, target, error))
        return false;
    AtomicFileWriter writer(target);
    if (!writer.isOpen() || !copyFileOver(source, writer.writtenByName()))
        return false;
    return writer.commit();
}

} // namespace

void bindLogFileCommands(FileSelectionPage &page) {
    page.bindCommand(FS::LOAD_FILES, [&page] { loadFiles(page, LoadFilesOptions{}); });
    page.bindCommand(FS::BROWSE, [&page] { browse(page); });
    page.bindCommand(FS::COPY_FILES, [&page] { copyFiles(page); });
}

namespace {

// What a file of the scan holds for placing, with the date filter, the reads and the
// project-number filter done; safe to run on a thread of the pool.
ScannedFile scanFile(const std::string &path, const std::string &name,
                     const std::optional<CivilTime> &filterDate, const std::string &projectNumber,
                     const ChannelTwoHint &hint) {
    ScannedFile scanned;
    if (filterDate) {
        const std::optional<CivilTime> written = modificationDate(path);
        if (!written || !sameDay(*written, *filterDate)) {
            scanned.trouble = troubleOf(path, name, nullptr, nullptr, false);
            return scanned;
        }
    }
    LogReadOutcome read;
    std::unique_ptr<LogFile> record = readRecord(path, 1, &read);
    const bool passes = record->commentsContain(projectNumber);
    scanned.trouble = troubleOf(path, name, record.get(), &read, passes);
    if (!passes)
        return scanned;
    if (hint.namesChannelTwo(*record))
        scanned.channel2 = readRecord(path, 2);
    scanned.channel1 = std::move(record);
    scanned.passesFilters = true;
    return scanned;
}

} // namespace

LoadFilesResult loadFiles(FileSelectionPage &page, const LoadFilesOptions &options) {
    LoadFilesResult result;
    platform::Dialog &dialog = page.dialog();
    page.pickAtCursor();
    Job &job = page.job;
    const ArrayDimensions counts = job.loggerArray.dimensions();
    PlacementSnapshot before(page);
    job.changed(JobChange::RECORDS | JobChange::SETS);

    const std::string directory = dialog.text(FS::DIRECTORY);
    const std::string projectNumber = dialog.text(FS::PROJECT_NUMBER);
    const std::string projectDate = dialog.text(FS::PROJECT_DATE);
    std::optional<CivilTime> filterDate;
    if (!projectDate.empty()) {
        const std::optional<double> day = parseDateTime(projectDate);
        if (!day) {
            result.outcome =
                showFailure(dialog, text::LOAD_FILES_DATE_MESSAGE, text::LOAD_FILES_CAPTION);
            return result;
        }
        filterDate = civilFromDayNumber(*day);
    }
    const bool bySerialNumber = dialog.isChecked(FS::USE_SERIAL_NUMBERS);

    const std::vector<std::string> names = namesToScan(directory, options);
    const auto pathOf = [&directory](const std::string &name) {
        return directory + PATH_SEPARATOR + name;
    };
    const ChannelTwoHint hint(page, counts, bySerialNumber);
    // On the pool: the date filter, the reads and the project-number filter of file i.
    const auto scan = [&](std::size_t i) {
        return scanFile(pathOf(names[i]), names[i], filterDate, projectNumber, hint);
    };

    const PlacementRules rules{counts, bySerialNumber, options.singularAsText};
    int placed = 0;
    Prefill prefill;
    const std::unique_ptr<platform::Progress> progress =
        page.host.startProgress(text::LOAD_FILES_CAPTION);
    std::vector<SkippedFile> skipped;
    // On the user-interface thread, file by file in the order of the scan.
    const auto placeFile = [&](std::size_t i, ScannedFile scanned) {
        dialog.setText(FS::STATUS, scanningStatus(names[i], placed));
        int filled = 0;
        if (scanned.passesFilters) {
            const std::string path = pathOf(names[i]);
            FileRecords records;
            records.ready.push_back(std::move(scanned.channel1));
            records.ready.push_back(std::move(scanned.channel2));
            records.read = [&path](int channel) { return readRecord(path, channel); };
            filled = placeFileRecords(page, rules, std::move(records), prefill);
        }
        placed += filled;
        if (scanned.trouble && filled == 0)
            skipped.push_back(std::move(*scanned.trouble));
    };
    const auto placeUntilCancelled = [&](std::size_t i, ScannedFile scanned) {
        placeFile(i, std::move(scanned));
        return progress->step(i + 1, names.size());
    };
    if (!parallelInOrder<ScannedFile>(names.size(), options.threads, scan, placeUntilCancelled)) {
        before.restore();
        dialog.setText(FS::STATUS, text::COMMAND_CANCELLED);
        result.outcome = CommandOutcome::cancelled();
        return result;
    }

    dialog.setText(FS::STATUS, loadedStatus(placed));
    // The notes read the serial numbers before any "-" goes in.
    noteEmptyPositions(page, rules, skipped);
    if (placed > 0) {
        markEmptyPositions(page, rules);
        prefill.takeTimes(job.loggerArray);
        result.prefill = prefill;
    }
    job.changed(JobChange::RECORDS);
    showNotLoaded(dialog, emptyPositions(job.loggerArray, counts));
    dialog.setEnabled(FS::COPY_FILES, placed > 0);
    result.outcome = CommandOutcome::completed();
    return result;
}

CommandOutcome browse(FileSelectionPage &page) {
    platform::Host &host = page.host;
    platform::FileDialogOptions options =
        platform::fileDialogOptions(host, text::BROWSE_TITLE, text::LOG_FILTER_DESCRIPTION,
                                    text::LOG_FILTER_PATTERN, text::LOG_DEFAULT_EXTENSION);
    return platform::withChosenFile(host, platform::FileChoice::Open, options,
                                    [&page](const std::string &path) {
                                        const std::size_t slash = path.rfind(PATH_SEPARATOR);
                                        // A dialog answers with a full path; a bare name has no
                                        // folder to take.
                                        if (slash == std::string::npos)
                                            return CommandOutcome::cancelled();
                                        page.dialog().setText(FS::DIRECTORY, path.substr(0, slash));
                                        return CommandOutcome::completed();
                                    });
}

CommandOutcome copyFiles(FileSelectionPage &page) {
    platform::Host &host = page.host;
    const std::optional<std::string> destination =
        host.browseFolder(std::string(text::COPY_PROMPT), host.currentDirectory());
    if (!destination)
        return CommandOutcome::cancelled();
    copyFilesTo(page, *destination);
    return CommandOutcome::completed();
}

int copyFilesTo(FileSelectionPage &page, const std::string &destination) {
    int copied = 0;
    page.job.loggerArray.forEachPlaced([&](const LogFile &record) {
        const std::string source = record.fileName.str();
        if (copyLogFile(source, destination + PATH_SEPARATOR + fileTitle(source)))
            ++copied;
    });
    page.dialog().messageBox(copied == 1 ? std::string(text::ONE_FILE_COPIED)
                                         : text::format(text::FILES_COPIED, copied),
                             std::string(text::COPY_CAPTION));
    return copied;
}

} // namespace zqar
