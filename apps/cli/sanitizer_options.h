#pragma once
// Include in exactly one source file of a program that reads images. OpenImageIO's PNG
// reader loses its error text when libpng jumps out of a damaged file: a leak inside the
// library that the sanitizer build is told to ignore, unwinding fully so that it can
// recognise it. Ordinary builds never call these.

extern "C" const char* __lsan_default_suppressions() { return "leak:PNGInput::PngReadCallback\n"; }
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }
