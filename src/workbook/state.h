#pragma once
// The platform's state and the workbook layer's own as a fresh process has them. The workbook
// layer keeps nothing of its own between calls beyond the event handlers of open workbooks,
// which live and die with their workbooks.
void resetWorkbookState();
