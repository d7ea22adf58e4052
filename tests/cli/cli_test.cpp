#include <gtest/gtest.h>

#include <sstream>

#include "cli/commands.h"

namespace {

TEST(CliList, PrintsDisplayFormsAndCounts) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = wolterix::cli::listSchematic(WOLTERIX_TEST_DATA "/list.wtx", out, err);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(out.str(),
            "E1 { sinusoidalne; E=230; Rw=0; f=50; faza=0; }\n"
            "R1 { R=10k; }\n"
            "Ł1 { on; switch:1m; }\n"
            "Przewody: 2\n"
            "Węzły: 1\n");
}

TEST(CliList, UnreadableFileIsAnError) {
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(wolterix::cli::listSchematic(WOLTERIX_TEST_DATA "/does-not-exist.wtx", out, err), 1);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("Plik nie istnieje."), std::string::npos);
}

}  // namespace
