// The fuzz target for the pppd reader, run over its saved inputs.
#define LLVMFuzzerTestOneInput replayPppd
#include "../../fuzz/fuzz_pppd.cpp"
#undef LLVMFuzzerTestOneInput

#include "robustness/FuzzReplay.h"

KESTAL_REPLAY_TEST(fuzz_pppd, replayPppd)
