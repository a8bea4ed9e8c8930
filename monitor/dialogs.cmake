# The Options and Database Maintenance dialogs.
