difference() { sphere(r=10, $fn=12); translate([2, 2, 2]) cube(10); }
