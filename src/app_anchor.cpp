// Keeps qv_app a valid library while it has no forms of its own yet.
