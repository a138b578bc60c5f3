// The fuzz target for gathering call details, run over its saved inputs.
#define LLVMFuzzerTestOneInput replayDetails
#include "../../fuzz/fuzz_details.cpp"
#undef LLVMFuzzerTestOneInput

#include "robustness/FuzzReplay.h"

KESTAL_REPLAY_TEST(fuzz_details, replayDetails)
