#include "pages/presentation/SetNavigator.h"

#include "core/analysis/SetList.h"
#include "platform/Dialog.h"
#include "platform/Page.h"
#include "resources/format.h"
#include "resources/strings.h"

namespace zqar {

SetNavigator::SetNavigator(SetList &setList, std::function<void()> showSet)
    : sets(setList), show(std::move(showSet)) {}

void SetNavigator::first() {
    sets.first();
    show();
}

void SetNavigator::previous() {
    if (sets.previous())
        show();
}

void SetNavigator::next() {
    if (sets.next())
        show();
}

void SetNavigator::last() {
    sets.last();
    show();
}

void SetNavigator::moveTo(int index) {
    if (!sets.at(index))
        return;
    sets.currentSet = index;
    show();
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
