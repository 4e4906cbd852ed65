// Made into sphere_cut.stl, a closed mesh of another program for the round-trip cases:
//   openscad --export-format binstl -o sphere_cut.stl sphere_cut.scad
difference() { sphere(r=10, $fn=12); translate([2, 2, 2]) cube(10); }
