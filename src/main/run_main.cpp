#include "main/run_main.h"

#include "datafiles/instrument_file.h"
#include "datafiles/pattern_files.h"
#include "deconvolution/run_context.h"
#include "numeric/fatal_error.h"

namespace tarnix {

void QuitLoop(std::FILE* answers, std::FILE* prompt_out) {
  char line[256];
  for (;;) {
    std::fputs(" Hit [1][Enter] to quit :", prompt_out);
    std::fflush(prompt_out);
    // Without this test an exhausted input would bring the prompt back for ever.
    if (std::fgets(line, sizeof line, answers) == nullptr) return;
    if (line[0] == '1') return;
  }
}

int RunMain(std::FILE* answers, std::FILE* prompt_out) {
  try {
    RunContext run;
    ReadInstrumentFile(run.instrument);
    ReadSourceData(run.pattern);
    run.RunStages();
    WriteDestinationData(run.pattern);
    FreePattern(run.pattern);
  } catch (const FatalErrorException& error) {
    std::fprintf(stderr, "Tarnix run-time error...\n");
    std::fprintf(stderr, "%s\n", error.what());
    std::fprintf(stderr, "...now exiting to system...\n");
    return 1;
  }
  std::fprintf(stderr, " ... Finished. \n");
  QuitLoop(answers, prompt_out);
  return 0;
}

}  // namespace tarnix
