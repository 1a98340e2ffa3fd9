#pragma once
// What Load Report keeps while its calculation runs (MainWindow::takeSnapshot), for the two
// files that take and restore it.

#include "app/MainWindow.h"

#include <array>
#include <string>
#include <vector>

namespace zqar {

struct MainWindow::Snapshot {
    std::vector<SettingValue> values; // every setting, then the cells of the tables
    ArrayDimensions dimensions;
    LoggerArray records;
    SetList sets;
    std::vector<Exclusion> exclusions;
    std::string reportPath;
    FileDigest reportDigest;
    ChangeLog changeLog;
    std::vector<SettingValue> recorded;  // what the change log counts from
    std::array<std::string, 4> statuses; // in the order of pages()
};

} // namespace zqar
