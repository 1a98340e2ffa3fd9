// What the user is told after a save, and which files become the window's document (its title
// and recent files): only files that were really read or written, with their whole path.

#include "pages/analysis/DataFilterPage.h"
#include "pages/layout/FileSelectionPage.h"
#include "pages/layout/projectFile.h"

#include "support/PageHarness.h"
#include "support/TempDir.h"

#include <filesystem>
#include <string>
#include <vector>

using namespace zqar;
using namespace zqar::testing;

namespace {

using DF = DataFilterPage;
using FS = FileSelectionPage;

class SaveFeedback : public PageTest {
protected:
    TempDir dir;
};

} // namespace

TEST_F(SaveFeedback, SaveReportNamesTheReportInItsNewFolder) {
    host.saveAnswers.push_back(dir.file("warehouse.ttr"));
    EXPECT_EQ(window.createReport().kind, CommandOutcome::Kind::Completed);
    // A new report goes into a folder named after it, and that is where the line points.
    const std::string written = (dir.path() / "warehouse" / "warehouse.ttr").string();
    ASSERT_TRUE(std::filesystem::exists(written));
    EXPECT_EQ(dataFilter().text(DF::STATUS), "Report saved as " + written);
    EXPECT_EQ(host.documents, std::vector<std::string>{written});

    // Loading it makes it the document again.
    host.openAnswers.push_back(written);
    window.loadReport();
    host.takeMessages(); // the empty report's calculation may speak; that is not this test's
    EXPECT_EQ(host.documents, (std::vector<std::string>{written, written}));
}

TEST_F(SaveFeedback, AReportThatWasNotWrittenOrReadIsNoDocument) {
    dataFilter().setText(DF::STATUS, "3 sets created.");
    // The folder the report would go into cannot be made under a missing one.
    host.saveAnswers.push_back((dir.path() / "missing" / "deeper" / "lost.ttr").string());
    EXPECT_TRUE(window.createReport().hasFailed());
    takeMessage();
    EXPECT_EQ(dataFilter().text(DF::STATUS), "3 sets created.");

    host.openAnswers.push_back(dir.file("nowhere.ttr"));
    EXPECT_TRUE(window.loadReport().hasFailed());
    takeMessage();
    EXPECT_TRUE(host.documents.empty());
}

TEST_F(SaveFeedback, SaveProjectNamesTheFileAndLoadProjectMakesItTheDocument) {
    const std::string project = dir.file("line 4.ttp");
    EXPECT_EQ(saveProjectFile(window.fileSelectionPage, project).kind,
              CommandOutcome::Kind::Completed);
    EXPECT_EQ(fileSelection().text(FS::STATUS), "Project saved as " + project);
    EXPECT_EQ(loadProjectFile(window.fileSelectionPage, project).kind,
              CommandOutcome::Kind::Completed);
    EXPECT_EQ(host.documents, (std::vector<std::string>{project, project}));

    // A file that cannot be read changes nothing.
    EXPECT_TRUE(loadProjectFile(window.fileSelectionPage, dir.file("gone.ttp")).hasFailed());
    takeMessage();
    EXPECT_EQ(host.documents.size(), 2u);
}
