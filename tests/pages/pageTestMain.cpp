// The widget tests' main: the offscreen platform, set before the QApplication exists,
// because test discovery runs this program without CTest's environment. The user's settings
// (recent files, the dialogs' folders) go to a folder of this run's own, never to the real
// ones, and it goes when the run ends.

#include <QApplication>
#include <QSettings>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string settingsFolder =
        (std::filesystem::temp_directory_path() / "zqar-page-tests-XXXXXX").string();
    if (!mkdtemp(settingsFolder.data()))
        return 1;
    setenv("XDG_CONFIG_HOME", settingsFolder.c_str(), 1);
    int status = 0;
    {
        QApplication application(argc, argv);
        for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope,
                               QString::fromStdString(settingsFolder));
        testing::InitGoogleTest(&argc, argv);
        status = RUN_ALL_TESTS();
    }
    std::error_code ignored;
    std::filesystem::remove_all(settingsFolder, ignored);
    return status;
}
