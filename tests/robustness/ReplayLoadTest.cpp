// The fuzz target for the whole load through a real file, run over its saved
// inputs.
#define LLVMFuzzerTestOneInput replayLoad
#include "../../fuzz/fuzz_load.cpp"
#undef LLVMFuzzerTestOneInput

#include "robustness/FuzzReplay.h"

KESTAL_REPLAY_TEST(fuzz_load, replayLoad)
