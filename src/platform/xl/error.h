#pragma once
// The run-time error the spreadsheet layer raises, with the numbers the program's error traps
// expect: 1004 (application-defined), 9 (subscript out of range), 13 (type mismatch).
#include "platform/os/vb_error.h"

namespace xl {

struct Error : VbError {
    using VbError::VbError;
};

}  // namespace xl
