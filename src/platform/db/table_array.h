#pragma once
// A two-dimensional array of values with both lower bounds 0, as a whole table travels between
// the database and the program: rows 1..n hold the records, (0, 0) the row count.
#include "platform/text/vb_array.h"

#include <QVariant>

namespace db {

using TableArray = vb::TwoDimArray<QVariant>;

}  // namespace db
