#pragma once
// The platform's state and the workbook layer's own as a fresh process has them. Besides the
// event handlers of open workbooks, which live and die with their workbooks, the layer keeps
// only what the last whole recalculation read.
void resetWorkbookState();
