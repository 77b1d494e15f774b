#pragma once
// ORVEN_ADDRESS_SANITIZER is 1 in a build with AddressSanitizer, which
// reserves terabytes of address space for its shadow: a bound on a process's
// address space cannot be set there.

#if defined(__SANITIZE_ADDRESS__)
#define ORVEN_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVEN_ADDRESS_SANITIZER 1
#endif
#endif
#ifndef ORVEN_ADDRESS_SANITIZER
#define ORVEN_ADDRESS_SANITIZER 0
#endif
