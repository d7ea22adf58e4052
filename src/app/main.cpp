#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>
#include <exception>
#include <iostream>
#include <string_view>

#include "app/main_window.h"
#include "app/tool_icons.h"
#include "model/version.h"

int main(int argc, char* argv[]) {
  // Answered before any window or display is needed.
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::cout << "Wolterix " << wolterix::model::programVersion() << '\n';
    return 0;
  }
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Dorek"));
  QApplication::setApplicationName(QStringLiteral("Wolterix"));
  QLocale::setDefault(QLocale(QLocale::Polish));
  QApplication::setWindowIcon(wolterix::app::programIcon());

  // Qt's own buttons ("Tak", "Nie", "Anuluj") in Polish.
  QTranslator qtTranslator;
  if (qtTranslator.load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTranslator);

  try {
    wolterix::app::TForm1 window;
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) {
      // A file named on the command line opens straight away, past the start screen.
      window.showMaximized();
      window.openFile(args.at(1));
    } else {
      window.showStartScreen();
      window.show();
    }
    // Schematics of windows that did not close are offered once the window shows.
    QTimer::singleShot(0, &window, [&window] { window.offerRecovery(); });
    return QApplication::exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QStringLiteral("Wolterix"), QString::fromUtf8(e.what()));
    return 1;
  }
}
