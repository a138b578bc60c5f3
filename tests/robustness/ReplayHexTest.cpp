// The fuzz target for hexToDottedQuad, run over its saved inputs.
#define LLVMFuzzerTestOneInput replayHex
#include "../../fuzz/fuzz_hex.cpp"
#undef LLVMFuzzerTestOneInput

#include "robustness/FuzzReplay.h"

KESTAL_REPLAY_TEST(fuzz_hex, replayHex)
