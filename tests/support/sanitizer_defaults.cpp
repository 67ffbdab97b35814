// Sanitizer settings built into every test program, so that they hold however the test is run.
//
// The out-of-memory tests ask for impossible blocks, which the sanitizer must answer with
// nullptr as malloc does. System libraries' own caches (tests/lsan.supp) are not reported
// as leaks; ours always are.

extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1:detect_leaks=1"; }

extern "C" const char* __lsan_default_options() { return "suppressions=" QUORVEL_LSAN_SUPPRESSIONS; }
