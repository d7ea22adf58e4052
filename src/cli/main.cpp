#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

#include "cli/commands.h"

int main(int argc, char** argv) {
  CLI::App app{
      "Wolterix - symulator obwodów elektrycznych i energoelektronicznych (wiersz poleceń).\n"
      "Pliki schematów (.wtx) tworzy i zapisuje program wolterix.",
      "wolterix-cli"};
  app.require_subcommand(1);

  std::string listPath;
  auto* list = app.add_subcommand("list", "Wypisuje elementy schematu z parametrami, "
                                          "potem liczbę przewodów i węzłów");
  list->add_option("FILE", listPath, "Plik schematu (.wtx)")->required();

  std::string topologyPath;
  auto* topology = app.add_subcommand(
      "topology", "Wypisuje topologię: dla każdego elementu numery węzłów jego końcówek");
  topology->add_option("FILE", topologyPath, "Plik schematu (.wtx)")->required();

  wolterix::cli::SimulateOptions sim;
  std::string waves;
  auto* simulate = app.add_subcommand(
      "simulate",
      "Symulacja czasowa (--time) albo badanie transmitancji (--from, --to), zależnie od\n"
      "rodzaju schematu. Wynik jako CSV: kolumna t [s], potem jedna kolumna na przebieg;\n"
      "dla transmitancji kolumna f [Hz], potem dla każdego K(...) kolumny .re, .im, .dB, .deg.\n"
      "Kody wyjścia: 0 sukces, 1 błąd wywołania lub pliku, 2 błędy sprawdzenia schematu,\n"
      "3 niepołączony element lub grupa elementów, 4 fatalny błąd symulacji.");
  simulate->add_option("FILE", sim.path, "Plik schematu (.wtx)")->required();
  simulate->add_option("--time", sim.timeText,
                       "Czas symulacji w sekundach, liczba inżynierska (np. 20m, 1,5)");
  simulate->add_option("--from", sim.fromText, "Transmitancja: częstotliwość początkowa [Hz]");
  simulate->add_option("--to", sim.toText, "Transmitancja: częstotliwość końcowa [Hz]");
  simulate->add_option("--iterations", sim.iterations,
                       "Ilość iteracji k: 2^k kroków na próbkę (0..6)")
      ->check(CLI::Range(0, 6))
      ->default_val(0);
  simulate->add_option("--samples", sim.samples,
                       "Liczba odcinków N (próbki 0..N; dla transmitancji punkty 0..N)")
      ->check(CLI::Range(1, 1000000))
      ->default_val(944);
  simulate->add_option("--waves", waves,
                       "Przebiegi rozdzielone przecinkami, np. U(R1),I(L1) "
                       "(domyślnie wszystkie)");
  simulate->add_option("--out", sim.outPath, "Plik CSV (domyślnie standardowe wyjście)");
  simulate->add_flag("--stats", sim.stats,
                     "Wypisuje na stderr liczniki: węzły, gałęzie, kroki, rozwiązania, "
                     "faktoryzacje, czas [ms], kroki na sekundę");

  wolterix::cli::MeasureOptions measureOptions;
  auto* measure = app.add_subcommand(
      "measure",
      "Pomiar (Real-Time): symulacja okres po okresie, po ostatnim okresie jeden wiersz na\n"
      "miernik: przebieg, wskazanie (TRMS, AV, DC), wartość, wskazanie wyświetlacza z jednostką.\n"
      "Kody wyjścia jak dla simulate.");
  measure->add_option("FILE", measureOptions.path, "Plik schematu (.wtx)")->required();
  measure->add_option("--freq", measureOptions.frequencyText,
                      "Częstotliwość cyklu pomiarowego [Hz], liczba inżynierska (np. 50, 1k)")
      ->required();
  measure->add_option("--cycles", measureOptions.cyclesText, "Ilość cykli (liczba całkowita >= 1)")
      ->required();
  measure->add_option("--iterations", measureOptions.iterations,
                      "Ilość iteracji k: 2^k kroków na próbkę (0..6)")
      ->check(CLI::Range(0, 6))
      ->default_val(0);
  measure->add_option("--samples", measureOptions.samples, "Liczba odcinków N na okres")
      ->check(CLI::Range(1, 1000000))
      ->default_val(944);
  measure->add_option("--meter", measureOptions.meters,
                      "Miernik: U(nazwa), I(nazwa) lub P(nazwa), opcjonalnie :rms (wartość\n"
                      "skuteczna), :avg (średnia prostowana), :dc (średnia); moc tylko :dc")
      ->required();

  wolterix::cli::RenderOptions render;
  auto* renderCommand = app.add_subcommand(
      "render", "Rysuje schemat do pliku SVG tak, jak na wydruku (bez siatki, tylko pokazane\n"
                "nazwy i strzałki)");
  renderCommand->add_option("FILE", render.path, "Plik schematu (.wtx)")->required();
  renderCommand->add_option("--svg", render.svgPath, "Plik SVG do zapisania")->required();
  renderCommand->add_option("--grid", render.grid, "Rozmiar siatki w pikselach (16..24, parzysty)")
      ->check(CLI::IsMember({16, 18, 20, 22, 24}))
      ->default_val(20);
  renderCommand->add_option("--zoom", render.zoom, "Powiększenie (1..4)")
      ->check(CLI::Range(1, 4))
      ->default_val(1);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // --help answers 0; every faulty call gets the program's usage error code.
    const int code = app.exit(e);
    return code == 0 ? 0 : wolterix::cli::kUsageOrFileError;
  }

  if (list->parsed()) return wolterix::cli::listSchematic(listPath, std::cout, std::cerr);
  if (topology->parsed()) return wolterix::cli::showTopology(topologyPath, std::cout, std::cerr);
  if (measure->parsed()) return wolterix::cli::measure(measureOptions, std::cout, std::cerr);
  if (renderCommand->parsed()) return wolterix::cli::render(render, std::cerr);
  if (simulate->parsed()) {
    std::size_t start = 0;
    while (!waves.empty() && start <= waves.size()) {
      const std::size_t comma = waves.find(',', start);
      const std::size_t end = comma == std::string::npos ? waves.size() : comma;
      if (end > start) sim.waves.push_back(waves.substr(start, end - start));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    return wolterix::cli::simulate(sim, std::cout, std::cerr);
  }
  return 0;
}
