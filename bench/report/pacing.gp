# The pacing figures: how much longer than its nominal pauses a scan took
# (median, with bars from the fastest to the slowest run), and that
# overhead per byte. Called with -e "data='...'; titles='...'; out='...'".
set terminal pngcairo size 1200,500 noenhanced font ",10"
set output out
set multiplot layout 1,2 title "sendText under Wine: median of the runs, bars from min to max"
set logscale x
set xlabel "bytes per scan"
set key top left
set grid

set ylabel "wall time beyond 200 ms + 50 ms/byte + 100 ms/Tab (ms)"
plot for [i=0:words(titles)-1] data index i using 1:($4-$2):($3-$2):($5-$2) with yerrorlines title word(titles, i+1)

set ylabel "overhead beyond the pauses per byte (ms)"
set key top right
plot for [i=0:words(titles)-1] data index i using 1:6 with linespoints title word(titles, i+1), \
     0.5 with lines dashtype 2 linecolor rgb "red" title "0.5 ms"
unset multiplot
