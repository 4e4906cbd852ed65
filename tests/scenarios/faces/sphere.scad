// Made into sphere.stl, a closed mesh of another program for the round-trip cases:
//   openscad --export-format binstl -o sphere.stl sphere.scad
sphere(r=10, $fn=20);
