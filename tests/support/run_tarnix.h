// Runs the real tarnix executable in a fresh temporary directory and captures what it does.
#ifndef TARNIX_TESTS_SUPPORT_RUN_TARNIX_H_
#define TARNIX_TESTS_SUPPORT_RUN_TARNIX_H_

#include <string>
#include <vector>

namespace tarnix_test {

struct RunResult {
  int status = -1;  // exit status of tarnix
  std::string out;  // standard output (the quit prompts)
  std::string err;  // standard error (the transcript)
};

// A temporary working directory, removed with everything in it when the object goes.
class WorkDir {
 public:
  WorkDir();
  ~WorkDir();
  WorkDir(const WorkDir&) = delete;
  WorkDir& operator=(const WorkDir&) = delete;

  const std::string& path() const { return run_; }
  std::string File(const std::string& name) const { return run_ + "/" + name; }
  void Write(const std::string& name, const std::string& content) const;
  std::string Read(const std::string& name) const;
  bool Exists(const std::string& name) const;
  // The names in the working directory, sorted.
  std::vector<std::string> List() const;

  // Runs tarnix here with `input` on its standard input. `shell_prefix` is put before the command
  // inside the shell (for example "ulimit -f 4;").
  RunResult Run(const std::string& input = "1\n", const std::string& shell_prefix = "") const;

 private:
  std::string root_;  // holds the captured streams beside the working directory
  std::string run_;
};

// A data.txt body of "angle intensity" lines.
std::string DataLines(const std::vector<double>& angle, const std::vector<double>& intensity);

// Reads the three columns of a tarnix.txt body.
struct Columns {
  std::vector<double> angle, intensity, sigma;
};
Columns ParseResult(const std::string& text);

// The lines of a text, without their line ends.
std::vector<std::string> Lines(const std::string& text);

// The three lines that every fatal error writes.
std::string FatalReport(const std::string& message);

}  // namespace tarnix_test

#endif  // TARNIX_TESTS_SUPPORT_RUN_TARNIX_H_
