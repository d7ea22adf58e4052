#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_messages.h"
#include "cli/manual_page.h"
#include "model/version.h"

namespace wolterix::cli {

namespace {

// CLI11's help frame with Polish labels and group names.
class PolishFormatter : public CLI::Formatter {
 public:
  PolishFormatter() {
    label("Usage", "Użycie");
    label("OPTIONS", "OPCJE");
    label("SUBCOMMAND", "POLECENIE");
    label("SUBCOMMANDS", "POLECENIA");
    label("Positionals", "Argumenty");
    label("REQUIRED", "(wymagane)");
    label("TEXT", "TEKST");
    label("INT", "LICZBA");
    label("UINT", "LICZBA");
    label("FLOAT", "LICZBA");
  }
  std::string make_group(std::string group, bool isPositional,
                         std::vector<const CLI::Option*> options) const override {
    if (group == "Options") group = "Opcje";
    return CLI::Formatter::make_group(std::move(group), isPositional, std::move(options));
  }
};

// Whole-number options check their own range, so that a wrong value reads in Polish.
CLI::Validator wholeNumber(int min, int max) {
  return CLI::Validator(
      [min, max](std::string& text) -> std::string {
        int value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec == std::errc() && end == text.data() + text.size() && value >= min && value <= max)
          return {};
        return std::string(messages::kWholeNumber) + std::to_string(min) + " do " +
               std::to_string(max) + std::string(messages::kGiven) + text;
      },
      "");
}

CLI::Validator oneOf(std::vector<int> allowed) {
  return CLI::Validator(
      [allowed](std::string& text) -> std::string {
        int value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec == std::errc() && end == text.data() + text.size())
          for (int a : allowed)
            if (a == value) return {};
        std::string list;
        for (int a : allowed) list += (list.empty() ? "" : ", ") + std::to_string(a);
        return std::string(messages::kOneOf) + list + std::string(messages::kGiven) + text;
      },
      "");
}

// The subcommand the arguments reached, or the program itself.
const CLI::App& activeCommand(const CLI::App& app) {
  const CLI::App* active = &app;
  for (auto subcommands = active->get_subcommands(); !subcommands.empty();
       subcommands = active->get_subcommands())
    active = subcommands.front();
  return *active;
}

// CLI11's own texts are English; the error's kind and the option it names make a Polish one.
void reportParseError(const CLI::App& app, const CLI::ParseError& error, std::ostream& err) {
  const CLI::App& command = activeCommand(app);
  const std::string what = error.what();
  // The longest option name of the command that the error's text mentions.
  const auto mentioned = [&]() -> std::string {
    std::string best;
    for (const CLI::Option* option : command.get_options()) {
      const std::string name = option->get_name();
      if (!name.empty() && name.size() > best.size() && what.find(name) != std::string::npos)
        best = name;
    }
    return best;
  };

  // Words the parser could not place: at the top they stand where a command should.
  const bool unplaced = !app.remaining(true).empty();
  if (dynamic_cast<const CLI::RequiredError*>(&error) && !(&command == &app && unplaced)) {
    if (&command == &app) {
      err << messages::kNoCommand << '\n';
    } else {
      bool reported = false;
      for (const CLI::Option* option : command.get_options()) {
        if (!option->get_required() || option->count() > 0) continue;
        err << (option->get_positional() ? messages::kMissingArgument : messages::kMissingOption)
            << option->get_name() << " (" << command.get_name() << ").\n";
        reported = true;
        break;
      }
      if (!reported) err << messages::kBadCall << '\n';
    }
  } else if (dynamic_cast<const CLI::ExtrasError*>(&error) || unplaced) {
    std::vector<std::string> extras = app.remaining(true);
    if (extras.empty()) extras.push_back("?");
    for (const std::string& extra : extras) {
      if (!extra.empty() && extra.front() == '-')
        err << messages::kUnknownOption << extra << '\n';
      else if (&command == &app)
        err << messages::kUnknownCommand << extra << '\n';
      else
        err << messages::kExtraArgument << extra << '\n';
    }
  } else if (dynamic_cast<const CLI::ValidationError*>(&error)) {
    // "--samples: <the Polish text of the validators above>"
    err << messages::kBadValue << what << '\n';
  } else if (dynamic_cast<const CLI::ConversionError*>(&error)) {
    const std::string name = mentioned();
    err << messages::kBadValue << (name.empty() ? "?" : name) << ".\n";
  } else if (dynamic_cast<const CLI::ArgumentMismatch*>(&error)) {
    const std::string name = mentioned();
    err << messages::kValueCount << (name.empty() ? "?" : name) << ".\n";
  } else {
    err << messages::kBadCall << '\n';
  }
  err << messages::kHelpHint << '\n';
}

