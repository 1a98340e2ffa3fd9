// Writes the sample job of the repository: a week of 5-minute samples from a warehouse with a
// 6 x 4 logger array and two singular loggers, and the project that places them by serial
// number. Everything is computed from fixed formulas and a fixed pseudo-random sequence, so
// every run writes the same bytes.
//
//   zqar-make-samples OUTPUT_DIR
//
// writes OUTPUT_DIR/data/*.dta and OUTPUT_DIR/warehouse.ttp. The project's data file
// directory is "samples/data", relative to the repository root: run the batch tool from there.
// It also writes the same week as other loggers' software exports it, one table a logger in
// four layouts taken in turn, into OUTPUT_DIR/imports/, and OUTPUT_DIR/imports.ttp, the same
// project with "samples/imports" as its directory:
//   - US dates with AM/PM in degrees Fahrenheit, the UTC offset in the time title and the
//     serial in the temperature title, UTF-8 with a byte-order mark, event columns and rows;
//   - ISO dates with a "Serial Number:" line above the table and door events between samples
//     (the two-channel logger too, with its probe as a second temperature column);
//   - German day.month dates with decimal commas and tabs, in Windows-1252;
//   - UTF-16 with a date column and a time column, the serial in the file's name.
//
// The job:
//   - array loggers 10231 to 10253 (row by row), 6 rows x 4 columns, 1 m apart;
//   - R6C4 is channel 1 of the two-channel logger 20417, whose channel 2 (a product probe)
//     is singular slot S2; its comment line reads "R6C4,S2";
//   - S1 is logger 10255 in the dispatch office;
//   - the air follows a daily cycle of about 18 to 24 degrees, warmest in the afternoon; the
//     corner R1C4 lies under a roof light and runs warmer;
//   - logger 10240 at R3C2 stopped after four days.
// The loggers of rows 1 to 3 and the singular loggers (20417 with "R6C4,S2" among them) also
// name their position in a comment line; those of rows 4 to 6 name none and are placed only by
// the project's serial-number tables. Comment-field mode thus places the loggers that name a
// position, in the same places, and leaves the others out.

#include "core/data/IniFile.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

using zqar::formatFixed;

constexpr int ROWS = 6;
constexpr int COLUMNS = 4;
constexpr int SAMPLES = 2016; // one week
constexpr int SAMPLE_MINUTES = 5;
constexpr int STOPPED_SAMPLES = 1152;  // four days
constexpr int ROWS_WITH_POSITIONS = 3; // array rows whose loggers name their position
constexpr double PI = 3.14159265358979323846;
const char *const PROJECT_NUMBER = "W-2025";

// A fixed sequence of small deviations: a 32-bit linear congruential generator, the same on
// every platform, unlike the standard distributions.
class Noise {
public:
    explicit Noise(uint32_t seed) : state(seed * 2654435761u + 12345u) {}
    // Uniform in [-amplitude, amplitude].
    double next(double amplitude) {
        state = state * 1664525u + 1013904223u;
        return ((state >> 8) / 16777215.0 * 2.0 - 1.0) * amplitude;
    }

private:
    uint32_t state;
};

// The warehouse air at a position (row and column from 0) and a time of day in hours:
// 21 +/- 3 degrees, warmest at 15:00, lagging a little towards the back of the hall, warmer
// near the roof light over R1C4 and slightly warmer in the upper rows.
double airTemperature(int row, int col, double hours) {
    const double lag = 0.4 * row;
    const double cycle = 3.0 * std::sin(2.0 * PI * (hours - 9.0 - lag) / 24.0);
    const double dr = row - 0;
    const double dc = col - (COLUMNS - 1);
    const double corner = 1.8 * std::exp(-(dr * dr + dc * dc) / 2.0);
    const double sunshine = corner * std::max(0.0, std::sin(2.0 * PI * (hours - 7.0) / 24.0));
    return 21.0 + cycle + 0.6 * corner + sunshine + 0.1 * (ROWS - 1 - row);
}

struct Logger {
    std::string serial;
    std::string nameLine; // line 2; some carry a suffix after an underscore
    std::string fileName;
    std::string position; // the comment line that names the position, or empty for none
    int commentLine = 1;  // which of the four comment lines names it (0 to 3)
    int row = 0;          // array position, or -1 for a singular logger
    int col = 0;          // column, or the singular slot from 0
    int samples = SAMPLES;
    bool twoChannels = false;
    bool periodInSeconds = false;
};

