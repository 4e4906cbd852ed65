// The About box picture: a red sphere resting on a wooden table, lit from the upper left.
// Rendered at 320 x 240 by `make about-picture`.
#version 3.7;

#include "colors.inc"

global_settings { assumed_gamma 1.0 max_trace_level 6 }

camera {
    location <0.45, 1.55, -4.9>
    look_at <0.15, 0.45, 0>
    angle 40
    right x * image_width / image_height
}

// Warm key light with a soft shadow, and a cool fill from the right.
light_source {
    <-4.5, 6.5, -4.0>
    color rgb <1.0, 0.95, 0.86> * 1.25
    area_light <1.6, 0, 0>, <0, 0, 1.6>, 6, 6
    adaptive 1
    jitter
    circular
    orient
}
light_source { <5.0, 2.5, -3.5> color rgb <0.30, 0.36, 0.46> shadowless }

// A dim room behind the table.
background { color rgb <0.05, 0.045, 0.04> }
plane {
    z, 8
    pigment { gradient y color_map { [0 color rgb <0.26, 0.22, 0.19>] [1 color rgb <0.07, 0.065, 0.06>] } scale 4 }
    finish { diffuse 0.55 }
}

// The table top, its front edge in view, grain running away from the viewer.
#declare TableWood = texture {
    pigment {
        wood
        turbulence 0.06
        color_map {
            [0.0 color rgb <0.50, 0.27, 0.11>]
            [0.5 color rgb <0.40, 0.20, 0.08>]
            [0.8 color rgb <0.56, 0.31, 0.13>]
            [1.0 color rgb <0.36, 0.17, 0.06>]
        }
        scale <0.12, 0.12, 2.5>
        rotate <2, 3, 0>
        translate <0.3, 0, 0>
    }
    finish { specular 0.3 roughness 0.015 reflection { 0.03 0.12 } diffuse 0.8 }
}
box { <-5, -0.16, -1.9>, <5, 0, 6> texture { TableWood } }
// The floor far below the table's edge.
plane { y, -3 pigment { color rgb <0.08, 0.07, 0.06> } }

// The sphere, glossy red.
sphere {
    <0, 0.62, 0>, 0.62
    texture {
        pigment { color rgb <0.75, 0.02, 0.015> }
        finish { diffuse 0.75 specular 0.6 roughness 0.004 reflection { 0.05 0.18 } }
    }
}
