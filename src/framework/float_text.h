// Float to text: the one formatter for coordinates that must read back exactly.
#pragma once

#include <string>

// Shortest text that reads back as the same float ("0.1", "1e+10", "-0"): the
// coordinate text of the mesh2 and OBJ files and of batch mode's dump.
void AppendShortestFloat(std::string& out, float value);
std::string ShortestFloat(float value);
