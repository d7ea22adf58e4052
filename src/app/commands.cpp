#include "app/commands.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <vector>

#include "editor/editing.h"
#include "meters/measurement_panel.h"
#include "model/element_catalogue.h"

namespace wolterix::app {

namespace {

using C = Command;
using I = ToolIcon;
constexpr Qt::Modifier kCtrl = Qt::CTRL;

// The keys are named in the rotation items themselves: Qt's Polish names would read
// "Tabulator". Shift+Tab arrives as Backtab with Shift. Qt tries such a key as Shift+Tab too,
// and the keyboard maps of X11 and Wayland offer Shift+Tab and a bare Backtab, never
// Shift+Backtab: Shift+Tab alone matches everywhere (a second binding would make the key
// ambiguous).
constexpr CommandRow kRows[] = {
    {C::New, "MXnowy", "&Nowy...", "Nowy|Tworzy nowy obszar roboczy", {}, I::New},
    {C::Open, "MXotw", "&Otwórz...",
     "Otwórz|Otwiera istniejący plik Wolterix (schemat elektryczny)", kCtrl | Qt::Key_O, I::Open},
    {C::Recent1, "MXZ1", "", ""},
    {C::Recent2, "MXZ2", "", ""},
    {C::Recent3, "MXZ3", "", ""},
    {C::Recent4, "MXZ4", "", ""},
    {C::Save, "MXzapisz", "&Zapisz", "Zapisz|Zapisuje bieżący plik pod aktualną nazwą",
     kCtrl | Qt::Key_S, I::Save},
    {C::SaveAs,
     "MXzapjako",
     "Z&apisz jako...",
     "Zapisz jako|Zapisuje bieżący plik pod podaną nazwą",
     {},
     I::SaveAs},
    {C::PrintSchematic, "MXdruksch", "&Drukuj schemat...",
     "Drukuj schemat|Wywołuje pole dialogowe drukowania", kCtrl | Qt::Key_D, I::Print},
    {C::ExportPdf,
     "MXpdf",
     "Eksportuj do &PDF...",
     "Eksportuj do PDF|Zapisuje schemat w pliku PDF",
     {},
     I::Pdf},
    {C::Exit, "MXzak", "Za&kończ", "Zakończ|Kończy pracę programu"},

    {C::Undo, "MXcof", "&Cofnij", "Cofnij|Cofa ostatnią zmianę schematu", kCtrl | Qt::Key_Z,
     I::Undo},
    {C::Redo, "MXpon", "&Ponów", "Ponów|Przywraca ostatnią cofniętą zmianę", kCtrl | Qt::Key_Y,
     I::Redo},
    {C::Delete, "MXusun", "&Usuń", "Usuń|Usuwa zaznaczone obiekty", Qt::Key_Delete, I::Delete},
    {C::Cut, "MXwytnij", "Wy&tnij", "Wytnij|Wycina zaznaczone obiekty do schowka",
     kCtrl | Qt::Key_X},
    {C::Copy, "MXkopiuj", "&Kopiuj", "Kopiuj|Kopiuje zaznaczone obiekty do schowka",
     kCtrl | Qt::Key_C},
    {C::Paste, "MXwklej", "Wk&lej", "Wklej|Wkleja obiekty ze schowka", kCtrl | Qt::Key_V},
    {C::SelectAll, "MXzazO", "Zaznacz wszystk&o", "Zaznacz wszystko|Zaznacza wszystkie obiekty",
     kCtrl | Qt::Key_A},
    {C::SelectElements, "MXzazE", "Zaznacz &elementy",
     "Zaznacz elementy|Zaznacza wszystkie elementy"},
    {C::SelectWires, "MXzazP", "Zaznacz &przewody", "Zaznacz przewody|Zaznacza wszystkie przewody"},
    {C::SelectJunctions, "MXzazW", "Zaznacz &węzły", "Zaznacz węzły|Zaznacza wszystkie węzły"},
    {C::NudgeLeft, "MXprzL", "Przesuń w le&wo",
     "Przesuń w lewo|Przesuwa zaznaczone obiekty o jedno pole siatki w lewo", Qt::Key_Left},
    {C::NudgeRight, "MXprzP", "Przesuń w p&rawo",
     "Przesuń w prawo|Przesuwa zaznaczone obiekty o jedno pole siatki w prawo", Qt::Key_Right},
    {C::NudgeUp, "MXprzG", "Przesuń w &górę",
     "Przesuń w górę|Przesuwa zaznaczone obiekty o jedno pole siatki w górę", Qt::Key_Up},
    {C::NudgeDown, "MXprzD", "Przesuń w &dół",
     "Przesuń w dół|Przesuwa zaznaczone obiekty o jedno pole siatki w dół", Qt::Key_Down},

    {C::RotateLeft, "MXobrl", "Obróc w &lewo\tTab",
     "Obróć w lewo|Obraca zaznaczone elementy o 90° w lewo", Qt::Key_Tab, I::RotateLeft},
    {C::RotateRight, "MXobrp", "Obróc w &prawo\tShift+Tab",
     "Obróć w prawo|Obraca zaznaczone elementy o 90° w prawo", Qt::SHIFT | Qt::Key_Tab,
     I::RotateRight},
    {C::Reverse,
     "MXodwroc",
     "O&dwróć",
     "Odwróć|Zamienia miejscami dwie końcówki zaznaczonego elementu",
     {},
     I::Reverse},
    {C::Parameters, "MXparam", "Para&metry...",
     "Parametry|Wywołuje pole dialogowe modyfikacji parametrów zaznaczonego elementu", Qt::Key_F7,
     I::Parameters},
    {C::ToggleName,
     "MXpunaz",
     "Pokaż/ukryj na&zwę",
     "Pokaż/ukryj nazwę|Wyświetla lub ukrywa nazwę zaznaczonych elementów",
     {},
     I::Name},
    {C::ToggleVoltage,
     "MXpuU",
     "Pokaż/ukryj &napięcie",
     "Pokaż/ukryj napięcie|Wyświetla lub ukrywa strzałkę napięcia zaznaczonych elementów",
     {},
     I::Voltage},
    {C::ToggleCurrent,
     "MXpuI",
     "Pokaż/ukryj p&rąd",
     "Pokaż/ukryj prąd|Wyświetla lub ukrywa strzałkę prądu zaznaczonych elementów",
     {},
     I::Current},
    {C::ReverseVoltage,
     "MXzkU",
     "Zmień &kierunek napięcia",
     "Zmień kierunek napięcia|Zmienia kierunek strzałki napięcia zaznaczonych elementów",
     {},
     I::ReverseVoltage},
    {C::ReverseCurrent,
     "MXzkI",
     "Zmień k&ierunek prądu",
     "Zmień kierunek prądu|Zmienia kierunek strzałki prądu zaznaczonych elementów",
     {},
     I::ReverseCurrent},

    {C::Simulate, "MXsymu", "&Symulacja...", "Symulacja|Wywołuje pole dialogowe symulacji",
     Qt::Key_F9, I::Simulate},
    {C::Waveforms, "MXprzeb", "&Przebiegi...",
     "Przebiegi|Wywołuje pole dialogowe wyboru przebiegów i skali", Qt::Key_F11, I::Waveforms},
    {C::Plots, "MXwyk", "&Wykresy...", "Wykresy|Wyświetla wykresy wybranych przebiegów czasowych",
     Qt::Key_F12, I::Plots},
    {C::Topology, "MXtopo", "T&opologia...", "Topologia|Otwiera okienko topologii bieżącego obwodu",
     kCtrl | Qt::Key_T, I::Topology},
    {C::SimulateAndPlot, "MXSiW", "Symulacja+Wyk&resy",
     "Symulacja+Wykresy|Wykonuje symulację przy aktualnych ustawieniach i automatycznie "
     "wyświetla wybrane przebiegi",
     kCtrl | Qt::Key_F9},
    {C::Stepping,
     "MXprzew",
     "Pr&zewijanie",
     "Przewijanie|Pokazuje obwód w wybranej chwili ostatniej symulacji: przewodzące elementy "
     "i drogi prądu, z paskiem przewijania czasu",
     Qt::Key_F6,
     {},
     true},
    {C::InstantValues,
     "MXwartchw",
     "Wartości &chwilowe",
     "Wartości chwilowe|Pokazuje napięcia i prądy elementów w chwili wybranej przewijaniem lub "
     "kursorem wykresu",
     kCtrl | Qt::Key_W,
     {},
     true},
    {C::SampleBack, "MXkrokW", "Próbka wst&ecz", "Próbka wstecz|Cofa chwilę o jedną próbkę",
     kCtrl | Qt::Key_Left},
    {C::SampleForward, "MXkrokN", "Próbka &naprzód",
     "Próbka naprzód|Przesuwa chwilę o jedną próbkę naprzód", kCtrl | Qt::Key_Right},
    {C::PeriodBack, "MXokresW", "O&kres wstecz", "Okres wstecz|Cofa chwilę o jeden okres",
     Qt::CTRL | Qt::SHIFT | Qt::Key_Left},
    {C::PeriodForward, "MXokresN", "Okres n&aprzód",
     "Okres naprzód|Przesuwa chwilę o jeden okres naprzód", Qt::CTRL | Qt::SHIFT | Qt::Key_Right},
    {C::PlayPause, "MXodtw", "O&dtwarzanie / pauza",
     "Odtwarzanie / pauza|Odtwarza przebieg w zwolnionym tempie albo go zatrzymuje",
     kCtrl | Qt::Key_F6},
    {C::MeasurementPanel,
     "MXpanel",
     "Otwórz pa&nel pomiarowy",
     "Pomiar|Otwiera panel pomiarowy",
     {},
     I::Measurement},
    {C::AddVoltmeter,
     "MXdodU",
     "Dodaj &woltomierz",
     nullptr,
     kCtrl | Qt::Key_U,
     {},
     false,
     nullptr,
     &meters::kAddVoltageHint},
    {C::AddAmmeter,
     "MXdodI",
     "Dodaj &amperomierz",
     nullptr,
     kCtrl | Qt::Key_I,
     {},
     false,
     nullptr,
     &meters::kAddCurrentHint},
    {C::AddWattmeter,
     "MXdodP",
     "Dodaj wa&tomierz",
     nullptr,
     kCtrl | Qt::Key_P,
     {},
     false,
     nullptr,
     &meters::kAddPowerHint},
    {C::Measure,
     "MXpom",
     "&Pomiar (Real-Time)...",
     nullptr,
     Qt::Key_F8,
     {},
     false,
     nullptr,
     &meters::kStartHint},
    {C::RepeatMeasurement, "MXpowpom", "P&owtórz pomiar",
     "Powtórz pomiar|Powtarza ostatni pomiar od początku przy aktualnych ustawieniach",
     kCtrl | Qt::Key_F8},
    {C::ContinueMeasurement,
     "MXkont",
     "&Kontynuuj",
     nullptr,
     Qt::Key_F10,
     {},
     false,
     nullptr,
     &meters::kContinueHint},

    {C::BackgroundColour,
     "MXw1",
     "&Kolor tła...",
     "Kolor tła|Zmienia kolor tła schematu",
     Qt::Key_F4,
     {},
     false,
     "Pm1"},
    {C::ShowGrid,
     "MXw2",
     "&Pokaż siatkę",
     "Pokaż siatkę|Wyświetla lub ukrywa siatkę",
     Qt::Key_F5,
     {},
     true,
     "Pm2"},
    {C::Grid16,
     "MXZs16",
     "16 pikseli",
     "Rozmiar siatki|Zmienia rozmiar siatki",
     kCtrl | Qt::Key_1,
     {},
     true,
     "PnSub16"},
    {C::Grid18,
     "MXZs18",
     "18 pikseli",
     "Rozmiar siatki|Zmienia rozmiar siatki",
     kCtrl | Qt::Key_2,
     {},
     true,
     "PnSub18"},
    {C::Grid20,
     "MXZs20",
     "20 pikseli",
     "Rozmiar siatki|Zmienia rozmiar siatki",
     kCtrl | Qt::Key_3,
     {},
     true,
     "PnSub20"},
    {C::Grid22,
     "MXZs22",
     "22 piksele",
     "Rozmiar siatki|Zmienia rozmiar siatki",
     kCtrl | Qt::Key_4,
     {},
     true,
     "PnSub22"},
    {C::Grid24,
     "MXZs24",
     "24 piksele",
     "Rozmiar siatki|Zmienia rozmiar siatki",
     kCtrl | Qt::Key_5,
     {},
     true,
     "PnSub24"},
    {C::Zoom100,
     "MXZs100",
     "100%",
     "Widok|Zmienia powiększenie schematu",
     Qt::CTRL | Qt::SHIFT | Qt::Key_1,
     {},
     true,
     "sub100"},
    {C::Zoom200,
     "MXZs200",
     "200%",
     "Widok|Zmienia powiększenie schematu",
     Qt::CTRL | Qt::SHIFT | Qt::Key_2,
     {},
     true,
     "sub200"},
    {C::Zoom300,
     "MXZs300",
     "300%",
     "Widok|Zmienia powiększenie schematu",
     Qt::CTRL | Qt::SHIFT | Qt::Key_3,
     {},
     true,
     "sub300"},
    {C::Zoom400,
     "MXZs400",
     "400%",
     "Widok|Zmienia powiększenie schematu",
     Qt::CTRL | Qt::SHIFT | Qt::Key_4,
     {},
     true,
     "sub400"},
    {C::ToolPalette,
     "MXw5",
     "Pokaż paletę &narzędzi",
     "Paleta narzędzi|Wyświetla lub ukrywa paletę narzędzi",
     {},
     {},
     true,
     "Pm5"},
    {C::ObjectPalette,
     "MXw6",
     "Pokaż paletę &obiektów",
     "Paleta obiektów|Wyświetla lub ukrywa paletę obiektów",
     {},
     {},
     true,
     "Pm6"},
    {C::StatusBar,
     "MXw7",
     "Pokaż pasek &stanu",
     "Pasek stanu|Wyświetla lub ukrywa pasek stanu",
     {},
     {},
     true,
     "Pm7"},

    {C::ContextHelp, "MXpomoc", "&Pomoc kontekstowa",
     "Pomoc|Wywołuje system pomocy programu Wolterix", Qt::Key_F1, I::Help},
    {C::LastHelpPage, "MXlastp", "Ostatnio używana &strona",
     "Ostatnio używana strona|Otwiera ostatnio czytaną stronę pomocy"},
    {C::HelpTopics, "MXtematy", "&Tematy pomocy", "Tematy pomocy|Otwiera spis tematów pomocy"},
    {C::Questions, "MXpio", "Pytania i odpo&wiedzi",
     "Pytania i odpowiedzi|Odpowiedzi na częste pytania"},
    {C::About,
     "MXabout",
     "&O programie...",
     "O programie|Wyświetla wizytówkę programu",
     {},
     I::About},
};

constexpr bool inOrder() {
  for (std::size_t i = 0; i < std::size(kRows); ++i)
    if (static_cast<std::size_t>(kRows[i].id) != i) return false;
  return std::size(kRows) == static_cast<std::size_t>(Command::Count);
}
static_assert(inOrder(), "one row per command, in the order of the enum");

// The order of the insert menu; its second column starts at the diode.
using K = model::ElementKind;
constexpr model::ElementKind kInsertOrder[] = {
    K::Nap, K::Prd, K::zsN, K::zsP, K::nWe, K::Rez, K::Ind, K::Poj, K::War,
    K::nlL, K::nlC, K::Dio, K::Zen, K::Tyr, K::RCT, K::GTO, K::TrM, K::wyl,
    K::Spr, K::Tf1, K::BJT, K::sDC, K::mmV, K::mmA, K::mmW,
};

std::vector<InsertRow> makeInsertRows() {
  std::vector<InsertRow> rows{
      {editor::kSelectMode, "Nic", "Tryb zaznaczania",
       "Zaznacz, Przesuń|Włącza tryb umożliwiający zaznaczanie i przesuwanie obiektów"},
      {editor::kWireMode, "Lin", "Przewód elektryczny",
       "Przewód elektryczny|Umożliwia wstawienie przewodu elektrycznego"},
      {editor::kJunctionMode, "Wen", "Węzeł elektryczny",
       "Węzeł|Umożliwia wstawienie węzła elektrycznego"},
  };
  // A kind missing from the menu could never be placed.
  for (const model::KindInfo& info : model::allKinds())
    if (std::find(std::begin(kInsertOrder), std::end(kInsertOrder), info.kind) ==
        std::end(kInsertOrder))
      model::unknownKind(info.kind, "the insert menu");
  for (const model::ElementKind kind : kInsertOrder) {
    const model::KindInfo& info = model::kindInfo(kind);
    rows.push_back({static_cast<int>(kind), std::string(info.code), std::string(info.caption),
                    std::string(info.paletteName) + "|" + std::string(info.insertHint)});
  }
  return rows;
}

const ToolButtonRow kToolButtons[] = {
    {C::New, "MSBNowy"},
    {C::Open, "MSBOtworz"},
    {C::SaveAs, "MSBZapJako"},
    {C::Save, "MSBZapisz"},
    {C::PrintSchematic, "MSBDrukuj"},
    {std::nullopt, nullptr},
    {C::Undo, "MSBCofnij"},
    {C::Redo, "MSBPonow"},
    {C::Delete, "MSBUsun"},
    {C::Reverse, "MSBOdwr"},
    {C::RotateLeft, "MSBObrL"},
    {C::RotateRight, "MSBObrP"},
    {C::Parameters, "MSBParam"},
    {C::ToggleName, "MSBpuNaz"},
    {C::ToggleVoltage, "MSBpuU"},
    {C::ToggleCurrent, "MSBpuI"},
    {C::ReverseVoltage, "MSBzkU"},
    {C::ReverseCurrent, "MSBzkI"},
    {std::nullopt, nullptr},
    {C::Simulate, "MSBSym"},
    {C::Waveforms, "MSBPrzeb"},
    {C::Plots, "MSBWyk"},
    {C::MeasurementPanel, "MSBPomiar"},
    {C::Topology, "MSBTopo"},
    {std::nullopt, nullptr},
    {C::About, "MSBAbout"},
    {C::ContextHelp, "MSBPomoc"},
};

}  // namespace

const CommandRow& commandRow(Command command) { return kRows[static_cast<std::size_t>(command)]; }

std::span<const InsertRow> insertRows() {
  static const std::vector<InsertRow> rows = makeInsertRows();
  return rows;
}

std::span<const ToolButtonRow> toolPaletteRows() { return kToolButtons; }

int gridSizeOf(Command command) {
  if (command < C::Grid16 || command > C::Grid24) return 0;
  return 16 + 2 * (static_cast<int>(command) - static_cast<int>(C::Grid16));
}

int zoomOf(Command command) {
  if (command < C::Zoom100 || command > C::Zoom400) return 0;
  return 1 + static_cast<int>(command) - static_cast<int>(C::Zoom100);
}

}  // namespace wolterix::app
