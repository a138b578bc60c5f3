// The fuzz target for the printer layout and table printout, run over its saved inputs.
#define LLVMFuzzerTestOneInput replayPrint
#include "../../fuzz/fuzz_print.cpp"
#undef LLVMFuzzerTestOneInput

#include "robustness/FuzzReplay.h"

KESTAL_REPLAY_TEST(fuzz_print, replayPrint)
