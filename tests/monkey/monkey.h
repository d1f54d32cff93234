// A user clicking and typing at random: every visible window's menu
// commands, buttons, combo and tab choices, text boxes, grid cells, labels
// and keys, time passing on the fake clock, windows resized and closed, and now and then
// another program damaging the open calendar. Each action is chosen from the
// run's generator alone, so a seed replays the same run.
#pragma once
#include <QString>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "monkeyfakes.h"
#include "platform/clock.h"

class QObject;
class QTimer;
class QWidget;

namespace vmtest {

class Monkey {
public:
    Monkey(Rng& rng, vm::FakeClock& clock) : rng_(rng), clock_(clock) {}
    // Something another program does to the files in use (its description).
    std::function<std::string(Rng&)> externalDamage;
    // Object names of commands never chosen (the program's own exit).
    std::vector<QString> excluded;
    // Performs one action and says what it was; `damaged` tells whether it
    // was the outside damage.
    std::string Act(bool& damaged);

private:
    std::vector<QWidget*> Windows() const;
    template <class T>
    std::vector<T*> Find(bool editableOnly = false) const;
    bool Excluded(const QObject* o) const;
    std::string MenuCommand();
    std::string ClickButton();
    std::string ChooseItem();
    std::string TypeText();
    std::string GridAction();
    std::string ClickLabel();
    std::string PressKey();
    std::string TimePasses();
    std::string CloseWindow();
    std::string ResizeWindow();
    void Type(QWidget* box, const std::string& text, std::string& log);

    Rng& rng_;
    vm::FakeClock& clock_;
    std::map<const QTimer*, long long> waited_;  // ms each running timer has waited
};

// "frmPeople/txtName": a widget's window and name, for the action log.
std::string Describe(const QWidget* w);

}  // namespace vmtest
