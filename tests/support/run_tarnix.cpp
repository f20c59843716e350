#include "support/run_tarnix.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tarnix_test {
namespace fs = std::filesystem;

WorkDir::WorkDir() {
  std::string pattern = (fs::temp_directory_path() / "tarnix-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  run_ = root_ + "/run";
  fs::create_directory(run_);
}

WorkDir::~WorkDir() {
  std::error_code ignored;
  fs::permissions(run_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(root_, ignored);
}

void WorkDir::Write(const std::string& name, const std::string& content) const {
  std::ofstream file(File(name), std::ios::binary);
  file << content;
  if (!file) throw std::runtime_error("cannot write " + File(name));
}

static std::string Slurp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string WorkDir::Read(const std::string& name) const { return Slurp(File(name)); }

bool WorkDir::Exists(const std::string& name) const { return fs::exists(fs::symlink_status(File(name))); }

std::vector<std::string> WorkDir::List() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(run_)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

RunResult WorkDir::Run(const std::string& input, const std::string& shell_prefix) const {
  {
    std::ofstream stdin_file(root_ + "/stdin", std::ios::binary);
    stdin_file << input;
  }
  const std::string command = "cd '" + run_ + "' && " + shell_prefix + " '" TARNIX_EXECUTABLE "' <'" + root_ +
                              "/stdin' >'" + root_ + "/stdout' 2>'" + root_ + "/stderr'";
  const int raw = std::system(command.c_str());
  RunResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = Slurp(root_ + "/stdout");
  result.err = Slurp(root_ + "/stderr");
  return result;
}

std::string DataLines(const std::vector<double>& angle, const std::vector<double>& intensity) {
  std::string text;
  char line[128];
  for (std::size_t i = 0; i < angle.size(); ++i) {
    std::snprintf(line, sizeof line, "%.17g %.17g\n", angle[i], intensity[i]);
    text += line;
  }
  return text;
}

Columns ParseResult(const std::string& text) {
  Columns columns;
  std::istringstream lines(text);
  double a, y, s;
  while (lines >> a >> y >> s) {
    columns.angle.push_back(a);
    columns.intensity.push_back(y);
    columns.sigma.push_back(s);
  }
  return columns;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

std::string FatalReport(const std::string& message) {
  return "Tarnix run-time error...\n" + message + "\n...now exiting to system...\n";
}

}  // namespace tarnix_test
