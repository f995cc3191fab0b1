// Keeps qv_workbook a valid library while it has no sources of its own yet.
