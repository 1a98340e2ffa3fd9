#include "presentation/MatrixPage.h"

#include "presentation/PrintJob.h"

namespace zqar {

CommandOutcome MatrixPage::onPrint() {
    return printMatrix(window, localNow()) ? CommandOutcome::completed()
                                           : CommandOutcome::cancelled();
}

} // namespace zqar
