#pragma once

// C entry points of the small outside libraries. The stand-ins in
// components/ export exactly these; the programs look them up by name.
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// "TmRegTab": shows the examination request of key; > 0 when shown.
typedef int (*EXPShowRegTableFunction)(intptr_t window, const char* requestKey);
// "TmBCode": writes a bar-code picture of value to outputPath; > 0 on success.
typedef int (*EXPCreateBarCodeFunction)(int value, const char* outputPath);
// "TmTrigger": > 0 when the action `function` is allowed for the request key.
typedef int (*EXPHaveFunctionFunction)(const char* requestKey, int function);
// "TmGate": login and logout; logout's result answers whether the program may
// close (0 keeps it open).
typedef int (*EXPLoginFunction)(intptr_t window, const char* userName, int reserved);
typedef int (*EXPLogoutFunction)(intptr_t window, const char* userName, int reserved);

#ifdef __cplusplus
}
#endif
