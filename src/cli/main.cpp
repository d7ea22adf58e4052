#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

#include "cli/commands.h"

int main(int argc, char** argv) {
  CLI::App app{"Wolterix - symulator obwodów elektrycznych (wiersz poleceń)", "wolterix-cli"};
  app.require_subcommand(1);

  std::string listPath;
  auto* list = app.add_subcommand("list", "Wypisuje elementy schematu z parametrami");
  list->add_option("FILE", listPath, "Plik schematu (.wtx)")->required();

  CLI11_PARSE(app, argc, argv);

  if (list->parsed()) return wolterix::cli::listSchematic(listPath, std::cout, std::cerr);
  return 0;
}
