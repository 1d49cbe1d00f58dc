#pragma once
#include "quorvex.h"

class CLCCsvConvDataCRS;

// The facade behind a C handle, for the parts of the C interface in other
// files; null for a NULL handle.
CLCCsvConvDataCRS* QuorvexFacadeOf(quorvex_converter* converter) noexcept;
