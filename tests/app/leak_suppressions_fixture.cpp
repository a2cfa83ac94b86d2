// Leaks inside libraries that the tests cannot free, for the leak checker of
// the sanitizer build. fontconfig's configuration parser keeps some strings
// for good when a configuration file it includes is missing, as in a test's
// scratch home folder; its frames carry no names, so the library is named.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
