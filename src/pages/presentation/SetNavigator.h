#pragma once
// The set buttons "1", "<<", ">>" and "L" and the set status line, as the Matrix and Graph
// pages both show them (their templates give them the same ids). Each page owns one; moving
// to another set calls the page's show function, so the page redraws what it shows, and then
// the job tells its listeners that the current set moved.

#include "resources/controlIds.h"

#include <functional>

namespace zqar {

class Job;
class SetList;

namespace platform {
class Dialog;
class Page;
} // namespace platform

class SetNavigator : public NavigationControls {
public:
    SetNavigator(Job &job, std::function<void()> show);

    void first();
    void previous();
    void next();
    void last();
    // Makes the set at index current (an index outside the list is left alone) and shows it.
    void moveTo(int index);

    // Puts the four buttons' commands into the page's message table.
    void bindButtons(platform::Page &page);
    // Enables the four buttons for the current position in the list.
    void enableButtons(platform::Dialog &page) const;
    static void disableButtons(platform::Dialog &page);
    // "n of m  title" for the current set, or that there is none. Answers whether there is.
    bool showStatus(platform::Dialog &page) const;
    bool hasSets() const;

private:
    void moved(int before);

    Job &job;
    SetList &sets;
    std::function<void()> show;
};

} // namespace zqar