// The texts of sample index: channel 1, and channel 2 for the two-channel logger (else empty).
std::pair<std::string, std::string> sampleValues(const Logger &logger, int index) {
    Noise noise(static_cast<uint32_t>(std::stoul(logger.serial)) +
                static_cast<uint32_t>(index) * 7919u);
    const double hours = std::fmod(index * SAMPLE_MINUTES / 60.0, 24.0);
    std::pair<std::string, std::string> values;
    if (logger.row >= 0) {
        values.first =
            formatFixed(airTemperature(logger.row, logger.col, hours) + noise.next(0.08), 2);
    } else {
        // The dispatch office is heated to about 21 degrees in working hours.
        const bool working = hours >= 7.0 && hours < 18.0;
        values.first = formatFixed((working ? 21.2 : 19.4) + noise.next(0.15), 2);
    }
    if (logger.twoChannels) {
        // Channel 2: a probe in a carton follows the air slowly and damped.
        const double probe = 21.0 + 1.2 * std::sin(2.0 * PI * (hours - 13.0) / 24.0);
        values.second = formatFixed(probe + noise.next(0.03), 2);
    }
    return values;
}

std::string sampleText(const Logger &logger, int index) {
    const auto [first, second] = sampleValues(logger, index);
    std::string line = std::to_string(index + 1) + " " + first;
    if (logger.twoChannels)
        line += " " + second;
    return line;
}

