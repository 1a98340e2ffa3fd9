#include "presentation/MatrixPage.h"

#include "presentation/PrintJob.h"

namespace zqar {

void MatrixPage::onPrint() { printMatrix(window, localNow()); }

} // namespace zqar
