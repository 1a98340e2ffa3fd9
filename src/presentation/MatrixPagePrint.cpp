#include "presentation/MatrixPage.h"

namespace zqar {

// TODO: the matrix printout (header, then both lists cell by cell) comes with the print job;
// until then the button does nothing.
void MatrixPage::onPrint() {}

} // namespace zqar
