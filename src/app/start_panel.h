#pragma once
/// The start panel: the program's icon, name and version over "S T A R T".

#include <functional>

class QWidget;

namespace wolterix::app {

QWidget* createStartPanel(QWidget* parent, const std::function<void()>& onStart);

}  // namespace wolterix::app
