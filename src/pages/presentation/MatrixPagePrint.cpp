#include "pages/presentation/MatrixPage.h"

#include "core/job/Job.h"
#include "pages/presentation/PrintJob.h"

namespace zqar {

CommandOutcome MatrixPage::onPrint() {
    const PrintedMatrix matrix{readSettings().layout.projectDescription, dialog().text(STATUS),
                               arrayList(), singularList(), job.loggerArray.dimensions()};
    return printMatrix(host, matrix, localNow()) ? CommandOutcome::completed()
                                                 : CommandOutcome::cancelled();
}

} // namespace zqar
