#include "app/examples_menu.h"

#include <QCollator>
#include <QDir>
#include <QLocale>
#include <algorithm>
#include <array>
#include <utility>

namespace wolterix::app {

namespace {
constexpr std::array<std::pair<const char*, const char*>, 17> kTitles{{
    {"cewki.wtx", "Cewki sprzężone"},
    {"czoper.wtx", "Czoper z tyrystorem GTO i diodą zerową"},
    {"dzielnik.wtx", "Dzielnik napięcia z woltomierzem"},
    {"filtr.wtx", "Filtr dolnoprzepustowy RC (transmitancja)"},
    {"filtr2.wtx", "Dwustopniowy filtr RC (transmitancja)"},
    {"mostek.wtx", "Mostek diodowy z obciążeniem RC"},
    {"mostek3f.wtx", "Trójfazowy mostek tyrystorowy"},
    {"pasmowy.wtx", "Filtr pasmowy RLC (transmitancja)"},
    {"prostownik.wtx", "Prostownik jednopołówkowy z kondensatorem"},
    {"rc.wtx", "Obwód RC przy napięciu prostokątnym"},
    {"rlc.wtx", "Szeregowy obwód RLC przy napięciu prostokątnym"},
    {"silnik.wtx", "Rozruch silnika prądu stałego"},
    {"transformator.wtx", "Transformator 230/24 V z obciążeniem"},
    {"tranzystor.wtx", "Stopień z tranzystorem bipolarnym"},
    {"tyrystor.wtx", "Sterowanie fazowe tyrystorem, obciążenie RL"},
    {"wylacznik.wtx", "Łącznik czasowy w obwodzie RL"},
    {"zener.wtx", "Stabilizator z diodą Zenera"},
}};
}  // namespace

QString exampleTitle(const QString& fileName) {
  for (const auto& [file, title] : kTitles)
    if (fileName == QLatin1String(file)) return QString::fromUtf8(title);
  return fileName;
}

std::vector<ExampleFile> examplesIn(const std::filesystem::path& folder) {
  std::vector<ExampleFile> found;
  if (folder.empty()) return found;
  const QDir dir(QString::fromStdString(folder.string()));
  for (const QString& name : dir.entryList({QStringLiteral("*.wtx")}, QDir::Files))
    found.push_back({dir.filePath(name), exampleTitle(name)});
  QCollator polish{QLocale(QLocale::Polish)};
  std::sort(found.begin(), found.end(), [&polish](const ExampleFile& a, const ExampleFile& b) {
    return polish.compare(a.title, b.title) < 0;
  });
  return found;
}

}  // namespace wolterix::app
