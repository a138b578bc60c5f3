// The fuzz target for the marker line, run over its saved inputs.
#define LLVMFuzzerTestOneInput replayMarker
#include "../../fuzz/fuzz_marker.cpp"
#undef LLVMFuzzerTestOneInput

#include "robustness/FuzzReplay.h"

KESTAL_REPLAY_TEST(fuzz_marker, replayMarker)
