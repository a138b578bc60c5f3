// The fuzz target for the call scan, run over its saved inputs.
#define LLVMFuzzerTestOneInput replayScan
#include "../../fuzz/fuzz_scan.cpp"
#undef LLVMFuzzerTestOneInput

#include "robustness/FuzzReplay.h"

KESTAL_REPLAY_TEST(fuzz_scan, replayScan)
