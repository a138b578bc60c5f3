// The fuzz target for reading bytes into lines, run over its saved inputs.
#define LLVMFuzzerTestOneInput replayLines
#include "../../fuzz/fuzz_lines.cpp"
#undef LLVMFuzzerTestOneInput

#include "robustness/FuzzReplay.h"

KESTAL_REPLAY_TEST(fuzz_lines, replayLines)
