// The real tarnix executable, run in a temporary directory: transcript, result file, exit status.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "support/run_tarnix.h"

namespace tarnix_test {
namespace {

const char kPrompt[] = " Hit [1][Enter] to quit :";

// 5001 points from 20 to 120 degrees in steps of 0.02: a broad peak on a flat background.
std::string SmoothPattern() {
  std::string text = "synthetic scan\n";
  char line[64];
  for (int i = 0; i <= 5000; ++i) {
    const double angle = 20 + 0.02 * i;
    std::snprintf(line, sizeof line, "%.2f %.3f\n", angle,
                  100 + 400 * std::exp(-std::pow((angle - 50) / 0.8, 2)));
    text += line;
  }
  return text;
}

TEST(EndToEndTest, DefaultTranscript) {
  WorkDir dir;
  dir.Write("data.txt", SmoothPattern());
  const RunResult result = dir.Run("1\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, kPrompt);
  const std::string widths = R"(specific widths = \d+\.\d{6} \d+\.\d{6} \d+\.\d{6} \d+\.\d{6})";
  const std::vector<std::string> expected = {
      R"(\*\*\* Deconvolution of Kalpha1, Kalpha2 & Higher-Axial-Divergence \*\*\*)",
      R"(K_alpha_1 relative width = 0\.000000)",
      R"(fraction of K_alpha_2 intensity = 0\.500000)",
      R"(axial divergence angle = 2\.500000)",
      R"(Step 1: 16384 points, including 268 zeropadding)",
      widths,
      R"(\*\*\* Deconvolution of Lower-Axial-Divergence \*\*\*)",
      R"(axial divergence angle = 2\.500000)",
      R"(Step 2: \d+ points, including \d+ zeropadding)",
      widths,
      R"(\*\*\* Deconvolution of Sample-Transparency \*\*\*)",
      R"(penetration depth / gonio\.radius = 0\.000000)",
      R"(\.\.\.skipped\.\.\.)",
      R"(\*\*\* Deconvolution of Flat-Specimen \*\*\*)",
      R"(equatorial angle = 1\.000000)",
      R"(sample width / gonio\.radius = 0\.108108)",
      R"(critical diffraction angle = 18\.581321)",
      R"(Step 4: \d+ points, including \d+ zeropadding)",
      widths,
      R"(\*\*\* Deconvolution of Source X-ray & Receiving Slit Width \*\*\*)",
      R"(source X-ray relative width = 0\.000000)",
      R"(receiving slit relative width = 0\.000000)",
      R"(\.\.\.skipped\.\.\.)",
      R"( \.\.\. Finished\. )",
  };
  const std::vector<std::string> lines = Lines(result.err);
  ASSERT_EQ(lines.size(), expected.size()) << result.err;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_TRUE(std::regex_match(lines[i], std::regex(expected[i]))) << "line " << i + 1 << ": " << lines[i];
  }
  EXPECT_EQ(result.err.back(), '\n');
  const Columns columns = ParseResult(dir.Read("tarnix.txt"));
  EXPECT_EQ(columns.angle.size(), 5001u);
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"data.txt", "tarnix.txt"}));
}

TEST(EndToEndTest, EveryStageSkippedWritesThePatternAsRead) {
  WorkDir dir;
  dir.Write("instr.txt", "0\n0\n0\n0\n0\n0\n185\n0\n0\n0\n0\n");
  dir.Write("data.txt",
            "header line\r\n"
            "10.5 100\r\n"
            "11 -4 7.25\r\n"
            "0 5 5\r\n"
            "11.5 2.25 -1\n"
            "12.123456 1234567.891\n"
            "12.5 9 0");
  const RunResult result = dir.Run("1\n");
  EXPECT_EQ(result.status, 0);
  // 0 / 0 gives the critical angle no value; the C library prints it as nan or -nan.
  const std::string transcript = std::regex_replace(
      result.err, std::regex("critical diffraction angle = -nan"), "critical diffraction angle = nan");
  EXPECT_EQ(transcript,
            "*** Deconvolution of Kalpha1, Kalpha2 & Higher-Axial-Divergence ***\n"
            "K_alpha_1 relative width = 0.000000\n"
            "fraction of K_alpha_2 intensity = 0.000000\n"
            "axial divergence angle = 0.000000\n"
            "...skipped...\n"
            "*** Deconvolution of Lower-Axial-Divergence ***\n"
            "axial divergence angle = 0.000000\n"
            "...skipped...\n"
            "*** Deconvolution of Sample-Transparency ***\n"
            "penetration depth / gonio.radius = 0.000000\n"
            "...skipped...\n"
            "*** Deconvolution of Flat-Specimen ***\n"
            "equatorial angle = 0.000000\n"
            "sample width / gonio.radius = 0.000000\n"
            "critical diffraction angle = nan\n"
            "...skipped...\n"
            "*** Deconvolution of Source X-ray & Receiving Slit Width ***\n"
            "source X-ray relative width = 0.000000\n"
            "receiving slit relative width = 0.000000\n"
            "...skipped...\n"
            " ... Finished. \n");
  // sigma is sqrt|I| where the line has no third number; the third number is kept as it is.
  EXPECT_EQ(dir.Read("tarnix.txt"),
            "   10.5000   100.0000    10.0000\n"
            "   11.0000    -4.0000     7.2500\n"
            "   11.5000     2.2500    -1.0000\n"
            "   12.1235 1234567.8910  1111.1111\n"
            "   12.5000     9.0000     0.0000\n");
}

