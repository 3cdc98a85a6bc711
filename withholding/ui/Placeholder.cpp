// The year-end program's dialogs are added here.
