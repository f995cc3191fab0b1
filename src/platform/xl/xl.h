#pragma once
// The spreadsheet layer in one include: Application, Workbook, Worksheet, Range, palette, values.
#include "address.h"
#include "application.h"
#include "error.h"
#include "palette.h"
#include "render.h"
#include "range.h"
#include "values.h"
#include "workbook.h"
#include "worksheet.h"
