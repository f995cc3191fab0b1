#pragma once
// The ruled lines of the roster grid, drawn again after the grid was cleared or rewritten.
#include "platform/xl/xl.h"

// Outline and inside lines of range in light grey (theme colour 1 darkened by a quarter); the
// sheet is unprotected while drawing and protected again. 0 when drawn so; -1 when the workbook
// refused a step and 罫線設定_旧 drew the grid instead.
long 罫線設定(const xl::Range& range);
// The same grid in palette grey 15 with the diagonals removed. 0 on success, -1 when a step
// failed (the sheet is protected again in either case).
long 罫線設定_旧(const xl::Range& range);
