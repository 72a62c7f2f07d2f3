// Scalar types and linkage macros shared by every Core Graphics header.
#pragma once

#include <cfloat>
#include <cstddef>
#include <cstdint>

// The geometry and colour component type: double precision, as on a 64-bit
// device.
typedef double CGFloat;
#define CGFLOAT_IS_DOUBLE 1
#define CGFLOAT_MIN DBL_MIN
#define CGFLOAT_MAX DBL_MAX

#ifdef __cplusplus
#define CG_EXTERN_C_BEGIN extern "C" {
#define CG_EXTERN_C_END }
#else
#define CG_EXTERN_C_BEGIN
#define CG_EXTERN_C_END
#endif

#define CG_EXTERN __attribute__((visibility("default")))
