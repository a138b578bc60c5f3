// The fuzz target for the three export layouts, run over its saved inputs.
#define LLVMFuzzerTestOneInput replayExport
#include "../../fuzz/fuzz_export.cpp"
#undef LLVMFuzzerTestOneInput

#include "robustness/FuzzReplay.h"

KESTAL_REPLAY_TEST(fuzz_export, replayExport)
