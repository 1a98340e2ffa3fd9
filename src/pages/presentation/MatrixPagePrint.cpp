#include "pages/presentation/MatrixPage.h"

#include "pages/presentation/PrintJob.h"

namespace zqar {

CommandOutcome MatrixPage::onPrint() {
    return printMatrix(window, localNow()) ? CommandOutcome::completed()
                                           : CommandOutcome::cancelled();
}

} // namespace zqar
