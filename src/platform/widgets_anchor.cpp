// Keeps qv_platform_ui a valid library while it has no widgets of its own yet.
