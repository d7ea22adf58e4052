// The help window on the selected element's page and on the dialogs' "Pomoc".

#include "app/main_window.h"
#include "help/help_topics.h"
#include "help/help_window.h"
#include "model/element.h"

namespace wolterix::app {

std::function<void(int)> TForm1::helpOnTopic() {
  return [this](int topic) { m_help->showTopic(QStringLiteral("@#%1").arg(topic)); };
}

void TForm1::contextHelp() {
  const model::Element* element = m_editor.selectedElement();
  const int topic = element ? help::topicOfKind(element->kind()) : 0;
  if (topic > 0) {
    m_help->showTopic(QStringLiteral("@#%1").arg(topic));
  } else {
    m_help->showContents();
  }
}

}  // namespace wolterix::app
