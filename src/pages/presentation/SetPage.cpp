#include "pages/presentation/SetPage.h"

namespace zqar {

SetPage::SetPage(int templateId, Job &theJob, platform::Host &theHost,
                 std::function<JobSettings()> settingsReader)
    : Page(templateId), job(theJob), host(theHost), navigator(theJob, [this] { showCurrentSet(); }),
      readSettings(std::move(settingsReader)) {
    navigator.bindButtons(*this);
}

void SetPage::disableNavigation() {
    if (isCreated())
        SetNavigator::disableButtons(dialog());
}

} // namespace zqar
