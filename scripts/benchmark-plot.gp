# Scan time of the Internet Explorer category against the number of cache documents:
# the program, the floor (one listing per folder plus the lock test's open) and the
# literal call sequence (a fresh search per file for the existence test and the size).
# gnuplot -e "data='scaling.tsv'; png='out.png'" benchmark-plot.gp
set terminal pngcairo size 800,500 font "DejaVu Sans,10"
set output png
set title "Internet Explorer scan under Wine: time against cache size"
set xlabel "cache documents (16 folders)"
set ylabel "scan time (s)"
set key top left
set grid
set format x "%.0f"
plot data using 1:($4/1000) with linespoints lw 2 pt 7 title "literal sequence (search per file)", \
     data using 1:($2/1000) with linespoints lw 2 pt 5 title "program", \
     data using 1:($3/1000) with linespoints lw 2 pt 9 title "floor (listing + lock-test open)"
