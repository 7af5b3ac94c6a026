# The program's calls without their times, runs of 1 ms sleeps (the wait's
# polling) shown once.
{ $1 = ""; sub(/^ /, "") }
$0 == "Sleep(1)" { if (polling) next; polling = 1; print "Sleep(1)..."; next }
{ polling = 0; print }
