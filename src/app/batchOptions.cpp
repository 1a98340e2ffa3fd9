#include "app/batchOptions.h"

namespace zqar {

// Every group, in the order the usage text lists them.
void registerAllOptions(BatchTool &tool) {
    registerPageOptions(tool);
    registerFileOptions(tool);
    registerStatisticsOptions(tool);
    registerQualificationOptions(tool);
    registerIntegrityOptions(tool);
    registerStudyOptions(tool);
    registerAuditOptions(tool);
}

} // namespace zqar
