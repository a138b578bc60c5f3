// The fuzz target for the whole load through a real file, run over its saved
// inputs. The test framework comes first: the target's scripted platform
// lives in kestal::testing, which its "using namespace kestal" would
// otherwise set against the framework's own testing namespace.
#include "robustness/FuzzReplay.h"

#define LLVMFuzzerTestOneInput replayLoad
#include "../../fuzz/fuzz_load.cpp"
#undef LLVMFuzzerTestOneInput

KESTAL_REPLAY_TEST(fuzz_load, replayLoad)
