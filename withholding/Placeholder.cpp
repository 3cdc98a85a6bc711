// The year-end program's logic is added here.
