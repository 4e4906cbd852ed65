// The About box logo: the program's name in glossy red letters on deep blue.
// Rendered at 147 x 57 by `make about-picture`.
#version 3.7;

#include "colors.inc"

global_settings { assumed_gamma 1.0 }

camera {
    orthographic
    location <0, 0, -10>
    look_at <0, 0, 0>
    right x * 4.9
    up y * 1.9
}

light_source { <-3, 4, -10> color rgb 1.15 }
light_source { <7, -3, -10> color rgb <0.30, 0.36, 0.52> shadowless }

// A backdrop close behind the letters, so they cast a soft shadow on it.
plane {
    z, 0.31
    pigment {
        gradient y
        color_map { [0 color rgb <0.02, 0.05, 0.22>] [1 color rgb <0.20, 0.34, 0.68>] }
        scale 1.9
        translate -y * 0.95
    }
    finish { ambient 0.55 diffuse 0.5 }
}

// The name, centred and as wide as the logo allows.
#declare Name = text { ttf "cyrvetic.ttf" "Polydrom" 0.3, 0 }
#declare Low = min_extent(Name);
#declare High = max_extent(Name);
object {
    Name
    translate -(Low + High) / 2
    scale 4.3 / (High.x - Low.x)
    texture {
        pigment {
            gradient y
            color_map { [0 color rgb <0.55, 0.01, 0.01>] [0.6 color rgb <0.92, 0.08, 0.04>] [1 color rgb <1.0, 0.45, 0.30>] }
            scale 0.75
            translate -y * 0.35
        }
        finish { ambient 0.15 diffuse 0.7 specular 0.7 roughness 0.01 }
    }
}
