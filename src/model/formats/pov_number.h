// Number and corner text of the POV-Ray scene file: five significant digits, G style.
#pragma once

#include <string>

// Appends value as the scene file writes a coordinate: "0.0" for either zero, fixed
// notation for decimal exponents -1..4 ("0.33333", "1.", "12345"), otherwise
// "d.dddde+XXX" ("1.2346e+005", "5.e-002"). The float is rounded to five significant
// digits half away from zero on its exact decimal value; trailing zeros after the
// point are dropped but the point stays. Infinities and NaN come out as "inf" and
// "nan", which no reader accepts: callers keep them out of a file.
void AppendPovNumber(std::string& out, float value);
std::string PovNumber(float value);

// One triangle corner: " <x,y,z> ".
void WritePovVector(float x, float y, float z, std::string& out);
