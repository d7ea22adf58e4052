#include "cli/manual_page.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SmallProgram {
  CLI::App app{"Prog - liczy rzeczy.\nDruga linia opisu.", "prog"};
  std::string path, time, hidden;
  int samples = 0;
  bool stats = false;
  SmallProgram() {
    app.set_help_flag("-h,--help", "Pomoc");
    app.footer("Kody wyjścia: 0 sukces, 1 błąd wywołania, 2 błędy, 130 przerwano (Ctrl+C).");
    auto* run = app.add_subcommand("run", "Uruchamia.\n.kropka na początku wiersza");
    run->add_option("PLIK", path, "Plik schematu")->required();
    run->add_option("--time", time, "Czas C:\\x")->required();
    run->add_option("--samples", samples, "Liczba odcinków")->default_val(944);
    run->add_flag("--with-stats", stats, "Liczniki");
    run->add_option("--secret", hidden, "Ukryta")->group("");
  }
};

}  // namespace

TEST(ManualPage, EveryCommandAndOptionWithItsDescription) {
  SmallProgram program;
  const std::string page = wolterix::cli::manualPage(program.app, "2.0");
  EXPECT_EQ(page.rfind("'\\\" -*- coding: UTF-8 -*-\n.TH PROG 1 \"\" \"Wolterix 2.0\"\n", 0), 0u)
      << page;
  EXPECT_NE(page.find(".SH NAME\nprog \\- liczy rzeczy\n"), std::string::npos) << page;
  EXPECT_NE(page.find("\\fBprog run\\fR \\fIPLIK\\fR \\fB\\-\\-time\\fR \\fITEXT\\fR "
                      "[\\fB\\-\\-samples\\fR \\fIINT\\fR] [\\fB\\-\\-with\\-stats\\fR]\n"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find(".SS run\nUruchamia.\n\\&.kropka"), std::string::npos) << page;
  EXPECT_NE(page.find(".TP\n\\fB\\-\\-time\\fR \\fITEXT\\fR\nCzas C:\\ex\n"), std::string::npos)
      << page;
  EXPECT_NE(page.find("Liczba odcinków\n(domyślnie 944)\n"), std::string::npos) << page;
  EXPECT_EQ(page.find("secret"), std::string::npos);
  EXPECT_NE(page.find(".SH EXIT STATUS\n.TP\n\\fB0\\fR\nsukces\n.TP\n\\fB1\\fR\nbłąd wywołania\n"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find(".TP\n\\fB130\\fR\nprzerwano (Ctrl+C)\n"), std::string::npos) << page;
}
