// The fuzz target for the streamed walk, run over its saved inputs.
#define LLVMFuzzerTestOneInput replayStream
#include "../../fuzz/fuzz_stream.cpp"
#undef LLVMFuzzerTestOneInput

#include "robustness/FuzzReplay.h"

KESTAL_REPLAY_TEST(fuzz_stream, replayStream)