// The file and time-run options: the simulated time, the iterations and the sample count.
template <class Options>
void addTimeRunOptions(CLI::App& command, Options& options) {
  command.add_option("PLIK", options.path, "Plik schematu (.wtx)")->required();
  command.add_option("--time", options.timeText,
                     "Czas symulacji w sekundach, liczba inżynierska (np. 20m, 1,5)");
  command
      .add_option("--iterations", options.iterations,
                  "Ilość iteracji k: 2^k kroków na próbkę (0..6)")
      ->check(wholeNumber(0, 6))
      ->default_val(0);
  command
      .add_option("--samples", options.samples,
                  "Liczba odcinków N (próbki 0..N; dla transmitancji punkty 0..N)")
      ->check(wholeNumber(1, 1000000))
      ->default_val(944);
}

// The options simulate and plot share: those of a time run and the frequency range.
template <class Options>
void addRunOptions(CLI::App& command, Options& options) {
  addTimeRunOptions(command, options);
  command.add_option("--from", options.fromText, "Transmitancja: częstotliwość początkowa [Hz]");
  command.add_option("--to", options.toText, "Transmitancja: częstotliwość końcowa [Hz]");
}

void splitWaves(const std::string& waves, std::vector<std::string>& into) {
  std::size_t start = 0;
  while (!waves.empty() && start <= waves.size()) {
    const std::size_t comma = waves.find(',', start);
    const std::size_t end = comma == std::string::npos ? waves.size() : comma;
    if (end > start) into.push_back(waves.substr(start, end - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
}

int parseAndRun(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                const RunControl& control) {
  CLI::App app{
      "Wolterix - symulator obwodów elektrycznych i energoelektronicznych (wiersz poleceń).\n"
      "Pliki schematów (.wtx) tworzy i zapisuje program wolterix.",
      "wolterix-cli"};
  // Set before the subcommands are made: they take the help flag and formatter from here.
  app.formatter(std::make_shared<PolishFormatter>());
  app.set_help_flag("-h,--help", "Wyświetla tę pomoc i kończy");
  app.set_version_flag("--version", "wolterix-cli " + std::string(model::programVersion()),
                       "Wyświetla wersję programu i kończy");
  app.group("Polecenia");
  app.footer(
      "Kody wyjścia: 0 sukces, 1 błąd wywołania lub pliku, 2 błędy sprawdzenia schematu,\n"
      "3 niepołączony element lub grupa elementów, 4 fatalny błąd symulacji, 130 przerwano "
      "(Ctrl+C).");
  app.require_subcommand(1);

  std::string listPath;
  auto* list = app.add_subcommand("list",
                                  "Wypisuje elementy schematu z parametrami, "
                                  "potem liczbę przewodów i węzłów");
  list->add_option("PLIK", listPath, "Plik schematu (.wtx)")->required();

  std::string topologyPath;
  auto* topology = app.add_subcommand(
      "topology", "Wypisuje topologię: dla każdego elementu numery węzłów jego końcówek");
  topology->add_option("PLIK", topologyPath, "Plik schematu (.wtx)")->required();

  SimulateOptions sim;
  std::string waves;
  auto* simulate = app.add_subcommand(
      "simulate",
      "Symulacja czasowa (--time) albo badanie transmitancji (--from, --to), zależnie od\n"
      "rodzaju schematu. Wynik jako CSV: kolumna t [s], potem jedna kolumna na przebieg;\n"
      "dla transmitancji kolumna f [Hz], potem dla każdego K(...) kolumny .re, .im, .dB, .deg.\n"
      "Wyniki muszą się zmieścić w 1 GB pamięci (albo w połowie pamięci komputera, gdy to mniej).");
  addRunOptions(*simulate, sim);
  simulate->add_option("--waves", waves,
                       "Przebiegi rozdzielone przecinkami, np. U(R1),I(L1) "
                       "(domyślnie wszystkie)");
  simulate->add_option("--out", sim.outPath, "Plik CSV (domyślnie standardowe wyjście)");
  simulate->add_flag("--stats", sim.stats,
                     "Wypisuje na stderr liczniki: węzły, gałęzie, kroki, rozwiązania, "
                     "faktoryzacje, czas [ms], kroki na sekundę");

  MeasureOptions measureOptions;
  auto* measure = app.add_subcommand(
      "measure",
      "Pomiar (Real-Time): symulacja okres po okresie, po ostatnim okresie jeden wiersz na\n"
      "miernik: przebieg, wskazanie (TRMS, AV, DC, ...), wartość, wskazanie wyświetlacza z\n"
      "jednostką.");
  measure->add_option("PLIK", measureOptions.path, "Plik schematu (.wtx)")->required();
  measure
      ->add_option("--freq", measureOptions.frequencyText,
                   "Częstotliwość cyklu pomiarowego [Hz], liczba inżynierska (np. 50, 1k)")
      ->required();
  measure->add_option("--cycles", measureOptions.cyclesText, "Ilość cykli (liczba całkowita >= 1)")
      ->required();
  measure
      ->add_option("--iterations", measureOptions.iterations,
                   "Ilość iteracji k: 2^k kroków na próbkę (0..6)")
      ->check(wholeNumber(0, 6))
      ->default_val(0);
  measure->add_option("--samples", measureOptions.samples, "Liczba odcinków N na okres")
      ->check(wholeNumber(1, 1000000))
      ->default_val(944);
  measure
      ->add_option("--meter", measureOptions.meters,
                   "Miernik: U(nazwa), I(nazwa) lub P(nazwa), opcjonalnie ze wskazaniem.\n"
                   "Napięcie i prąd: :rms (wartość skuteczna, domyślnie), :avg (średnia\n"
                   "prostowana), :dc (średnia), :peak (szczytowa), :pp (międzyszczytowa),\n"
                   ":h1 (skuteczna podstawowej harmonicznej), :thd (THD [%]), :cf (wsp.\n"
                   "szczytu), :ff (wsp. kształtu), :ripple (wsp. tętnień).\n"
                   "Moc: :p albo :dc (czynna, domyślnie), :s (pozorna [VA]), :q (bierna\n"
                   "podstawowej harmonicznej [var]), :pf (wsp. mocy P/S), :cosphi (cos φ1)")
      ->required();

  HarmonicsOptions harmonicsOptions;
  auto* harmonicsCommand = app.add_subcommand(
      "harmonics",
      "Harmoniczne przebiegu z symulacji czasowej, liczone z ostatnich pełnych okresów\n"
      "częstotliwości podstawowej: wiersz na rząd (rząd, f [Hz], wartość skuteczna, % "
      "podstawowej,\n"
      "faza [°] w postaci sinusowej), potem THD [%] (względem podstawowej), RMS i DC");
  addTimeRunOptions(*harmonicsCommand, harmonicsOptions);
  harmonicsCommand->add_option("--wave", harmonicsOptions.wave, "Przebieg, np. I(E1)")->required();
  harmonicsCommand->add_option(
      "--fundamental", harmonicsOptions.fundamentalText,
      "Częstotliwość podstawowa [Hz] (domyślnie pierwszego źródła sinusoidalnego, bez niego "
      "innego źródła okresowego, a bez tego tyrystora, GTO lub tranzystora mocy)");
  harmonicsCommand
      ->add_option("--count", harmonicsOptions.count, "Liczba harmonicznych (1..100, domyślnie 40)")
      ->check(wholeNumber(1, 100))
      ->default_val(40);
  harmonicsCommand
      ->add_option("--periods", harmonicsOptions.periods,
                   "Liczba ostatnich okresów do analizy (domyślnie wszystkie pełne okresy)")
      ->check(wholeNumber(0, 1000000))
      ->default_val(0);

  ConductionOptions conductionOptions;
  auto* conductionCommand = app.add_subcommand(
      "conduction",
      "Przedziały przewodzenia elementów przełączających (diody, tyrystory, GTO, tranzystory,\n"
      "łącznik) z symulacji czasowej: wiersz na przedział (nazwa, początek [s], koniec [s],\n"
      "z --fundamental także kąt przewodzenia [°]); \"-\" gdy element nie przewodzi");
  addTimeRunOptions(*conductionCommand, conductionOptions);
  conductionCommand->add_option("--fundamental", conductionOptions.fundamentalText,
                                "Częstotliwość [Hz], której stopnie podaje kąt przewodzenia");

  RenderOptions render;
  auto* renderCommand = app.add_subcommand(
      "render",
      "Rysuje schemat do pliku SVG tak, jak na wydruku (bez siatki, tylko pokazane\n"
      "nazwy i strzałki)");
  renderCommand->add_option("PLIK", render.path, "Plik schematu (.wtx)")->required();
  renderCommand->add_option("--svg", render.svgPath, "Plik SVG do zapisania")->required();
  renderCommand->add_option("--grid", render.grid, "Rozmiar siatki w pikselach (16..24, parzysty)")
      ->check(oneOf({16, 18, 20, 22, 24}))
      ->default_val(20);
  renderCommand->add_option("--zoom", render.zoom, "Powiększenie (1..4)")
      ->check(wholeNumber(1, 4))
      ->default_val(1);
  renderCommand->add_option(
      "--at", render.atText,
      "Chwila symulacji czasowej [s]: obwód w tej chwili, z przewodzącymi elementami i\n"
      "przewodami, którymi płynie prąd, wyróżnionymi, i napięciem i prądem obok elementów");
  renderCommand->add_option("--time", render.timeText, "Z --at: czas symulacji [s]");
  renderCommand
      ->add_option("--iterations", render.iterations,
                   "Z --at: ilość iteracji k: 2^k kroków na próbkę (0..6)")
      ->check(wholeNumber(0, 6))
      ->default_val(0);
  renderCommand->add_option("--samples", render.samples, "Z --at: liczba odcinków N")
      ->check(wholeNumber(1, 1000000))
      ->default_val(944);

  PlotOptions plotOptions;
  std::string plotWaves;
  auto* plotCommand = app.add_subcommand(
      "plot",
      "Rysuje wykres przebiegów do pliku SVG, jak w oknie wykresów: przebiegi czasowe\n"
      "(--time) albo transmitancję (--from, --to), z legendą i opisami osi");
  addRunOptions(*plotCommand, plotOptions);
  plotCommand->add_option("--waves", plotWaves,
                          "Przebiegi rozdzielone przecinkami, najwyżej 6, np. U(R1),I(R1) "
                          "(domyślnie pierwsze 6)");
  plotCommand->add_option("--svg", plotOptions.svgPath, "Plik SVG do zapisania")->required();
  plotCommand->add_option("--size", plotOptions.sizeText,
                          "Rozmiar obrazu w pikselach SZEROKOŚĆxWYSOKOŚĆ (domyślnie 1600x900)");
  plotCommand->add_option("--background", plotOptions.background,
                          "Tło wykresu: white albo black (domyślnie white)");
  plotCommand->add_option("--axes", plotOptions.axesText,
                          "Wielkości opisane na osi lewej i prawej, np. U,I (U, I, n, P)");
  plotCommand->add_option("--kind", plotOptions.kind,
                          "Transmitancja: magnitude (moduł w dB), angle (faza) albo complex\n"
                          "(płaszczyzna zespolona); domyślnie magnitude");
  plotCommand
      ->add_option("--db-span", plotOptions.dbSpan,
                   "Transmitancja: zakres modułu w dB (5, 10, 30, 60, 120 albo 240)")
      ->check(oneOf({5, 10, 30, 60, 120, 240}))
      ->default_val(60);

  // --help and --version print and end, unless the output cannot be written.
  const auto printAndEnd = [&out, &err](const std::string& text) {
    out << text;
    out.flush();
    if (!out) {
      err << messages::kCannotWriteStdout << '\n';
      return static_cast<int>(kUsageOrFileError);
    }
    return static_cast<int>(kSuccess);
  };
  // Hidden, for the build: the manual page from the same descriptions as --help.
  if (argc == 2 && std::string_view(argv[1]) == "--manual-page")
    return printAndEnd(manualPage(app, model::programVersion()));
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    return printAndEnd(app.help());
  } catch (const CLI::CallForVersion& version) {
    return printAndEnd(std::string(version.what()) + '\n');
  } catch (const CLI::ParseError& e) {
    reportParseError(app, e, err);
    return kUsageOrFileError;
  }

  if (list->parsed()) return listSchematic(listPath, out, err);
  if (topology->parsed()) return showTopology(topologyPath, out, err);
  if (measure->parsed()) return wolterix::cli::measure(measureOptions, out, err, control);
  if (renderCommand->parsed()) return wolterix::cli::render(render, err, control);
  if (conductionCommand->parsed())
    return wolterix::cli::conduction(conductionOptions, out, err, control);
  if (harmonicsCommand->parsed())
    return wolterix::cli::harmonics(harmonicsOptions, out, err, control);
  if (plotCommand->parsed()) {
    splitWaves(plotWaves, plotOptions.waves);
    return wolterix::cli::plot(plotOptions, err, control);
  }
  if (simulate->parsed()) {
    splitWaves(waves, sim.waves);
    return wolterix::cli::simulate(sim, out, err, control);
  }
  return kSuccess;
}

}  // namespace

int runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                   const RunControl& control) {
  try {
    return parseAndRun(argc, argv, out, err, control);
  } catch (const std::bad_alloc&) {
    err << messages::kOutOfMemory << '\n';
  } catch (...) {
    err << messages::kUnexpected << '\n';
  }
  return kUsageOrFileError;
}

}  // namespace wolterix::cli