bool writeLogger(const std::filesystem::path &directory, const Logger &logger) {
    const std::string end = "\r\n";
    std::string text;
    const auto add = [&](const std::string &line) { text += line + end; };
    add("Z-QAR logger data file");
    add(logger.nameLine);
    add(logger.periodInSeconds ? "sec" : "min");
    add(logger.periodInSeconds ? std::to_string(SAMPLE_MINUTES * 60)
                               : std::to_string(SAMPLE_MINUTES));
    add(std::to_string(logger.samples));
    for (const char *field : {"2025", "6", "2", "0", "0", "0"}) // Monday 2 June 2025, 00:00
        add(field);
    add("Comments:");
    std::string comments[4] = {std::string("Project ") + PROJECT_NUMBER + " Warehouse B", "", "",
                               ""};
    if (!logger.position.empty())
        comments[logger.commentLine] = logger.position;
    if (logger.position.empty() || logger.commentLine != 2)
        comments[2] = logger.row >= 0 ? "Rack height 2 m" : "Outside the array";
    for (const auto &comment : comments)
        add(comment);
    add("Data:");
    for (int i = 0; i < logger.samples; ++i)
        add(sampleText(logger, i));

    const std::filesystem::path path = directory / logger.fileName;
    std::FILE *file = std::fopen(path.string().c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

std::vector<Logger> warehouseLoggers() {
    std::vector<Logger> loggers;
    int serial = 10231;
    for (int r = 0; r < ROWS; ++r) {
        for (int c = 0; c < COLUMNS; ++c) {
            Logger logger;
            logger.row = r;
            logger.col = c;
            const std::string position = "R" + std::to_string(r + 1) + "C" + std::to_string(c + 1);
            if (r == ROWS - 1 && c == COLUMNS - 1) {
                logger.serial = "20417";
                logger.twoChannels = true;
                logger.position = position + ",S2";
            } else {
                logger.serial = std::to_string(serial++);
                if (r < ROWS_WITH_POSITIONS)
                    logger.position = position;
            }
            logger.nameLine = logger.serial;
            // Some loggers write a suffix after their serial number; the name stops at "_".
            if ((r * COLUMNS + c) % 5 == 4)
                logger.nameLine += "_WH";
            logger.fileName = logger.serial + ((r * COLUMNS + c) == 13 ? ".DTA" : ".dta");
            logger.commentLine = 1 + (r * COLUMNS + c) % 3;
            logger.periodInSeconds = (r * COLUMNS + c) % 4 == 3;
            if (logger.serial == "10240")
                logger.samples = STOPPED_SAMPLES;
            loggers.push_back(logger);
        }
    }
    Logger office;
    office.serial = "10255";
    office.nameLine = office.serial;
    office.fileName = office.serial + ".dta";
    office.position = "S1";
    office.row = -1;
    office.col = 0;
    loggers.push_back(office);
    return loggers;
}

bool writeProject(const std::filesystem::path &path, const std::vector<Logger> &loggers,
                  const std::string &directory, const std::string &description) {
    const std::string section = "ZQARVemro";
    zqar::IniFile project;
    const std::pair<const char *, std::string> settings[] = {
        {"Directory", directory},
        {"NumberOfRows", std::to_string(ROWS)},
        {"NumberOfColumns", std::to_string(COLUMNS)},
        {"RowSpacing", "1"},
        {"ColumnSpacing", "1"},
        {"NumberOfSingular", "2"},
        {"UseCommentField", "N"},
        {"LoggersOnBoundary", "Y"},
        {"ProjectDescription", description},
        {"ProjectNumber", PROJECT_NUMBER},
        {"ProjectDate", ""},
    };
    for (const auto &[key, value] : settings)
        project.setValue(section, key, value);
    for (const Logger &logger : loggers)
        if (logger.row >= 0)
            project.setValue(section,
                             "R" + std::to_string(logger.row + 1) + "C" +
                                 std::to_string(logger.col + 1),
                             logger.serial);
    project.setValue(section, "S0", "10255");
    project.setValue(section, "S1", "20417,2");
    return project.write(path.string());
}

// ---- The same week as the text tables that other loggers' software exports ----------------

// The four layouts, taken in turn by the loggers; the two-channel logger is written in the ISO
// layout, which holds a second temperature column.
enum class Layout { Us, Iso, German, Utf16 };

Layout layoutOf(const Logger &logger, int index) {
    if (logger.twoChannels)
        return Layout::Iso;
    return static_cast<Layout>(index % 4);
}

// Minutes of sample index from Monday 2 June 2025 00:00, as a calendar time in that week.
struct WeekTime {
    int day, hour, minute, second;
};
WeekTime weekTime(int minutes, int second = 0) {
    return {2 + minutes / 1440, minutes / 60 % 24, minutes % 60, second};
}

std::string twoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

// "06/02/25 02:05:00 PM"
std::string usTime(const WeekTime &t) {
    const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    return twoDigits(6) + "/" + twoDigits(t.day) + "/25 " + twoDigits(hour12) + ":" +
           twoDigits(t.minute) + ":" + twoDigits(t.second) + (t.hour < 12 ? " AM" : " PM");
}

std::string isoDate(const WeekTime &t) { return "2025-06-" + twoDigits(t.day); }

std::string isoTime(const WeekTime &t) {
    return twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);
}

std::string withComma(std::string number) {
    for (char &c : number)
        if (c == '.')
            c = ',';
    return number;
}

// A door event between two samples: rows with a time and no temperature.
bool eventAfter(int index) { return index % 288 == 150; }

// The temperature in degrees Fahrenheit to three decimals, as such exports write it; read back
// it differs from the Celsius value by at most 0.0005 * 5 / 9 and the rounding of the formula.
std::string fahrenheit(const std::string &celsius) {
    return formatFixed(zqar::readDecimal(celsius) * 9.0 / 5.0 + 32.0, 3);
}

std::string importText(const Logger &logger, Layout layout) {
    std::string text;
    const std::string &serial = logger.serial;
    switch (layout) {
    case Layout::Us: {
        const std::string tag = " (LGR S/N: " + serial + ")";
        text = "\xEF\xBB\xBF\"Plot Title: " + serial + "\"\r\n";
        text += "\"#\",\"Date Time, GMT+02:00\",\"Temp, \xC2\xB0"
                "F (LGR S/N: " +
                serial + ", SEN S/N: " + serial + ")\",\"Coupler Detached" + tag +
                "\",\"Coupler Attached" + tag + "\",\"Stopped" + tag + "\",\"End Of File" + tag +
                "\"\r\n";
        int row = 0;
        for (int i = 0; i < logger.samples; ++i) {
            text += std::to_string(++row) + "," + usTime(weekTime(i * SAMPLE_MINUTES)) + "," +
                    fahrenheit(sampleValues(logger, i).first) + (i == 0 ? ",Logged,,," : ",,,,") +
                    "\r\n";
            if (eventAfter(i))
                text += std::to_string(++row) + "," + usTime(weekTime(i * SAMPLE_MINUTES + 2, 17)) +
                        ",,,,,\r\n";
        }
        // Read out a few days after the week: the day above 12 tells the month comes first.
        text += std::to_string(++row) + ",06/13/25 09:14:26 AM,,,Logged,,Logged\r\n";
        break;
    }
    case Layout::Iso: {
        text = "Z-QAR sample export\n";
        text += "Serial Number: " + serial + "\n";
        text += std::string("Project ") + PROJECT_NUMBER + " Warehouse B\n";
        text += (logger.position.empty() ? std::string("Rack height 2 m") : logger.position) + "\n";
        text += "Date/Time,Temperature (\xC2\xB0"
                "C)";
        if (logger.twoChannels)
            text += ",Probe Temperature (\xC2\xB0"
                    "C)";
        text += ",Event\n";
        for (int i = 0; i < logger.samples; ++i) {
            const WeekTime t = weekTime(i * SAMPLE_MINUTES);
            const auto [first, second] = sampleValues(logger, i);
            text += isoDate(t) + " " + isoTime(t) + "," + first;
            if (logger.twoChannels)
                text += "," + second;
            text += ",\n";
            if (eventAfter(i)) {
                const WeekTime e = weekTime(i * SAMPLE_MINUTES + 2, 17);
                text += isoDate(e) + " " + isoTime(e) + (logger.twoChannels ? ",," : ",") +
                        ",Door opened\n";
            }
        }
        break;
    }
    case Layout::German: {
        // Windows-1252: the degree sign is the one byte 0xB0.
        text = "Messdaten Lager B\r\n";
        text += "Seriennummer: " + serial + "\r\n";
        text += "Datum/Uhrzeit\tTemperatur [\xB0"
                "C]\tLuftfeuchte [%rF]\r\n";
        for (int i = 0; i < logger.samples; ++i) {
            const WeekTime t = weekTime(i * SAMPLE_MINUTES);
            text += twoDigits(t.day) + ".06.2025 " + twoDigits(t.hour) + ":" + twoDigits(t.minute) +
                    "\t" + withComma(sampleValues(logger, i).first) + "\t" +
                    withComma(formatFixed(45.0 + (i % 40) * 0.1, 1)) + "\r\n";
        }
        break;
    }
    case Layout::Utf16: {
        // Written as UTF-8 here and turned into UTF-16 below; the serial is the file's name.
        text = "Date\tTime\tTemperature (\xC2\xB0"
               "C)\tBattery (V)\r\n";
        for (int i = 0; i < logger.samples; ++i) {
            const WeekTime t = weekTime(i * SAMPLE_MINUTES);
            text +=
                isoDate(t) + "\t" + isoTime(t) + "\t" + sampleValues(logger, i).first + "\t3.6\r\n";
        }
        std::string utf16 = "\xFF\xFE";
        for (std::size_t i = 0; i < text.size(); ++i) {
            unsigned code = static_cast<unsigned char>(text[i]);
            if (code == 0xC2)
                code = static_cast<unsigned char>(text[++i]);
            utf16 += static_cast<char>(code & 0xFF);
            utf16 += static_cast<char>(code >> 8);
        }
        text = utf16;
        break;
    }
    }
    return text;
}

std::string importFileName(const Logger &logger, Layout layout) {
    switch (layout) {
    case Layout::Us:
        return logger.serial + ".csv";
    case Layout::Iso:
        return logger.serial + "-export.csv";
    case Layout::German:
        return logger.serial + ".txt";
    case Layout::Utf16:
        return logger.serial + ".tsv";
    }
    return logger.serial;
}

bool writeImports(const std::filesystem::path &directory, const std::vector<Logger> &loggers) {
    for (std::size_t i = 0; i < loggers.size(); ++i) {
        const Layout layout = layoutOf(loggers[i], static_cast<int>(i));
        const std::string text = importText(loggers[i], layout);
        const std::filesystem::path path = directory / importFileName(loggers[i], layout);
        std::FILE *file = std::fopen(path.string().c_str(), "wb");
        if (!file)
            return false;
        const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
        if (std::fclose(file) != 0 || !written)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::cerr << "usage: zqar-make-samples OUTPUT_DIR\n";
        return 2;
    }
    const std::filesystem::path output = argv[1];
    const std::filesystem::path data = output / "data";
    std::error_code error;
    std::filesystem::create_directories(data, error);
    if (error) {
        std::cerr << "cannot make " << data.string() << ": " << error.message() << "\n";
        return 1;
    }
    const std::vector<Logger> loggers = warehouseLoggers();
    for (const Logger &logger : loggers) {
        if (!writeLogger(data, logger)) {
            std::cerr << "cannot write " << (data / logger.fileName).string() << "\n";
            return 1;
        }
    }
    if (!writeProject(output / "warehouse.ttp", loggers, "samples/data",
                      "Warehouse B, week of 2 June 2025")) {
        std::cerr << "cannot write " << (output / "warehouse.ttp").string() << "\n";
        return 1;
    }
    const std::filesystem::path imports = output / "imports";
    std::filesystem::create_directories(imports, error);
    if (error || !writeImports(imports, loggers) ||
        !writeProject(output / "imports.ttp", loggers, "samples/imports",
                      "Warehouse B, week of 2 June 2025, from exported tables")) {
        std::cerr << "cannot write the exported tables in " << imports.string() << "\n";
        return 1;
    }
    std::cout << loggers.size() << " log files, warehouse.ttp, their exported tables and "
              << "imports.ttp written to " << output.string() << "\n";
    return 0;
}
