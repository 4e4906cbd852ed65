// Running the real POV-Ray on a scene: the command line both the batch render and the
// desktop's preview panel use, how its failures read, and a blocking run for batch mode.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "framework/png_image.h"
#include "framework/result.h"

// The program looked up on PATH.
inline constexpr const char* kPovRayProgram = "povray";

// The arguments (without the program) that render scene.pov into picture.png, both names
// relative to the working folder, which must be the scene's folder: POV-Ray reads and
// writes only where its I/O restrictions let it, and its own folder always is allowed.
// Every setting that matters is given, so a user's povray.ini cannot change the picture.
std::vector<std::string> PovRayArguments(const std::string& scene, const std::string& picture, int width, int height,
                                         bool antialias);

// The reason shown when the program cannot be started at all.
std::string PovRayMissingReason(const std::string& program, const std::string& why);

// The reason of a failed render, from what POV-Ray printed and its exit status: its own
// error line ("Parse Error: ...") when there is one.
std::string PovRayFailureReason(std::string_view output, int exitStatus);
// POV-Ray gave up before rendering because its render threads were slow to start, as
// happens on a busy machine: worth one more try.
bool PovRayStartTimedOut(std::string_view output);

// The completion percentage of the last "Rendered N of M pixels (P%)" in the output, or -1.
int PovRayProgress(std::string_view output);

// True once the output says the picture is finished (its statistics follow the image
// being written); POV-Ray takes a while longer to end after that.
bool PovRayPictureFinished(std::string_view output);

struct PovRayPicture : Result {
    RasterImage image;
};

// How long a render may take unless told otherwise: a model of a few thousand edges
// renders in seconds, while one with hundreds of thousands of triangles would go on for
// hours.
inline constexpr std::chrono::milliseconds kPovRayTimeLimit{120000};

// The reason given for a render stopped at its time limit.
std::string PovRayTimeoutReason(std::chrono::milliseconds limit);

// Renders the scene text with `program` in a private temporary folder, which is removed
// afterwards, and returns the picture; the caller waits until POV-Ray has ended, or has
// been stopped at the time limit.
PovRayPicture RunPovRay(const std::string& sceneText, int width, int height, bool antialias,
                        std::chrono::milliseconds timeLimit = kPovRayTimeLimit,
                        const std::string& program = kPovRayProgram);
