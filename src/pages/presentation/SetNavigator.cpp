#include "pages/presentation/SetNavigator.h"

#include "core/job/Job.h"
#include "platform/Dialog.h"
#include "platform/Page.h"
#include "resources/format.h"
#include "resources/strings.h"

namespace zqar {

SetNavigator::SetNavigator(Job &theJob, std::function<void()> showSet)
    : job(theJob), sets(theJob.setList), show(std::move(showSet)) {}

void SetNavigator::moved(int before) {
    show();
    if (sets.currentSet != before)
        job.changed(JobChange::CURRENT_SET);
}

void SetNavigator::first() {
    const int before = sets.currentSet;
    sets.first();
    moved(before);
}

void SetNavigator::previous() {
    const int before = sets.currentSet;
    if (sets.previous())
        moved(before);
}

void SetNavigator::next() {
    const int before = sets.currentSet;
    if (sets.next())
        moved(before);
}

void SetNavigator::last() {
    const int before = sets.currentSet;
    sets.last();
    moved(before);
}

void SetNavigator::moveTo(int index) {
    if (!sets.at(index))
        return;
    const int before = sets.currentSet;
    sets.currentSet = index;
    moved(before);
}

void SetNavigator::disableButtons(platform::Dialog &page) {
    for (int id : {FIRST, PREVIOUS, NEXT, LAST})
        page.setEnabled(id, false);
}

void SetNavigator::bindButtons(platform::Page &page) {
    page.bind(FIRST, [this] { first(); });
    page.bind(PREVIOUS, [this] { previous(); });
    page.bind(NEXT, [this] { next(); });
    page.bind(LAST, [this] { last(); });
}

void SetNavigator::enableButtons(platform::Dialog &page) const {
    const int n = sets.count();
    const int current = sets.currentSet;
    page.setEnabled(FIRST, n > 1);
    page.setEnabled(PREVIOUS, current > 0);
    page.setEnabled(NEXT, current < n - 1);
    page.setEnabled(LAST, n > 1);
}

bool SetNavigator::showStatus(platform::Dialog &page) const {
    const TemperatureSet *set = sets.current();
    if (!set) {
        page.setText(STATUS, text::NO_DATA);
        return false;
    }
    page.setText(STATUS,
                 text::format(text::SET_POSITION, sets.currentSet + 1, sets.count(), set->title()));
    return true;
}

bool SetNavigator::hasSets() const { return sets.count() > 0; }

} // namespace zqar
