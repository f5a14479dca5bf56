#pragma once

// What is wrong with a laid-out widget tree: a child outside its parent, a label whose
// text does not fit its box, a widget squeezed under its least size. One line per fault.

#include <string>
#include <vector>

class QWidget;

namespace TestSupport {

std::vector<std::string> layoutFaults(const QWidget* root);
// A widget's class, text and geometry, for messages.
std::string describe(const QWidget* widget);
// The lines of `faults`, one per line, for a failure message.
std::string joined(const std::vector<std::string>& faults);

}  // namespace TestSupport
