// The POV-Ray command line, the reading of its output, and the blocking run of batch mode.
#include "app/povray_runner.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "framework/child_process.h"

namespace {
// What is kept of POV-Ray's output: its error, and the lines before it.
constexpr std::size_t kKeptOutput = 256 * 1024;
}  // namespace

std::vector<std::string> PovRayArguments(const std::string& scene, const std::string& picture, int width, int height,
                                         bool antialias)
{
    std::vector<std::string> args = {
        "-D",                   // no display window
        "-P",                   // no pause when done
        "+V",                   // progress lines, read for the progress indication
        "-C",                   // never continue an old render
        "+Q9",                  // full quality: textures and lights
        "+F",                   // write the picture ...
        "+FN8",                 // ... as an 8-bit PNG ...
        "-UA",                  // ... without alpha, the background opaque
        "File_Gamma=sRGB",      // and encoded as screens show it
        "+W" + std::to_string(width),
        "+H" + std::to_string(height),
    };
    if (antialias) {
        args.insert(args.end(), {"+A0.3", "+AM2", "+R2"});
    } else {
        args.push_back("-A");
    }
    args.push_back("+I" + scene);
    args.push_back("+O" + picture);
    return args;
}

std::string PovRayMissingReason(const std::string& program, const std::string& why)
{
    return "Cannot run POV-Ray (" + program + "): " + why +
           ". Install POV-Ray 3.7 (the Debian package povray) to see the rendered model.";
}

namespace {

std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find_first_of("\r\n");
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace

std::string PovRayFailureReason(std::string_view output, int exitStatus)
{
    const std::vector<std::string_view> lines = Lines(output);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        // "Possible Parse Error" is a guess POV-Ray makes before the real error line.
        if (line.find("Error") == std::string_view::npos || line.starts_with("Possible")) continue;
        std::string reason(line);
        // A long message goes on in lines that start with one blank.
        for (std::size_t k = i + 1; k < lines.size() && lines[k].size() > 1 && lines[k][0] == ' ' && lines[k][1] != ' ';
             ++k)
            reason += lines[k];
        return "POV-Ray failed: " + reason;
    }
    std::string last;
    for (std::string_view line : lines)
        if (const auto text = line.find_first_not_of(' '); text != std::string_view::npos) last = line.substr(text);
    return "POV-Ray failed (exit status " + std::to_string(exitStatus) + ")" + (last.empty() ? "" : ": " + last);
}

bool PovRayStartTimedOut(std::string_view output)
{
    return output.find("Timed out waiting for worker thread startup") != std::string_view::npos;
}

int PovRayProgress(std::string_view output)
{
    // "Rendered 2048 of 120000 pixels (1%)"
    const auto close = output.rfind("%)");
    if (close == std::string_view::npos) return -1;
    auto open = output.rfind('(', close);
    if (open == std::string_view::npos || close - open < 2 || close - open > 4) return -1;
    int percent = 0;
    for (auto k = open + 1; k < close; ++k) {
        if (output[k] < '0' || output[k] > '9') return -1;
        percent = percent * 10 + (output[k] - '0');
    }
    return percent;
}

bool PovRayPictureFinished(std::string_view output)
{
    return output.find("Render Statistics") != std::string_view::npos;
}

PovRayPicture RunPovRay(const std::string& sceneText, int width, int height, bool antialias,
                        std::chrono::milliseconds timeLimit, const std::string& program)
{
    namespace fs = std::filesystem;
    PovRayPicture picture;
    auto fail = [&](std::string reason) {
        static_cast<Result&>(picture) = Result::Failure(std::move(reason));
        return picture;
    };
    std::error_code ec;
    std::string pattern = (fs::temp_directory_path(ec) / "polydrom-render-XXXXXX").string();
    if (ec || ::mkdtemp(pattern.data()) == nullptr)
        return fail("Cannot make a temporary folder for POV-Ray: " + std::string(std::strerror(errno)));
    const fs::path folder = pattern;
    // The folder goes whatever happens below.
    struct Remover {
        fs::path path;
        ~Remover()
        {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    } remover{folder};

    {
        std::ofstream scene(folder / "scene.pov", std::ios::binary);
        scene << sceneText;
        if (!scene.flush()) return fail("Cannot write the scene for POV-Ray in " + folder.string());
    }
    ChildCommand command{program, PovRayArguments("scene.pov", "picture.png", width, height, antialias),
                         folder.string()};
    // Its progress lines go on for as long as it renders; the end holds the error.
    std::string output;
    ChildWatch watch;
    watch.timeLimit = timeLimit;
    watch.output = [&output](std::string_view bytes) {
        output += bytes;
        if (output.size() > kKeptOutput) output.erase(0, output.size() - kKeptOutput / 2);
        return true;
    };
    ChildEnd end = RunProgram(command, watch);
    if (end.how == ChildEnd::How::Exited && end.code != 0 && PovRayStartTimedOut(output)) {
        output.clear();
        end = RunProgram(command, watch);
    }
    switch (end.how) {
    case ChildEnd::How::NotStarted: return fail(PovRayMissingReason(program, std::strerror(end.code)));
    case ChildEnd::How::TimedOut: return fail(PovRayTimeoutReason(timeLimit));
    case ChildEnd::How::Signalled:
    case ChildEnd::How::Cancelled: return fail("POV-Ray was " + end.Describe());
    case ChildEnd::How::Exited: break;
    }
    if (end.code != 0) return fail(PovRayFailureReason(output, end.code));
    std::string error;
    if (!ReadPng((folder / "picture.png").string(), &picture.image, &error))
        return fail(PovRayFailureReason(output, end.code) + " (" + error + ")");
    return picture;
}

std::string PovRayTimeoutReason(std::chrono::milliseconds limit)
{
    return "POV-Ray did not finish within " + DescribeSeconds(limit) + " and was stopped";
}
