#pragma once
// PONTAVIA_CON_SANITIZADOR is defined when AddressSanitizer builds the program: it brings its
// own allocator, which the memory set-ups for large schools must leave alone.
#if defined(__SANITIZE_ADDRESS__)
#define PONTAVIA_CON_SANITIZADOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PONTAVIA_CON_SANITIZADOR 1
#endif
#endif
