// The graph in the real window: composed off screen, copied onto the graph area, and the
// button states and status line the drawing sets.

#include "app/MainWindow.h"
#include "core/analysis/TemperatureSet.h"
#include "qt/QtDialog.h"
#include "qt/QtHelpViewer.h"
#include "qt/QtHost.h"
#include "qt/QtMessageBox.h"
#include "window/MainWindowShell.h"
#include "window/TabStrip.h"

#include <QImage>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace zqar {
namespace {

TEST(GraphArea, ShowsTheCurrentSetInItsBandColour) {
    std::vector<std::string> messages;
    platform::setMessageBoxHook(
        [&messages](const std::string &text, const std::string &) { messages.push_back(text); });
    {
        platform::QtHost host;
        MainWindow window(host);
        MainWindowShell shell(window, host);
        shell.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&shell));
        platform::QtDialog *fileSelection = host.dialogOf(window.fileSelectionPage);
        fileSelection->setText(FileSelectionPage::NUMBER_OF_ROWS, "3");
        fileSelection->setText(FileSelectionPage::NUMBER_OF_COLUMNS, "4");
        fileSelection->setText(FileSelectionPage::NUMBER_OF_SINGULAR, "0");
        window.fileSelectionPage.updateLayout();
        platform::QtDialog *dataFilter = host.dialogOf(window.dataFilterPage);
        dataFilter->setText(DataFilterPage::MINIMUM_TEMPERATURE, "20");
        dataFilter->setText(DataFilterPage::MAXIMUM_TEMPERATURE, "30");
        dataFilter->setText(DataFilterPage::CONTOUR_SPACING, "1");
        auto set = std::make_unique<TemperatureSet>(38000.0, 0.0, 3, 4, 0);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                set->setValue(r, c, 25.5);
        window.job.setList.append(std::move(set));

        shell.tabBar()->setCurrentIndex(TAB_GRAPH);
        platform::QtDialog *graph = host.dialogOf(window.graphPage);
        QWidget *area = graph->control(GraphPage::GRAPH_AREA);
        ASSERT_NE(area, nullptr);
        const QImage picture = area->grab().toImage();
        ASSERT_GT(picture.width(), 100);
        // The field's middle, left of the legend and singular column.
        const QColor middle = picture.pixelColor(picture.width() / 4, picture.height() / 2);
        EXPECT_EQ(middle, QColor(0, 255, 64));
        EXPECT_EQ(picture.pixelColor(2, picture.height() - 3), QColor(Qt::white));
        EXPECT_EQ(graph->text(GraphPage::STATUS).rfind("1 of 1  ", 0), 0u);
        EXPECT_TRUE(graph->isEnabled(GraphPage::PRINT));
        EXPECT_TRUE(graph->isEnabled(GraphPage::SLIDES));
        EXPECT_FALSE(graph->isEnabled(GraphPage::NEXT));
    }
    platform::setMessageBoxHook(nullptr);
    EXPECT_TRUE(messages.empty());
}

} // namespace
} // namespace zqar