TEST(EndToEndTest, MissingDataFileIsFatalAndLeavesTheResultAlone) {
  WorkDir dir;
  const RunResult result = dir.Run("1\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, FatalReport("Could not open the source data file ?"));
  EXPECT_EQ(result.out, "");
  EXPECT_FALSE(dir.Exists("tarnix.txt"));

  dir.Write("tarnix.txt", "an earlier result\n");
  EXPECT_EQ(dir.Run("1\n").status, 1);
  EXPECT_EQ(dir.Read("tarnix.txt"), "an earlier result\n");
}

TEST(EndToEndTest, QuitLoop) {
  struct Case {
    const char* name;
    std::string input;
    int prompts;
  };
  const Case cases[] = {
      {"a lone 1", "1\n", 1},
      {"12 begins with 1", "12\n", 1},
      {"2, blank then 1, empty line, then 12", "2\n 1\n\n12\n", 4},
      {"end of input at once", "", 1},
      {"end of input after other lines", "2\nx\n", 3},
      {"a long line is tested in pieces of 255", std::string(255, 'x') + "1\n", 2},
  };
  WorkDir dir;
  dir.Write("instr.txt", "0\n0\n0\n0\n0\n0\n185\n0\n0\n0\n0\n");
  dir.Write("data.txt", "20 1\n21 2\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const RunResult result = dir.Run(c.input);
    EXPECT_EQ(result.status, 0);
    std::string expected;
    for (int i = 0; i < c.prompts; ++i) expected += kPrompt;
    EXPECT_EQ(result.out, expected);
  }
}

// The result replaces tarnix.txt only once it is completely written; every failure to write it is fatal
// and leaves an existing tarnix.txt as it was, with no temporary file behind.
TEST(EndToEndTest, FailuresToWriteTheResult) {
  struct Case {
    const char* name;
    std::function<void(const WorkDir&)> prepare;
    std::string shell_prefix;
    std::string message;
  };
  const Case cases[] = {
      {"temporary file cannot be opened",
       [](const WorkDir& d) { std::filesystem::create_directory(d.File("tarnix.txt.tmp")); }, "",
       "Could not open the destination data file"},
      {"disk full (file size limit, signal ignored)", [](const WorkDir&) {}, "trap '' XFSZ; ulimit -f 2;",
       "Could not write the destination data file completely (is the disk full?); tarnix.txt was not "
       "changed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir dir;
    dir.Write("instr.txt", "0\n0\n0\n0\n0\n0\n185\n0\n0\n0\n0\n");
    std::string data;
    for (int i = 0; i < 200; ++i) data += std::to_string(10 + 0.1 * i) + " 1000\n";  // 6.6 kB of result
    dir.Write("data.txt", data);
    dir.Write("tarnix.txt", "an earlier result\n");
    c.prepare(dir);
    const RunResult result = dir.Run("1\n", c.shell_prefix);
    EXPECT_EQ(result.status, 1);
    const std::vector<std::string> lines = Lines(result.err);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(result.err.substr(result.err.size() - FatalReport(c.message).size()), FatalReport(c.message));
    EXPECT_EQ(dir.Read("tarnix.txt"), "an earlier result\n");
    EXPECT_EQ(std::filesystem::is_regular_file(dir.File("tarnix.txt.tmp")), false);
  }
}

TEST(EndToEndTest, ResultThatCannotReplaceTheOldOneIsRemoved) {
  WorkDir dir;
  dir.Write("instr.txt", "0\n0\n0\n0\n0\n0\n185\n0\n0\n0\n0\n");
  dir.Write("data.txt", "20 1\n21 2\n");
  std::filesystem::create_directories(dir.File("tarnix.txt/inside"));  // a directory is in the way
  const RunResult result = dir.Run("1\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find(
                FatalReport("Could not replace the destination data file tarnix.txt; it was not changed")),
            std::string::npos);
  EXPECT_FALSE(dir.Exists("tarnix.txt.tmp"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("tarnix.txt/inside")));
}

}  // namespace
}  // namespace tarnix_test
